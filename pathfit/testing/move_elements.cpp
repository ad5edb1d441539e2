#include "pathfit/testing/move_elements.h"

#include <cmath>

#include "host/math.h"
#include "host/row_ops.h"

namespace zu::pathfit {

FitElement ElementOfMove(const tool_block& move) {
  FitElement element;
  XYZ start;
  XYZ end;
  HostGetHomePoint(&move, start, end);
  element.start = start;
  element.end = end;
  if (move.kind == kMoveArc && move.geometry) {
    const nc_arc& arc = *move.arc();
    element.kind = FitElement::Kind::Arc;
    VECTOR u;
    VECTOR v;
    MathSub(arc.second, arc.centre, u);
    MathSub(arc.third, arc.centre, v);
    VECTOR n;
    CrossProduct(u, v, n);
    const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (length > 0)
      element.normal = {n.x / length, n.y / length, n.z / length};
    element.centre = arc.centre;
    element.radius = arc.radius;
    element.sweep = arc.sweep;
  }
  return element;
}

}  // namespace zu::pathfit
