#include "gcode/interpreter.h"

#include "gcode/internal/interpreter_state.h"

namespace zu::gcode {
namespace internal {

ProgramRead Interpreter::Run() {
  stack_.reserve(static_cast<std::size_t>(sys_.max_depth));
  while (!stop_) {
    const LinePosition at = source_.Position();
    std::string_view line;
    if (!source_.Next(line)) {
      line_ = {};
      line_number_ = at.number;
      if (source_.failed()) {
        Error("the input could not be read on");
        break;
      }
      if (stack_.empty())
        break;
      // Reported at the call: the file has no line here.
      line_number_ = stack_.back().call_line;
      line_copy_ = stack_.back().call_text;
      line_ = line_copy_;
      Error("subprogram " + stack_.back().key + " has no end (" + EndName() + ")");
      Return(true);
      continue;
    }
    ++result_.lines;
    line_ = line;
    line_number_ = at.number;
    const bool fresh = at.offset >= scanned_.offset;
    if (fresh)
      scanned_ = source_.Position();
    if (source_.cut()) {
      Error("the line is longer than " + std::to_string(kMaxLineLength) + " characters");
      continue;
    }
    HandleLine(fresh);
  }
  ClosePath(true);
  result_.paths = path_count_;
  return std::move(result_);
}

void Interpreter::Error(std::string message) {
  ++result_.error_count;
  if (result_.errors.size() < options_.max_errors) {
    std::string_view text = line_;
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
      text.remove_suffix(1);
    result_.errors.push_back({line_number_, std::string(text.substr(0, 200)), std::move(message)});
  }
}

void Interpreter::HandleLine(bool fresh) {
  const LineKind kind = internal::ClassifyLine(sys_, line_, key_);
  if (kind != LineKind::kBlock) {
    if (kind != LineKind::kTapeMark && fresh)
      Index(key_, source_.Position());
    if (!stack_.empty()) {
      // A subprogram ran into the next program.
      Error("subprogram " + stack_.back().key + " has no end (" + EndName() + ")");
      Return(true);
      return;
    }
    switch (kind) {
      case LineKind::kTapeMark:
        if (++tape_marks_ >= 2 || main_started_)
          stop_ = true;
        break;
      case LineKind::kSubprogramHeader:
        skipping_ = true;
        break;
      case LineKind::kMainHeader:
        if (main_started_) {
          stop_ = true;
        } else {
          main_started_ = true;
          main_key_ = key_;
          skipping_ = false;
        }
        break;
      case LineKind::kBlock:
        break;
    }
    return;
  }
  if (skipping_)
    return;
  bool deleted = false;
  std::string error = internal::ParseBlock(sys_, line_, block_, deleted);
  if (!error.empty()) {
    Error(std::move(error));
    return;
  }
  if (deleted || block_.Empty())
    return;
  main_started_ = true;
  Execute();
}

}  // namespace internal

ProgramRead ReadProgram(const NcSystem& system, LineSource& source, PathReceiver& receiver,
                        const ReadOptions& options) {
  internal::Interpreter interpreter(system, source, receiver, options);
  return interpreter.Run();
}

}  // namespace zu::gcode
