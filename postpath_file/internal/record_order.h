// The order of the post-path file's records and the ranges of their codes,
// in one place: the writer, the reader and the model builder each keep one
// RecordOrder and hand it every record before they take it, so that all
// three allow exactly the same streams (record_stream.h gives the order).
// Internal to postpath_file.
#pragma once

#include <string>
#include <string_view>

#include "postpath_file/records.h"

namespace zu::ppf_internal {

// What the stream may hold next.
enum class Next {
  Process,     // the process head
  PathOrEnd,   // a bracket or the end of the process
  BlockOrEnd,  // a block or the end of the open milling bracket
  HoleOrEnd,   // a hole or the end of the open drilling bracket
  Done,        // nothing: the process has ended
};

// What may come at `next`, as a message shows it.
std::string_view DescribeNext(Next next);

// Each function takes the record that comes next in the stream. When the
// record may come there, it advances and returns true; otherwise it returns
// false, keeps its place and error() says why.
class RecordOrder {
 public:
  Next next() const { return next_; }
  // Brackets begun so far; the open one is brackets() - 1.
  int brackets() const { return brackets_; }
  const std::string& error() const { return error_; }

  bool Process(const ppf::ProcessHead& head);
  bool MillPath(const ppf::PathHead& head);
  bool DrillPath(const ppf::PathHead& head);
  bool Hole();
  bool Block(const ppf::Block& block);
  bool EndPath();
  bool EndProcess();

 private:
  bool OutOfPlace(std::string_view record);
  bool Refuse(std::string message);

  Next next_ = Next::Process;
  int brackets_ = 0;
  std::string error_;
};

}  // namespace zu::ppf_internal
