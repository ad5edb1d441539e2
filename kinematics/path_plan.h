// Machine positions for a run of tool poses: each the solution nearest the
// one before (angle continuity: no jump of 360 degrees, the shortest way
// round), and where that would leave an axis's limits, or turn a continuous
// axis past the range its control accepts, the place where the tool must
// leave the part and come back on another solution. The code writer turns
// a reposition into a retract along the tool axis, the rotary move and the
// re-entry at the same point; this unit writes no code.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "kinematics/kinematics.h"

namespace zu::kin {

struct Reposition {
  enum class Why { kLimit, kUnwind };
  std::size_t index = 0;  // the pose where the tool leaves the part and re-enters it
  MachinePosition leave;  // the position the path reached that pose at (positions[index])
  MachinePosition enter;  // the same pose on the solution the path goes on with
  char axis = 0;          // the axis that forced it
  Why why = Why::kLimit;  // a limit, or a continuous axis's range (unwinding)
};

struct PathPlan {
  // One per pose, in order, up to the pose that failed when `error` is set.
  std::vector<MachinePosition> positions;
  std::vector<Reposition> repositions;  // in the order of their index
  std::string error;  // "" or why the pose at `positions.size()` cannot be reached
};

// Plans the poses. The first pose takes `Kinematics::First`, or with
// `previous` (where the machine stands) the solution within the limits
// nearest it; the rapid move there is the writer's.
PathPlan PlanPath(const Kinematics& kinematics, std::span<const ToolPose> poses,
                  const MachinePosition* previous = nullptr);

}  // namespace zu::kin
