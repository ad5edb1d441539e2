// The exact tests an element passes before the fitter uses it, over points i
// to j of a run: every point within the tolerance of the element, taken in
// order (no point lies more than twice the tolerance back along the element
// from the farthest one before it), and for arcs every point of the arc
// within the tolerance of the polyline.
#pragma once

#include <cstddef>

#include "pathfit/fit.h"
#include "pathfit/internal/arc_region.h"
#include "pathfit/internal/vec.h"

namespace zu::pathfit::internal {

struct RunView {
  const XYZ* points = nullptr;
  std::size_t count = 0;
  double tolerance = 0;  // already reduced by what merging points cost
  double min_length = 0;
  ArcLimits arc;
};

// Whether the line from point i to point j stands for points i to j.
bool LineFits(const RunView& run, std::size_t i, std::size_t j);

// Whether the arc about `centre` (plane coordinates) from point i to point j,
// in `plane`, counter-clockwise or not, stands for points i to j; if so,
// `element` is that arc.
bool ArcFits(const RunView& run, std::size_t i, std::size_t j, AxisPlane plane, Vec2 centre,
             bool ccw, FitElement& element);

}  // namespace zu::pathfit::internal
