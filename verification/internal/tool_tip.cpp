#include "verification/internal/tool_tip.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "kinematics/linearise.h"

namespace zu::verify::internal {

namespace {

cut::Vec C(const kin::Vec3& v) {
  return {v.x, v.y, v.z};
}

// Samples of a feed move that turns a rotary axis, between its ends.
constexpr int kSamples = 8;
// An inverse-time piece shorter than this takes the time of this length
// (the code writer's rule: a piece that only turns the tool).
constexpr double kShortestTimedPiece = 1e-3;

double Angle(const gcode::AxisState& state, char letter) {
  const int k = letter - 'A';
  if (k < 0 || k > 2 || !(state.rotary_known >> k & 1))
    return 0;
  return state.rotary[static_cast<std::size_t>(k)];
}

}  // namespace

kin::MachinePosition ToolTip::Machine(double x, double y, double z) const {
  const kin::MachineLayout& layout = kinematics_.layout();
  return {x, y, z, Angle(state_, layout.primary.letter), Angle(state_, layout.secondary.letter)};
}

kin::ToolPose ToolTip::Pose(const kin::MachinePosition& at) const {
  if (!state_.tool_centre_point)
    return kinematics_.Forward(at);
  // The program gives the tip; the axis comes from the vector, or from the
  // rotary axes alone.
  kin::ToolPose pose;
  pose.tip = {at.x, at.y, at.z};
  if (state_.has_vector) {
    pose.axis = {state_.vector[0], state_.vector[1], state_.vector[2]};
  } else {
    kin::MachinePosition turned = at;
    turned.x = turned.y = turned.z = 0;
    pose.axis = kinematics_.Forward(turned).axis;
  }
  return pose;
}

void ToolTip::RapidTo(double x, double y, double z) {
  const kin::MachinePosition from = last_;
  last_ = Machine(x, y, z);
  const kin::ToolPose pose = Pose(last_);
  samples.push_back({C(pose.tip), C(pose.axis), false});
  recorder_.RapidTo(pose.tip.x, pose.tip.y, pose.tip.z);
  if (from.primary != last_.primary || from.secondary != last_.secondary)
    recorder_.turning.push_back(static_cast<std::uint32_t>(recorder_.events.size() - 1));
}

void ToolTip::FeedTo(double x, double y, double z, int compensation) {
  ++cuts_read;
  const kin::MachinePosition from = last_;
  const kin::MachinePosition to = Machine(x, y, z);
  last_ = to;
  const bool turns = from.primary != to.primary || from.secondary != to.secondary;
  const kin::MachineLayout& layout = kinematics_.layout();
  for (const auto& [turn, letter] :
       {std::pair{std::fabs(to.primary - from.primary), layout.primary.letter},
        std::pair{std::fabs(to.secondary - from.secondary), layout.secondary.letter}}) {
    if (turn > largest_turn) {
      largest_turn = turn;
      turn_axis = letter;
    }
  }
  // Under TCP the control keeps the tip on the line; without it the tip
  // follows the machine's axes, each in proportion.
  const int pieces = turns && !state_.tool_centre_point ? kSamples : 1;
  kin::Vec3 tip = Pose(from).tip;
  double length = 0;
  std::vector<kin::ToolPose> poses;
  poses.reserve(static_cast<std::size_t>(pieces));
  for (int k = 1; k <= pieces; ++k) {
    const kin::ToolPose pose =
        Pose(k == pieces ? to : kin::Between(from, to, static_cast<double>(k) / pieces));
    length += kin::Length(pose.tip - tip);
    tip = pose.tip;
    poses.push_back(pose);
  }
  if (state_.inverse_time > 0)
    recorder_.SetFeedRate(std::max(length, kShortestTimedPiece) * state_.inverse_time);
  for (const kin::ToolPose& pose : poses) {
    samples.push_back({C(pose.tip), C(pose.axis), true});
    recorder_.FeedTo(pose.tip.x, pose.tip.y, pose.tip.z, compensation);
    compensation = gcode::kUnchanged;
  }
}

void ToolTip::ArcTo(double end_x, double end_y, double end_z, double centre_x, double centre_y,
                    double centre_z, double axis_x, double axis_y, double axis_z) {
  // With the rotary axes standing still the machine's frame is the work
  // frame turned and moved: the arc's points and axis map as points and a
  // direction.
  ++cuts_read;
  last_ = Machine(end_x, end_y, end_z);
  const kin::ToolPose end = Pose(last_);
  const kin::ToolPose centre = Pose(Machine(centre_x, centre_y, centre_z));
  const kin::ToolPose along =
      Pose(Machine(centre_x + axis_x, centre_y + axis_y, centre_z + axis_z));
  const kin::Vec3 axis = along.tip - centre.tip;
  samples.push_back({C(end.tip), C(end.axis), true});
  recorder_.ArcTo(end.tip.x, end.tip.y, end.tip.z, centre.tip.x, centre.tip.y, centre.tip.z, axis.x,
                  axis.y, axis.z);
}

}  // namespace zu::verify::internal
