#include "kinematics/path_plan.h"

#include <cmath>

namespace zu::kin {
namespace {

bool SameAngles(const MachinePosition& a, const MachinePosition& b) {
  constexpr double kSame = 1e-6;  // degrees
  return std::fabs(a.primary - b.primary) <= kSame && std::fabs(a.secondary - b.secondary) <= kSame;
}

bool Outside(double angle, const RotaryAxis& axis) {
  return !(angle >= axis.min - 1e-9 && angle <= axis.max + 1e-9);
}

}  // namespace

PathPlan PlanPath(const Kinematics& kinematics, std::span<const ToolPose> poses,
                  const MachinePosition* previous) {
  PathPlan plan;
  if (poses.empty())
    return plan;
  plan.positions.reserve(poses.size());
  const auto first =
      previous ? kinematics.NearestWithin(poses[0], *previous) : kinematics.First(poses[0]);
  if (!first) {
    plan.error = "point 0: no position of the rotary axes within their limits gives this tool axis";
    return plan;
  }
  plan.positions.push_back(*first);
  const RotaryAxis& primary = kinematics.layout().primary;
  const RotaryAxis& secondary = kinematics.layout().secondary;
  for (std::size_t i = 1; i < poses.size(); ++i) {
    const MachinePosition& before = plan.positions.back();
    const auto next = kinematics.Nearest(poses[i], before);
    // Made only for a message: most points need none.
    const auto where = [i] { return "point " + std::to_string(i) + ": "; };
    if (!next) {
      plan.error = where() + "the rotary axes cannot give this tool axis";
      return plan;
    }
    if (kinematics.WithinLimits(*next)) {
      plan.positions.push_back(*next);
      continue;
    }
    // Another solution within the limits; a continuous axis that ran out of
    // its range is taken back towards zero, so that it runs out seldom.
    const bool primary_out = Outside(next->primary, primary);
    const RotaryAxis& forcing = primary_out ? primary : secondary;
    MachinePosition reference = before;
    if (primary_out && primary.continuous)
      reference.primary = 0;
    if (Outside(next->secondary, secondary) && secondary.continuous)
      reference.secondary = 0;
    const auto after = kinematics.NearestWithin(poses[i], reference);
    if (!after) {
      plan.error =
          where() + "no position of the rotary axes within their limits gives this tool axis";
      return plan;
    }
    // The tool leaves at the pose before and comes back there on the new
    // solution, from which the move goes on without leaving the limits.
    const auto enter = kinematics.NearestWithin(poses[i - 1], *after);
    const auto check = enter ? kinematics.Nearest(poses[i], *enter) : std::nullopt;
    if (!enter || !check || !SameAngles(*check, *after)) {
      plan.error = where() + "the move from the point before cannot stay within the limits of " +
                   std::string(1, forcing.letter);
      return plan;
    }
    Reposition reposition;
    reposition.index = i - 1;
    reposition.leave = before;
    reposition.enter = *enter;
    reposition.axis = forcing.letter;
    reposition.why = forcing.continuous ? Reposition::Why::kUnwind : Reposition::Why::kLimit;
    plan.repositions.push_back(reposition);
    plan.positions.push_back(*after);
  }
  return plan;
}

}  // namespace zu::kin
