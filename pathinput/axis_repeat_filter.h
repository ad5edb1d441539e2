// Point-and-axis blocks (five-axis moves) are written only when they differ
// from the last one written: a point that repeats the last point and axis,
// both closer than 1e-12, is dropped. Both roads keep one filter per file,
// so that a file never depends on what an earlier file ended with.
#pragma once

#include "host/geometry.h"

namespace zu {

class AxisRepeatFilter {
 public:
  // True when (point, axis) is to be written; it then becomes the last pair.
  // False for a repeat, which changes nothing.
  bool Passes(const XYZ& point, const XYZ& axis);
  // Forgets the last pair: the next one passes unless it is (0,0,0),(0,0,0).
  void Reset();

 private:
  XYZ last_point_;
  XYZ last_axis_;
};

}  // namespace zu
