// Splitting of one five-axis move. The machine moves every axis at once,
// each in proportion; with a rotary axis turning, the tool tip then follows
// a curve, not the straight line between the two poses the program asked
// for, and the tool axis leaves the plane of its two ends. This unit adds
// machine positions between the ends, each the solution of a pose on the
// straight line (the tip) and the great circle (the axis), until the tip
// stays within the layout's `linearise_tolerance` of the line and the axis within
// `linearise_axis_degrees` of that plane.
#pragma once

#include <cstddef>
#include <vector>

#include "kinematics/kinematics.h"

namespace zu::kin {

struct LinearisedMove {
  std::size_t added = 0;  // positions appended
  // False when a piece could not be brought within the tolerances: the
  // move passes the primary axis so that its two ends lie on different
  // solutions, and following it would swing the rotary axes at one point
  // (the writer leaves the part there: retract, reposition, re-enter), or
  // a pose between cannot be reached, or a million pieces did not do.
  bool within = true;
};

// Appends to `out` the positions strictly between `from` and `to` (the
// machine positions of `from_pose` and `to_pose`, neighbours on one
// solution, as PlanPath gives them), in order.
LinearisedMove Linearise(const Kinematics& kinematics, const ToolPose& from_pose,
                         const ToolPose& to_pose, const MachinePosition& from,
                         const MachinePosition& to, std::vector<MachinePosition>& out);

// The largest distance (mm) of the tip from the segment between the poses'
// tips, and the largest angle (degrees) of the tool axis from the plane of
// their axes, at a quarter, half and three quarters of the move from
// `from` to `to`.
struct MoveDeviation {
  double tip = 0;
  double axis_degrees = 0;
};
MoveDeviation Deviation(const Kinematics& kinematics, const ToolPose& from_pose,
                        const ToolPose& to_pose, const MachinePosition& from,
                        const MachinePosition& to);

// The machine position a fraction `t` of the way from `a` to `b`, every axis
// in proportion.
MachinePosition Between(const MachinePosition& a, const MachinePosition& b, double t);

}  // namespace zu::kin
