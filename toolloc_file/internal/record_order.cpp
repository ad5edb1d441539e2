#include "toolloc_file/internal/record_order.h"

#include <utility>

#include "format_io/out_of_place.h"

namespace zu::toolloc_internal {

std::string_view DescribeNext(Next next) {
  switch (next) {
    case Next::Head:
      return "\"[filehead]\"";
    case Next::ToolList:
      return "\"[toollist]\"";
    case Next::ToolOrEnd:
      return "a tool line or \"[endsect]\"";
    case Next::Machine:
      return "\"[machine]\"";
    case Next::CodeFile:
      return "\"[creategfile]\"";
    case Next::Jig:
      return "\"[jigcoordinate]\"";
    case Next::PathOrTail:
      return "\"[pathpara]\" or \"[filetail]\"";
    case Next::PlacementOrEnd:
      return "\"homepoint\" or \"[endsect]\"";
    case Next::PathKeys:
      return "\"pathtype\" or \"pointnumber\"";
    case Next::Holes:
      return "\"pointnumber\"";
    case Next::HoleOrEnd:
      return "\"endpoint\" or \"[endsect]\"";
    case Next::BlockPathOrTail:
      return "\"[block]\", \"[pathpara]\" or \"[filetail]\"";
    case Next::Done:
      return "nothing after \"[filetail]\"";
  }
  return "nothing";
}

bool RecordOrder::OutOfPlace(std::string_view record) {
  return Refuse(fio::OutOfPlaceMessage(record, DescribeNext(next_)));
}

bool RecordOrder::Refuse(std::string message) {
  error_ = std::move(message);
  return false;
}

bool RecordOrder::Head(const FileHead& head) {
  if (next_ != Next::Head)
    return OutOfPlace("the file head");
  if (head.path_number < 0 || head.tool_number < 0) {
    return Refuse("the head's path number " + std::to_string(head.path_number) +
                  " and tool number " + std::to_string(head.tool_number) + " must not be negative");
  }
  // Both count the picked objects: one tool line each, at most one path
  // record each.
  if (head.path_number != head.tool_number) {
    return Refuse("the head's path number " + std::to_string(head.path_number) +
                  " and tool number " + std::to_string(head.tool_number) + " differ");
  }
  head_ = head;
  next_ = Next::ToolList;
  return true;
}

bool RecordOrder::BeginToolList() {
  if (next_ != Next::ToolList)
    return OutOfPlace("the tool list");
  next_ = Next::ToolOrEnd;
  return true;
}

bool RecordOrder::Tool(const ToolEntry& tool) {
  if (next_ != Next::ToolOrEnd)
    return OutOfPlace("a tool");
  if (tools_ == head_.tool_number)
    return Refuse("a tool beyond the head's " + std::to_string(head_.tool_number) + " tools");
  if (tool.index != tools_) {
    return Refuse("tool index " + std::to_string(tool.index) + " where " + std::to_string(tools_) +
                  " comes next");
  }
  ++tools_;
  return true;
}

bool RecordOrder::EndSection() {
  switch (next_) {
    case Next::ToolOrEnd:
      if (tools_ != head_.tool_number) {
        return Refuse("the tool list ends after " + std::to_string(tools_) + " of the head's " +
                      std::to_string(head_.tool_number) + " tools");
      }
      next_ = Next::Machine;
      return true;
    case Next::HoleOrEnd:
      if (holes_left_ != 0) {
        return Refuse("the drilling record ends after " + std::to_string(holes_ - holes_left_) +
                      " of its " + std::to_string(holes_) + " holes");
      }
      next_ = Next::PathOrTail;
      return true;
    case Next::PlacementOrEnd:
      next_ = Next::PathOrTail;
      return true;
    default:
      return OutOfPlace("\"[endsect]\"");
  }
}

bool RecordOrder::Machine() {
  if (next_ != Next::Machine)
    return OutOfPlace("the machine section");
  next_ = Next::CodeFile;
  return true;
}

bool RecordOrder::CodeFile() {
  if (next_ != Next::CodeFile)
    return OutOfPlace("the code-file section");
  next_ = Next::Jig;
  return true;
}

bool RecordOrder::Jig() {
  if (next_ != Next::Jig)
    return OutOfPlace("the fixture section");
  next_ = Next::PathOrTail;
  return true;
}

bool RecordOrder::PathStart(const zu::PathStart& start) {
  if (next_ != Next::PathOrTail && next_ != Next::BlockPathOrTail)
    return OutOfPlace("a path record");
  if (paths_ == head_.path_number) {
    return Refuse("a path record beyond the head's path number " +
                  std::to_string(head_.path_number));
  }
  if (start.tool_index != paths_) {
    return Refuse("toolindex " + std::to_string(start.tool_index) + " where " +
                  std::to_string(paths_) + " comes next (the number of path records before it)");
  }
  ++paths_;
  path_type_ = 0;
  next_ = Next::PlacementOrEnd;
  return true;
}

bool RecordOrder::PathPlacement() {
  if (next_ != Next::PlacementOrEnd)
    return OutOfPlace("the placement of a path record");
  next_ = Next::PathKeys;
  return true;
}

bool RecordOrder::DrillKeys() {
  if (next_ != Next::PathKeys)
    return OutOfPlace("drill keys");
  next_ = Next::Holes;
  return true;
}

bool RecordOrder::Holes(int count) {
  if (next_ != Next::PathKeys && next_ != Next::Holes)
    return OutOfPlace("a hole count");
  if (count < 0)
    return Refuse("the hole count " + std::to_string(count) + " is negative");
  holes_ = count;
  holes_left_ = count;
  next_ = Next::HoleOrEnd;
  return true;
}

bool RecordOrder::Hole() {
  if (next_ != Next::HoleOrEnd)
    return OutOfPlace("a hole");
  if (holes_left_ == 0) {
    return Refuse("more holes than the " + std::to_string(holes_) +
                  " that \"pointnumber\" announces");
  }
  --holes_left_;
  return true;
}

bool RecordOrder::MillKeys(const zu::MillKeys& keys) {
  if (next_ != Next::PathKeys)
    return OutOfPlace("mill keys");
  if (keys.path_type != kPathTypeMill && keys.path_type != kPathTypeFiveAxis) {
    return Refuse("pathtype " + std::to_string(keys.path_type) +
                  " is neither 2 (milling) nor 5 (five-axis) in a mill record");
  }
  if (keys.path_type == kPathTypeFiveAxis && keys.dwell_text)
    return Refuse("\"paradwell\" in a five-axis record");
  path_type_ = keys.path_type;
  next_ = Next::BlockPathOrTail;
  return true;
}

bool RecordOrder::Block(const zu::Block& block) {
  if (next_ != Next::BlockPathOrTail)
    return OutOfPlace("a block");
  const auto in_range = [](int code, int low, int high) { return code >= low && code <= high; };
  switch (block.type) {
    case BlockType::Line:
      if (path_type_ == kPathTypeFiveAxis && !block.end_vector)
        return Refuse("a line block of a five-axis record without \"endpointvector\"");
      if (path_type_ != kPathTypeFiveAxis && block.end_vector)
        return Refuse("\"endpointvector\" in a line block of a pathtype 2 record");
      return true;
    case BlockType::Arc:
      return true;
    case BlockType::FeedType:
      if (!in_range(block.code, 1, 9))
        return Refuse("feedtype " + std::to_string(block.code) + " is outside 1 to 9");
      return true;
    case BlockType::Compensation:
      if (!in_range(block.code, 0, 2))
        return Refuse("toolcmpflag " + std::to_string(block.code) + " is none of 0, 1 and 2");
      return true;
    case BlockType::Dwell:
      if (!in_range(block.code, 0, 2))
        return Refuse("dwellflag " + std::to_string(block.code) + " is none of 0, 1 and 2");
      return true;
  }
  return Refuse("block type " + std::to_string(static_cast<int>(block.type)) +
                " is none of 1 to 5");
}

bool RecordOrder::Tail() {
  if (next_ != Next::PathOrTail && next_ != Next::BlockPathOrTail)
    return OutOfPlace("the file tail");
  next_ = Next::Done;
  return true;
}

}  // namespace zu::toolloc_internal
