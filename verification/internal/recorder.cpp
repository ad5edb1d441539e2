#include "verification/internal/recorder.h"

#include <bit>
#include <cstdint>

namespace zu::verify::internal {

namespace {

bool Same(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

}  // namespace

ReadEvent& Recorder::Add(ReadEvent::Kind kind, const cut::Vec& end, const Technology& technology) {
  if (technologies.empty() || !Same(technologies.back().feed, technology.feed) ||
      !Same(technologies.back().speed, technology.speed) ||
      technologies.back().tool != technology.tool)
    technologies.push_back(technology);
  ReadEvent& event = events.emplace_back();
  const bool cut = kind == ReadEvent::Kind::kFeed || kind == ReadEvent::Kind::kArc;
  event.kind = kind;
  event.joined = cut && cutting_;
  event.technology = static_cast<std::uint32_t>(technologies.size() - 1);
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
  Add(ReadEvent::Kind::kRapid, {x, y, z}, {feed_, speed_, tool_});
}

void Recorder::FeedTo(double x, double y, double z, int) {
  Add(ReadEvent::Kind::kFeed, {x, y, z}, {feed_, speed_, tool_});
}

void Recorder::ArcTo(double end_x, double end_y, double end_z, double centre_x, double centre_y,
                     double centre_z, double axis_x, double axis_y, double axis_z) {
  Add(ReadEvent::Kind::kArc, {end_x, end_y, end_z}, {feed_, speed_, tool_}).detail =
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
  // A hole goes at its group's feed and speed.
  ReadEvent& hole =
      Add(ReadEvent::Kind::kHole, {x, y, z}, {groups.back().feed, groups.back().speed, tool_});
  hole.detail = static_cast<std::uint32_t>(groups.size() - 1);
}

std::vector<ReadMove> MotionOf(const Recorder& recorder) {
  std::vector<ReadMove> motion;
  motion.reserve(recorder.events.size());
  for (std::size_t k = 0; k < recorder.events.size(); ++k) {
    const ReadEvent& event = recorder.events[k];
    ReadMove& move = motion.emplace_back();
    move.start_known = k > 0;
    move.start = recorder.StartOf(k);
    move.end = event.end;
    switch (event.kind) {
      case ReadEvent::Kind::kRapid:
        move.kind = ReadMove::Kind::kRapid;
        break;
      case ReadEvent::Kind::kFeed:
        move.kind = ReadMove::Kind::kFeed;
        break;
      case ReadEvent::Kind::kArc:
        move.kind = ReadMove::Kind::kArc;
        move.centre = recorder.arcs[event.detail].centre;
        move.axis = recorder.arcs[event.detail].axis;
        break;
      case ReadEvent::Kind::kHole:
        move.kind = ReadMove::Kind::kHole;
        move.start_known = true;
        move.start = {event.end.x, event.end.y, recorder.groups[event.detail].clearance};
        break;
    }
  }
  return motion;
}

}  // namespace zu::verify::internal
