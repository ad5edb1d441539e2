// What the G-code interpreter sends for a written program, kept as a list
// of motion events in the code's order, each with the tool, feed and
// spindle speed in force: the read-back side of the comparison.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "cutmodel/cut_model.h"
#include "gcode/path_receiver.h"
#include "verification/verify_program.h"

namespace zu::verify::internal {

// The values of one drill group as the interpreter sends them (levels
// absolute, millimetres; feed mm/min; dwell seconds).
struct DrillGroup {
  int mode = 0;
  double safe = 0;
  double dwell = 0;
  double peck = 0;
  double depth = 0;
  double clearance = 0;
  double surface = 0;
  double feed = 0;
  double speed = 0;
};

// The tool, feed and spindle speed of an event.
struct Technology {
  double feed = 0;
  double speed = 0;
  int tool = -1;  // the T number in force; -1 before any
};

// Kept small: a program has an event for each of its moves.
struct ReadEvent {
  enum class Kind : std::uint8_t { kRapid, kFeed, kArc, kHole };
  cut::Vec end;  // kHole: x, y and the bottom
  // kArc: index into Recorder::arcs; kHole: into Recorder::groups.
  std::uint32_t detail = 0;
  std::uint32_t technology = 0;  // index into Recorder::technologies
  Kind kind = Kind::kRapid;
  // kFeed, kArc: the move follows another feed move or arc with no rapid,
  // hole or new path between them.
  bool joined = false;
};

// An arc's centre and axis, kept apart so that straight moves stay small.
struct ReadArc {
  cut::Vec centre;
  cut::Vec axis;
};

class Recorder : public gcode::PathReceiver {
 public:
  std::vector<ReadEvent> events;
  std::vector<ReadArc> arcs;
  std::vector<DrillGroup> groups;
  std::vector<Technology> technologies;  // each where it changes
  // Rapid moves that turn a rotary axis (five-axis machines), by event
  // index in order: the part turns under the tool, which is no move across
  // it at some height.
  std::vector<std::uint32_t> turning;
  // The expected program's tools, for tools read back by name.
  const std::vector<cut::Tool>* tools = nullptr;

  // Where the tool was before event k, as far as the moves sent tell: the
  // last event's end, or above a hole at its group's clearance.
  cut::Vec StartOf(std::size_t k) const;
  const Technology& TechnologyOf(const ReadEvent& event) const {
    return technologies[event.technology];
  }

  void NextPath(int number) override;
  void StartPath() override {}
  void EndPath() override {}
  void RapidTo(double x, double y, double z) override;
  void FeedTo(double x, double y, double z, int compensation) override;
  void ArcTo(double end_x, double end_y, double end_z, double centre_x, double centre_y,
             double centre_z, double axis_x, double axis_y, double axis_z) override;
  void SetFeedRate(double feed) override { feed_ = feed; }
  void SetSpindleSpeed(double speed) override { speed_ = speed; }
  // A control that selects tools by name (T="NAME") sends no number: the
  // expected program's tool of that name stands for it, where only one
  // number has the name.
  void SetToolName(std::string_view name) override;
  void SetToolInteger1(int number) override { tool_ = number; }
  void SetToolInteger2(int) override {}
  void SetToolDimension1(double) override {}
  void SetToolDimension2(double) override {}
  void SetToolDimension3(double) override {}
  void SetToolDimension5(double) override {}
  void SetToolDimension6(double) override {}
  void SetToolDimension7(double) override {}
  void StartDrillPath(int drill_mode, double safe_distance, double dwell_time, double peck_depth,
                      double hole_depth, double clearance, double work_surface, double drill_feed,
                      double spindle_speed) override;
  void AddDrillPoint(double x, double y, double z) override;
  void FlushDrillPoints() override {}

 private:
  ReadEvent& Add(ReadEvent::Kind kind, const cut::Vec& end, const Technology& technology);

  bool cutting_ = false;  // the last event was a feed move or arc of this path
  int tool_ = -1;
  double feed_ = 0;
  double speed_ = 0;
};

// What the recorder kept, as the result hands it out.
std::vector<ReadMove> MotionOf(const Recorder& recorder);

}  // namespace zu::verify::internal
