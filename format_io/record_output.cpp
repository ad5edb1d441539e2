#include "format_io/record_output.h"

#include <utility>

namespace zu::fio {

RecordOutput::RecordOutput(ByteSink& sink) : sink_(sink) {
  buffer_.reserve(kFlushSize + 4096);
}

bool RecordOutput::Begin(bool allowed, const std::string& refusal) {
  if (failed_)
    return false;
  mark_ = buffer_.size();
  if (finished_)
    return Refuse("a record after Finish");
  if (!allowed)
    return Refuse(refusal);
  return true;
}

void RecordOutput::End() {
  if (!failed_ && buffer_.size() >= kFlushSize)
    Flush();
}

bool RecordOutput::Refuse(std::string message) {
  Fail(std::move(message));
  buffer_.resize(mark_);
  return false;
}

void RecordOutput::Incomplete(std::string_view expected) {
  if (failed_ || finished_)
    return;
  std::string message = "the file is incomplete: it expects ";
  message += expected;
  message += " next";
  Fail(std::move(message));
}

WriteResult RecordOutput::Finish() {
  finished_ = true;
  Flush();
  return {!failed_, error_};
}

// A sink failure stops the output; nothing more goes to the sink.
void RecordOutput::Flush() {
  if (buffer_.empty() || sink_failed_)
    return;
  if (sink_.Write(buffer_)) {
    stored_ += buffer_.size();
  } else {
    sink_failed_ = true;
    if (!failed_)
      Fail("the sink could not store the file's bytes after the first " + std::to_string(stored_));
  }
  buffer_.clear();
}

void RecordOutput::Fail(std::string message) {
  failed_ = true;
  error_ = std::move(message);
}

}  // namespace zu::fio
