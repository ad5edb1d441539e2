// A second, tighter bound on whether any circle through an element's start
// point, in one axis plane, can still pass within the tolerance of every
// point after it: the tangent directions at the start split into sectors,
// each an outer polygon in its own (K, tau) frame (arc_region.h gives the
// slab a point makes there). A sector's tangents lie within a few degrees
// of its axis, so the chord standing in for sqrt(1 + tau^2) is within a few
// per cent of it. ArcRegion's single frame must span every tangent the
// points still allow; when they allow many (points scattered about the start
// by about the tolerance), its chord is up to four times too wide and the
// region outlives every circle by a hundred points or more. Once every
// sector is empty no circle fits, so no arc from the start reaches further.
//
// Only a bound, never a source of circles: it ignores segment midpoints and
// keeps lines and every radius down to the one it is given (the least an arc
// may have), so it holds every circle an arc from the region can take.
#pragma once

#include <array>
#include <cstddef>

#include "pathfit/internal/convex_polygon.h"
#include "pathfit/internal/vec.h"

namespace zu::pathfit::internal {

class ArcSectors {
 public:
  // Sectors for circles through `origin` (plane coordinates) of radius at
  // least `min_radius`. With a least radius of 0 they hold everything (the
  // curvature has no bound), with an infinite one nothing.
  void Start(Vec2 origin, double tolerance, double min_radius);
  // Adds a point (plane coordinates). Returns whether some circle may still
  // pass within the tolerance of every point added.
  bool Add(Vec2 point);
  bool alive() const { return live_ != 0; }

 private:
  // Circles through the start have tangents in half a turn of directions
  // (a circle traversed the other way has the opposite curvature).
  static constexpr int kSectors = 4;
  struct Sector {
    Vec2 e1, e2;
    ConvexPolygon outer;
    double a = 1, b = 0;  // the chord of sqrt(1 + tau^2) over outer's range
  };
  void Rebound(Sector& sector);

  Vec2 origin_;
  double tolerance_ = 0;
  std::array<Sector, kSectors> sectors_;
  unsigned live_ = 0;  // a bit per sector still holding circles
  bool bounded_ = true;
  unsigned added_ = 0;
};

}  // namespace zu::pathfit::internal
