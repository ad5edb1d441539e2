#include "kinematics/machine_layout.h"

#include <charconv>
#include <cmath>

namespace zu::kin {
namespace {

// Directions closer than this (the sine of their angle) count as parallel.
constexpr double kParallel = 1e-6;

std::string Number(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

bool Finite(Vec3 v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

std::string CheckAxis(const char* name, const RotaryAxis& axis) {
  const std::string prefix = std::string(name) + ": ";
  if (axis.letter != 'A' && axis.letter != 'B' && axis.letter != 'C')
    return prefix + "letter must be A, B or C";
  if (!Finite(axis.direction) || !Finite(axis.pivot) || !std::isfinite(axis.min) ||
      !std::isfinite(axis.max))
    return prefix + "values must be finite";
  if (Length(axis.direction) == 0)
    return prefix + "direction has no length";
  if (axis.min > axis.max)
    return prefix + "min " + Number(axis.min) + " is above max " + Number(axis.max);
  if (axis.continuous && axis.max - axis.min < 360)
    return prefix + "a continuous axis's range " + Number(axis.min) + ".." + Number(axis.max) +
           " spans less than 360 degrees";
  if (axis.preferred_sign < -1 || axis.preferred_sign > 1)
    return prefix + "preferred sign must be -1, 0 or 1";
  return "";
}

}  // namespace

std::string CheckLayout(const MachineLayout& layout) {
  if (auto error = CheckAxis("primary", layout.primary); !error.empty())
    return error;
  if (auto error = CheckAxis("secondary", layout.secondary); !error.empty())
    return error;
  if (layout.primary.letter == layout.secondary.letter)
    return std::string("secondary: letter ") + layout.secondary.letter + " is the primary's too";
  const Vec3 p = Unit(layout.primary.direction);
  const Vec3 s = Unit(layout.secondary.direction);
  if (Length(Cross(p, s)) < kParallel)
    return "secondary: direction is parallel to the primary's";
  if (Length(Cross(s, {0, 0, 1})) < kParallel)
    return "secondary: direction lies along the tool axis, so it cannot tilt the tool";
  if (layout.layout != Layout::kTableTable && !(layout.pivot_length > 0))
    return "pivot_length: a layout with an axis in the head needs a pivot length above 0";
  if (!std::isfinite(layout.pivot_length))
    return "pivot_length: must be finite";
  if (!(layout.singular_degrees > 0 && layout.singular_degrees < 90))
    return "singular_degrees: must lie above 0 and below 90";
  if (!(layout.tip_tolerance > 0) || !std::isfinite(layout.tip_tolerance))
    return "tip_tolerance: must be above 0";
  if (!(layout.axis_tolerance_degrees > 0) || !std::isfinite(layout.axis_tolerance_degrees))
    return "axis_tolerance_degrees: must be above 0";
  return "";
}

}  // namespace zu::kin
