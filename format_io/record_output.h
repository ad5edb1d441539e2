// The bytes of a file made record by record, buffered and handed to a
// ByteSink in large pieces: a few large writes instead of one per line.
//
// A writer begins each record, appends its text to bytes() and ends it. The
// first fault stops the output for good: a refused record (its bytes are
// dropped), a sink that fails to store a piece, or a file finished before
// its last record. The sink then has every record before the fault, whole,
// and nothing of that record or after it; Finish reports the fault.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "format_io/byte_sink.h"
#include "format_io/write_result.h"

namespace zu::fio {

class RecordOutput {
 public:
  // The buffer goes to the sink once a record ends with this much in it.
  static constexpr std::size_t kFlushSize = 64 * 1024;

  // The sink must outlive the output.
  explicit RecordOutput(ByteSink& sink);
  RecordOutput(const RecordOutput&) = delete;
  RecordOutput& operator=(const RecordOutput&) = delete;

  // Starts a record. False when the output has stopped, or when it stops
  // here: after Finish, or when the record is not `allowed` (`refusal` then
  // says why).
  bool Begin(bool allowed, const std::string& refusal);
  // Ends a record: a full buffer goes to the sink.
  void End();
  // Stops the output, drops what the current record appended and keeps
  // `message` as the error; false, for the caller to return.
  bool Refuse(std::string message);

  // Where a record ends the file: a file finished before that is
  // incomplete, "it expects `expected` next". Call before Finish.
  void Incomplete(std::string_view expected);
  // Hands what is buffered to the sink (after a refusal too: the whole
  // records before it); the outcome of the whole file. Records after it are
  // refused, and a later Finish reports that.
  WriteResult Finish();

  // Whether the output has stopped; error() then says why.
  bool failed() const { return failed_; }
  const std::string& error() const { return error_; }

  // The text not yet handed to the sink; the current record's at its end.
  // Appending after the output has stopped is harmless but pointless.
  std::string& bytes() { return buffer_; }

 private:
  void Flush();
  void Fail(std::string message);

  ByteSink& sink_;
  std::string buffer_;
  std::size_t mark_ = 0;    // where the current record starts in the buffer
  std::size_t stored_ = 0;  // bytes the sink has taken
  bool failed_ = false;
  bool sink_failed_ = false;
  bool finished_ = false;
  std::string error_;
};

}  // namespace zu::fio
