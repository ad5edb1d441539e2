// Points of a path's (or the fixture's) coordinate system in the machine's
// frame: origin + x X + y Y + z Z with the axes made unit length. A system
// whose Z axis is not the machine's needs rotary axes; a three-axis machine
// cannot cut it.
#pragma once

#include <string>

#include "cutmodel/cut_model.h"

namespace zu::cut::internal {

class FrameMap {
 public:
  // Axes as the files hold them (any length). An axis of length zero, or
  // axes that are not at right angles, make the map invalid().
  FrameMap(const Vec& origin, const Vec& x_axis, const Vec& y_axis, const Vec& z_axis);

  // Why a three-axis machine cannot cut in this system; empty when it can
  // (Z along the machine's Z: turned about Z and moved).
  const std::string& refusal() const { return refusal_; }
  // Valid, but its Z is not the machine's: refused only where the machine
  // has no rotary axes.
  bool tilted() const { return tilted_; }
  // The system with unit axes (valid maps only).
  Frame frame() const { return {origin_, x_, y_, z_}; }

  Vec Point(const Vec& p) const;
  Vec Direction(const Vec& d) const;

 private:
  Vec origin_;
  Vec x_, y_, z_;
  std::string refusal_;
  bool tilted_ = false;
};

// Why motion with tool axis `axis` (in the system's coordinates) needs
// rotary axes, where it is not the machine's Z; empty where it is.
std::string ToolAxisRefusal(const FrameMap& map, const Vec& axis);

// The safe height of a path given as a height in its system: the machine's
// Z of that plane, or, in a `tilted` path, the height in its own system.
double SafeHeight(const FrameMap& map, const Path& path, double height);

// An arc's normal snapped to the nearest of +-X, +-Y, +-Z, when it lies
// within 1e-9 of it; false for any other direction.
bool SnapToAxis(Vec& normal);

// `v` made unit length; false where it has no length or is not finite.
bool Unit(Vec& v);

// The seconds of a dwell text as the host's dwell parameters hold it
// ("G04 X0.5", "G4 P1000", "G04 F2", "1.5"): X, U and F give seconds, P
// milliseconds, a bare number seconds. False for any other text.
bool DwellSeconds(const std::string& text, double& seconds);

}  // namespace zu::cut::internal
