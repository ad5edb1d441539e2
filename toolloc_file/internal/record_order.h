// The order and the counts of the text tool-location file's records, in one
// place: the writer, the reader and the model builder each keep one
// RecordOrder and hand it every record before they take it, so that all
// three allow exactly the same streams (record_stream.h gives the order).
// Internal to toolloc_file.
#pragma once

#include <string>
#include <string_view>

#include "toolloc_file/records.h"

namespace zu::toolloc_internal {

// What the file may hold next.
enum class Next {
  Head,             // "[filehead]"
  ToolList,         // "[toollist]"
  ToolOrEnd,        // a tool line or the tool list's "[endsect]"
  Machine,          // "[machine]"
  CodeFile,         // "[creategfile]"
  Jig,              // "[jigcoordinate]"
  PathOrTail,       // "[pathpara]" or "[filetail]"
  PlacementOrEnd,   // "homepoint" or "[endsect]" (a five-axis record without rows)
  PathKeys,         // "pathtype" or, for a drilling record without drill keys, "pointnumber"
  Holes,            // "pointnumber" after the drill keys
  HoleOrEnd,        // a hole's "endpoint" or the drilling record's "[endsect]"
  BlockPathOrTail,  // "[block]", "[pathpara]" or "[filetail]" after a mill record
  Done,             // nothing: "[filetail]" was the last line
};

// What the file holds at `next`, as a message shows it: "\"[toollist]\"".
std::string_view DescribeNext(Next next);

// Each function takes the record that comes next in the stream. When the
// record may come there, it advances and returns true; otherwise it returns
// false, keeps its place and error() says why.
class RecordOrder {
 public:
  Next next() const { return next_; }
  // The path type of the current mill record (for its blocks), else 0.
  int path_type() const { return path_type_; }
  // Path records begun so far; the current one is path_records() - 1.
  int path_records() const { return paths_; }
  // Tools taken so far.
  int tools() const { return tools_; }
  const std::string& error() const { return error_; }

  bool Head(const FileHead& head);
  bool BeginToolList();
  bool Tool(const ToolEntry& tool);
  bool EndSection();
  bool Machine();
  bool CodeFile();
  bool Jig();
  bool PathStart(const zu::PathStart& start);
  bool PathPlacement();
  bool DrillKeys();
  bool Holes(int count);
  bool Hole();
  bool MillKeys(const zu::MillKeys& keys);
  bool Block(const zu::Block& block);
  bool Tail();

 private:
  // Refuses `record` because the file expects something else here.
  bool OutOfPlace(std::string_view record);
  bool Refuse(std::string message);

  Next next_ = Next::Head;
  FileHead head_;
  int tools_ = 0;
  int paths_ = 0;
  int holes_left_ = 0;
  int holes_ = 0;
  int path_type_ = 0;
  std::string error_;
};

}  // namespace zu::toolloc_internal
