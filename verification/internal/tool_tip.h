// A five-axis program read back as the tool tip: what the interpreter sends
// goes on to the Recorder in the work frame. Under tool-centre-point
// control the program's X Y Z are the tip already; without it they are the
// machine's linear axes, and the machine's forward kinematics turn them and
// the rotary axes into the tip and the tool axis. A feed move that turns a
// rotary axis bends the tip away from the straight line: it goes on as
// pieces between samples along the machine's motion, so that the geometry's
// comparison measures the bend. The tool axis at every move's end and
// sample is kept for the comparison of axes (tool_axes.h).
#pragma once

#include <cstdint>
#include <vector>

#include "gcode/multi_axis_receiver.h"
#include "gcode/path_receiver.h"
#include "kinematics/kinematics.h"
#include "verification/internal/recorder.h"

namespace zu::verify::internal {

struct AxisSample {
  cut::Vec tip;
  cut::Vec axis;
  bool feed = false;  // on a feed move (rapids' axes are not compared)
};

class ToolTip final : public gcode::PathReceiver, public gcode::MultiAxisReceiver {
 public:
  ToolTip(Recorder& recorder, const kin::Kinematics& kinematics)
      : recorder_(recorder), kinematics_(kinematics) {}

  std::vector<AxisSample> samples;  // in the program's order
  // The largest turn of a rotary axis in one feed move (degrees) and the
  // axis's letter: a spin where the tool axis hardly turns shows here.
  double largest_turn = 0;
  char turn_axis = 0;
  // Feed moves and arcs of the program: the recorder sees a feed move that
  // turns a rotary axis as its samples.
  std::uint64_t cuts_read = 0;

  void AxesOfNextMove(const gcode::AxisState& axes) override { state_ = axes; }

  void NextPath(int number) override { recorder_.NextPath(number); }
  void StartPath() override { recorder_.StartPath(); }
  void EndPath() override { recorder_.EndPath(); }
  void RapidTo(double x, double y, double z) override;
  void FeedTo(double x, double y, double z, int compensation) override;
  void ArcTo(double end_x, double end_y, double end_z, double centre_x, double centre_y,
             double centre_z, double axis_x, double axis_y, double axis_z) override;
  void SetFeedRate(double feed) override { recorder_.SetFeedRate(feed); }
  void SetSpindleSpeed(double speed) override { recorder_.SetSpindleSpeed(speed); }
  void SetToolName(std::string_view name) override { recorder_.SetToolName(name); }
  void SetToolInteger1(int number) override { recorder_.SetToolInteger1(number); }
  void SetToolInteger2(int number) override { recorder_.SetToolInteger2(number); }
  void SetToolDimension1(double value) override { recorder_.SetToolDimension1(value); }
  void SetToolDimension2(double value) override { recorder_.SetToolDimension2(value); }
  void SetToolDimension3(double value) override { recorder_.SetToolDimension3(value); }
  void SetToolDimension5(double value) override { recorder_.SetToolDimension5(value); }
  void SetToolDimension6(double value) override { recorder_.SetToolDimension6(value); }
  void SetToolDimension7(double value) override { recorder_.SetToolDimension7(value); }
  void StartDrillPath(int drill_mode, double safe_distance, double dwell_time, double peck_depth,
                      double hole_depth, double clearance, double surface, double feed,
                      double spindle_speed) override {
    recorder_.StartDrillPath(drill_mode, safe_distance, dwell_time, peck_depth, hole_depth,
                             clearance, surface, feed, spindle_speed);
  }
  void AddDrillPoint(double x, double y, double z) override { recorder_.AddDrillPoint(x, y, z); }
  void FlushDrillPoints() override { recorder_.FlushDrillPoints(); }

 private:
  // The machine's position for X Y Z as read, with the rotary axes in force.
  kin::MachinePosition Machine(double x, double y, double z) const;
  kin::ToolPose Pose(const kin::MachinePosition& at) const;

  Recorder& recorder_;
  const kin::Kinematics& kinematics_;
  gcode::AxisState state_;
  kin::MachinePosition last_;  // the machine's position after the last move
};

}  // namespace zu::verify::internal
