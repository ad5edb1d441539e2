#include "verification/internal/recorder.h"

namespace zu::verify::internal {

ReadEvent& Recorder::Add(ReadEvent::Kind kind, const cut::Vec& end) {
  ReadEvent& event = events.emplace_back();
  const bool cut = kind == ReadEvent::Kind::kFeed || kind == ReadEvent::Kind::kArc;
  event.kind = kind;
  event.joined = cut && cutting_;
  event.tool = tool_;
  event.feed = feed_;
  event.speed = speed_;
  event.end = end;
  cutting_ = cut;
  return event;
}

cut::Vec Recorder::StartOf(std::size_t k) const {
  if (k == 0)
    return {};
  const ReadEvent& last = events[k - 1];
  if (last.kind != ReadEvent::Kind::kHole)
    return last.end;
  return {last.end.x, last.end.y, groups[last.detail].clearance};
}

void Recorder::SetToolName(std::string_view name) {
  if (!tools)
    return;
  int number = -1;
  for (const cut::Tool& tool : *tools) {
    if (tool.name != name)
      continue;
    if (number >= 0 && number != tool.number)
      return;
    number = tool.number;
  }
  if (number >= 0)
    tool_ = number;
}

void Recorder::NextPath(int) {
  cutting_ = false;
}

void Recorder::RapidTo(double x, double y, double z) {
  Add(ReadEvent::Kind::kRapid, {x, y, z});
}

void Recorder::FeedTo(double x, double y, double z, int) {
  Add(ReadEvent::Kind::kFeed, {x, y, z});
}

void Recorder::ArcTo(double end_x, double end_y, double end_z, double centre_x, double centre_y,
                     double centre_z, double axis_x, double axis_y, double axis_z) {
  Add(ReadEvent::Kind::kArc, {end_x, end_y, end_z}).detail =
      static_cast<std::uint32_t>(arcs.size());
  arcs.push_back({{centre_x, centre_y, centre_z}, {axis_x, axis_y, axis_z}});
}

void Recorder::StartDrillPath(int drill_mode, double safe_distance, double dwell_time,
                              double peck_depth, double hole_depth, double clearance,
                              double work_surface, double drill_feed, double spindle_speed) {
  groups.push_back({drill_mode, safe_distance, dwell_time, peck_depth, hole_depth, clearance,
                    work_surface, drill_feed, spindle_speed});
}

void Recorder::AddDrillPoint(double x, double y, double z) {
  // The interpreter opens a group before its holes; a hole outside one
  // would be its fault, kept with a group of zeros.
  if (groups.empty())
    groups.emplace_back();
  ReadEvent& hole = Add(ReadEvent::Kind::kHole, {x, y, z});
  hole.detail = static_cast<std::uint32_t>(groups.size() - 1);
  hole.feed = groups.back().feed;
  hole.speed = groups.back().speed;
}

}  // namespace zu::verify::internal
