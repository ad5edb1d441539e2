#include "postpath_file/internal/record_order.h"

#include <utility>

#include "format_io/out_of_place.h"

namespace zu::ppf_internal {

std::string_view DescribeNext(Next next) {
  switch (next) {
    case Next::Process:
      return "the process head";
    case Next::PathOrEnd:
      return "a bracket or the end of the process";
    case Next::BlockOrEnd:
      return "a block or the end of the bracket";
    case Next::HoleOrEnd:
      return "a hole or the end of the bracket";
    case Next::Done:
      return "nothing after the end of the process";
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

bool RecordOrder::Process(const ppf::ProcessHead&) {
  if (next_ != Next::Process)
    return OutOfPlace("a process head");
  next_ = Next::PathOrEnd;
  return true;
}

bool RecordOrder::MillPath(const ppf::PathHead& head) {
  if (next_ != Next::PathOrEnd)
    return OutOfPlace("a bracket");
  if (head.type == ppf::kPathDrill)
    return Refuse("a drilling bracket (path type 1) with a milling record");
  if (head.type < ppf::kPathMill || head.type > ppf::kPathFiveAxis)
    return Refuse("path type " + std::to_string(head.type) + " is none of 1 to 4");
  ++brackets_;
  next_ = Next::BlockOrEnd;
  return true;
}

bool RecordOrder::DrillPath(const ppf::PathHead& head) {
  if (next_ != Next::PathOrEnd)
    return OutOfPlace("a bracket");
  if (head.type != ppf::kPathDrill) {
    return Refuse("a bracket of path type " + std::to_string(head.type) +
                  " with a drilling record (only path type 1 has one)");
  }
  ++brackets_;
  next_ = Next::HoleOrEnd;
  return true;
}

bool RecordOrder::Hole() {
  if (next_ != Next::HoleOrEnd)
    return OutOfPlace("a hole");
  return true;
}

bool RecordOrder::Block(const ppf::Block& block) {
  if (next_ != Next::BlockOrEnd)
    return OutOfPlace("a block");
  const auto outside = [](int code, int low, int high) { return code < low || code > high; };
  if (block.kind != ppf::kBlockLine && block.kind != ppf::kBlockArc)
    return Refuse("block kind " + std::to_string(block.kind) + " is neither 1 (line) nor 2 (arc)");
  if (outside(block.feed_type, 0, 9))
    return Refuse("feed type " + std::to_string(block.feed_type) + " is outside 0 to 9");
  if (outside(block.compensation, 0, 2)) {
    return Refuse("compensation flag " + std::to_string(block.compensation) +
                  " is none of 0, 1 and 2");
  }
  if (outside(block.dwell, -1, 2))
    return Refuse("dwell flag " + std::to_string(block.dwell) + " is none of -1 to 2");
  if (outside(block.position_mark, 0, 2))
    return Refuse("position mark " + std::to_string(block.position_mark) + " is none of 0 to 2");
  if (block.kind == ppf::kBlockArc) {
    if (!block.has_vector)
      return Refuse("an arc without the normal of its plane");
    const ppf::Vec3& n = block.vector;
    if (n.x == 0 && n.y == 0 && n.z == 0)
      return Refuse("an arc whose normal is the zero vector");
  }
  return true;
}

bool RecordOrder::EndPath() {
  if (next_ != Next::BlockOrEnd && next_ != Next::HoleOrEnd)
    return OutOfPlace("the end of a bracket");
  next_ = Next::PathOrEnd;
  return true;
}

bool RecordOrder::EndProcess() {
  if (next_ != Next::PathOrEnd)
    return OutOfPlace("the end of the process");
  next_ = Next::Done;
  return true;
}

}  // namespace zu::ppf_internal
