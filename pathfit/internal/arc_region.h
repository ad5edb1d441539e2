// Which circles through an element's start point, in one axis plane, pass
// within the tolerance of every point after it (and keep every segment's
// midpoint no deeper inside than the tolerance), updated point by point.
//
// A circle through the start point is given by the angle theta of its
// tangent there, measured from a frame axis, and its signed curvature kappa
// (positive: counter-clockwise). With tau = tan(theta) and K = kappa / cos
// (theta), a point (x, y) of the frame lies within the tolerance of the
// circle exactly when
//     |K (x^2 + y^2 - tol^2) / 2 + x tau - y| <= tol sqrt(1 + tau^2),
// and the circle passes through (x, y) when K (x^2 + y^2) / 2 + x tau = y.
// sqrt(1 + tau^2) is convex: below it lies its tangent at any tau, above it
// its chord over the range of tau the region still spans. With the tangent
// each point is a slab of an inner polygon (every circle in it fits), with
// the chord a slab of an outer one (every fitting circle is in it), and each
// end point a line across both. The region narrows as points come, and the
// two polygons close in on the exact set; once they differ by next to
// nothing only the outer one is kept. The frame is turned towards the
// region's middle when the region has drifted off its axis. The fitter
// tries circles of either polygon exactly.
#pragma once

#include <cstddef>

#include "pathfit/internal/arc_sectors.h"
#include "pathfit/internal/convex_polygon.h"
#include "pathfit/internal/line_cone.h"
#include "pathfit/internal/vec.h"

namespace zu::pathfit::internal {

struct ArcLimits {
  double tolerance = 0;
  double min_radius = 0;
  double max_radius = 0;
  double max_sweep = 0;
};

// The circles through the start point and point j that the region holds:
// a section of the line for point j, in the (K, tau) plane of a frame.
struct ArcGuess {
  Vec2 origin;  // the start point, plane coordinates
  Vec2 axis;    // the frame's first axis
  Vec2 end;     // point j, plane coordinates
  Vec2 first;   // ends of the section, (K, tau)
  Vec2 second;
  bool sure = false;  // from the inner polygon
};

// The circle a fraction t along the section (0 first, 1 second): its centre
// (plane coordinates, moved onto the chord's perpendicular bisector), its
// direction and the sweep of its arc from the start to the end point. False
// when it breaks the radius or sweep limits.
bool CircleAt(const ArcGuess& guess, double t, const ArcLimits& limits, Vec2& centre, bool& ccw,
              double* sweep = nullptr);

// The part of the section whose circles keep points i + 1 to j - 1 of
// `points` within the tolerance and the segments' midpoints no deeper inside
// (sqrt(1 + tau^2) taken by its tangent at the section's middle: the section
// is short), as fractions [lo, hi] of it. False when that part is empty.
bool NarrowSection(const ArcGuess& guess, const XYZ* points, std::size_t i, std::size_t j,
                   AxisPlane plane, double tolerance, double& lo, double& hi);

class ArcRegion {
 public:
  void Start(const XYZ* points, std::size_t origin, AxisPlane plane, const ArcLimits& limits);
  // Adds segment (j - 1, j), asks for a circle through point j, then adds
  // point j. Returns whether one may fit.
  bool Advance(std::size_t j, ArcGuess& guess);
  bool alive() const;
  void Kill() { killed_ = true; }
  AxisPlane plane() const { return plane_; }

 private:
  // The inner polygon is dropped once the region is narrow.
  enum class Inner { kKept, kDropped };
  struct Side {
    ConvexPolygon inner;
    ConvexPolygon outer;
    Inner inner_state = Inner::kKept;
    double sign = 1;  // of K
    // Bounds a + b tau of sqrt(1 + tau^2): the chord over outer's range of
    // tau (above it there), the tangent at its middle (below it).
    double outer_a = 1, outer_b = 0;
    double inner_a = 1, inner_b = 0;
  };

  Vec2 Local(std::size_t k) const;
  void Frame(Vec2 axis, double box);
  void AddPoint(std::size_t k);
  void AddMidpoint(std::size_t k);  // of segment (k - 1, k)
  bool Query(std::size_t j, ArcGuess& guess) const;
  void Rebound();
  void Reframe(std::size_t j);
  void Watch(std::size_t j);

  const XYZ* points_ = nullptr;
  std::size_t origin_index_ = 0;
  AxisPlane plane_;
  Vec2 origin_;
  ArcLimits limits_;
  bool killed_ = false;
  bool framed_ = false;
  Vec2 e1_, e2_;
  Side sides_[2];
  std::size_t framed_at_ = 0;
  // The turning of the chord from the start point, from its first direction
  // on (half the sweep of an arc the points follow), within first_noise_ of
  // the truth; its extremes over points far enough for their direction to
  // count, each with the noise of that direction; the farthest point; and
  // whether the points have turned back.
  bool turning_started_ = false;
  Vec2 last_chord_;
  double turning_ = 0;
  double first_noise_ = 0;
  bool extremes_set_ = false;
  double turning_most_ = 0, most_noise_ = 0;
  double turning_least_ = 0, least_noise_ = 0;
  double farthest_ = 0;
  bool turned_back_ = false;
  // The widest range of tau of the outer polygons, and the sectors that
  // bound the circles more tightly once that range stays wide.
  double widest_ = 0;
  bool watching_ = false;
  ArcSectors sectors_;
};

}  // namespace zu::pathfit::internal
