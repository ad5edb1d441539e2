#include "conditioning/arc_chords.h"

#include <algorithm>
#include <cmath>

#include "host/math.h"

namespace zu {

int ChordCount(double radius, double sweep, double tolerance) {
  if (!(radius > 0))
    return 0;
  if (!(tolerance > 0))
    tolerance = kDefaultChordTolerance;
  // acos is defined on [-1, 1]: a tolerance of twice the radius or more
  // allows a chord across half a turn.
  const double half_angle = std::acos(std::clamp(1.0 - tolerance / radius, -1.0, 1.0));
  // A tolerance too small to change 1 - t/R gives h = 0: the quotient is
  // infinite (or NaN for no sweep), which the bound catches before the
  // conversion to int.
  const double chords = std::fabs(sweep) / (2 * half_angle);
  if (!(chords < kMaxChordCount))
    return std::isnan(chords) ? 1 : kMaxChordCount;
  return static_cast<int>(chords) + 1;
}

std::vector<XYZ> ArcChordPoints(const nc_arc& arc, double tolerance) {
  const int count = ChordCount(arc.radius, arc.sweep, tolerance);
  TRANSF frame, to_arc;
  if (count == 0 || !ArcFrameMatrix(arc.centre, arc.second, arc.third, frame) ||
      !MatInverse(frame, to_arc)) {
    return {arc.end};
  }
  std::vector<XYZ> points;
  points.reserve(static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i) {
    const double angle = i * arc.sweep / count;
    XYZ point;
    PointTransform({arc.radius * std::cos(angle), arc.radius * std::sin(angle), 0}, to_arc, point);
    points.push_back(point);
  }
  return points;
}

}  // namespace zu
