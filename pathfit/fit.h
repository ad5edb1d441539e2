// The host's path fitter: replaces a run of straight moves by as few lines
// and circular arcs as possible, each within a tolerance of the run.
//
// Coordinates are the document's (millimetres); angles are radians. The
// result is a chain of elements: the first starts at points.front(), the last
// ends at points.back(), and each one ends exactly (bit for bit) where the
// next one starts. Breakpoints are input points.
//
// What "within tolerance" means: every input point lies within the tolerance
// of the chain, and every point of the chain lies within the tolerance of the
// polyline through the input points. Arcs lie in a plane parallel to XY, ZX
// or YZ (what G17, G18 and G19 can code): an arc is only laid over points
// whose coordinate along that plane's normal is identical, so a run whose
// height changes (a helix, a ramp) gets lines there.
//
// Runs that no element can stand for: consecutive points closer than
// min_section_line are merged first; a run all of whose points lie within
// min_section_line of its first one has no element (kZeroLength) and the
// caller keeps its moves.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "host/geometry.h"
#include "host/host_api.h"

namespace zu::pathfit {

struct FitLimits {
  // The largest distance allowed between the run and its elements (> 0).
  double tolerance = 0.01;
  // Arcs have min_arc_radius <= radius <= max_arc_radius; others become lines.
  double min_arc_radius = 0.01;
  double max_arc_radius = 9999;
  // No element is shorter than this (its length along the curve); it must
  // be below tolerance / 2.
  double min_section_line = 1e-7;
  // The largest sweep of one arc, at most 2 pi. Below a full turn, so that a
  // closed circle becomes two arcs whose start and end points differ: a
  // control given one block with identical start and end points may take it
  // for a full circle or for nothing.
  double max_arc_sweep = 1.5 * 3.14159265358979323846;
};

struct FitElement {
  enum class Kind { Line, Arc };
  Kind kind = Kind::Line;
  XYZ start;
  XYZ end;
  // Arcs only (zero for lines): the centre, in the plane of start and end;
  // the unit normal of that plane, one of +-X, +-Y, +-Z; the radius; the
  // sweep, in (0, max_arc_sweep], counter-clockwise about the normal (a
  // clockwise arc in XY has normal -Z).
  XYZ centre;
  XYZ normal;
  double radius = 0;
  double sweep = 0;
};

enum class FitStatus {
  kOk,
  kTooFewPoints,  // fewer than two points
  kNonFinite,     // a coordinate is not a finite number
  kBadLimits,     // tolerance <= 0, min_section_line >= tolerance / 2, radii or sweep out of order
  kZeroLength,    // every point lies within min_section_line of the first
  kOutOfMemory,
};

// What FitPolyline gives: elements only with kOk (then at least one).
struct [[nodiscard]] FitResult {
  FitStatus status = FitStatus::kOk;
  std::vector<FitElement> elements;
  bool ok() const { return status == FitStatus::kOk; }
};

// Fits the polyline through `points`, in time linear in their number. The
// result owns its elements. Never throws.
ZUHOST_API FitResult FitPolyline(std::span<const XYZ> points, const FitLimits& limits);

// A short English name of a status, for messages ("ok", "too few points", ...).
ZUHOST_API const char* FitStatusName(FitStatus status);

}  // namespace zu::pathfit
