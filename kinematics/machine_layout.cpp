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
  const std::string part = std::string(name) + ".";
  if (axis.letter != 'A' && axis.letter != 'B' && axis.letter != 'C')
    return part + "letter: must be A, B or C";
  if (!Finite(axis.direction))
    return part + "direction: must be finite";
  if (Length(axis.direction) == 0)
    return part + "direction: has no length";
  if (!Finite(axis.pivot))
    return part + "pivot: must be finite";
  if (!std::isfinite(axis.min))
    return part + "min: must be finite";
  if (!std::isfinite(axis.max))
    return part + "max: must be finite";
  if (axis.min > axis.max)
    return part + "min: " + Number(axis.min) + " is above max " + Number(axis.max);
  if (axis.continuous && axis.max - axis.min < 360)
    return part + "max: a continuous axis's range " + Number(axis.min) + ".." + Number(axis.max) +
           " spans less than 360 degrees";
  if (axis.preferred_sign < -1 || axis.preferred_sign > 1)
    return part + "preferred_sign: must be -1, 0 or 1";
  return "";
}

}  // namespace

std::string CheckLayout(const MachineLayout& layout) {
  if (auto error = CheckAxis("primary", layout.primary); !error.empty())
    return error;
  if (auto error = CheckAxis("secondary", layout.secondary); !error.empty())
    return error;
  if (layout.primary.letter == layout.secondary.letter)
    return std::string("secondary.letter: ") + layout.secondary.letter + " is the primary's too";
  const Vec3 p = Unit(layout.primary.direction);
  const Vec3 s = Unit(layout.secondary.direction);
  if (Length(Cross(p, s)) < kParallel)
    return "secondary.direction: is parallel to the primary's";
  if (Length(Cross(s, {0, 0, 1})) < kParallel)
    return "secondary.direction: lies along the tool axis, so it cannot tilt the tool";
  if (!std::isfinite(layout.pivot_length))
    return "pivot_length: must be finite";
  if (layout.layout != Layout::kTableTable && !(layout.pivot_length > 0))
    return "pivot_length: a layout with an axis in the head needs a pivot length above 0";
  if (!(layout.singular_degrees > 0 && layout.singular_degrees < 90))
    return "singular_degrees: must lie above 0 and below 90";
  if (!(layout.linearise_tolerance > 0) || !std::isfinite(layout.linearise_tolerance))
    return "linearise_tolerance: must be above 0";
  if (!(layout.linearise_axis_degrees > 0) || !std::isfinite(layout.linearise_axis_degrees))
    return "linearise_axis_degrees: must be above 0";
  return "";
}

}  // namespace zu::kin
