#include "pathfit/internal/line_cone.h"

#include <algorithm>
#include <cmath>

#include "pathfit/internal/convex_polygon.h"

namespace zu::pathfit::internal {

// --- PlaneLineCone ---------------------------------------------------------

void PlaneLineCone::Start(const XYZ* points, std::size_t origin, AxisPlane plane,
                          double tolerance) {
  points_ = points;
  plane_ = plane;
  origin_ = plane.Project(points[origin]);
  tolerance_ = tolerance;
  framed_ = false;
  empty_ = false;
  max_distance_ = 0;
  last_added_ = origin;
}

Verdict PlaneLineCone::Query(std::size_t j) const {
  const Vec2 p = plane_.Project(points_[j]) - origin_;
  const double rho = Norm(p);
  // Points within the tolerance of the start point are near any line from it.
  if (rho <= tolerance_ || !framed_)
    return max_distance_ <= tolerance_ ? Verdict::kYes : Verdict::kNo;
  if (empty_ || Cross(lo_, p) < 0 || Cross(p, hi_) < 0)
    return Verdict::kNo;
  // Every point lies within the tolerance of the ray; of the segment too when
  // none lies farther from the start than its end.
  return max_distance_ <= rho ? Verdict::kYes : Verdict::kMaybe;
}

// The rays within the tolerance of p are those within asin(tol / rho) of
// it: p turned either way by that angle bounds them.
void PlaneLineCone::Add(std::size_t j) {
  const Vec2 p = plane_.Project(points_[j]) - origin_;
  const double rho = Norm(p);
  // Back towards the start by more than a line allows (twice the tolerance
  // along it, one across at either end): no later line takes the points in
  // order.
  if (j > last_added_ && rho < max_distance_ - 3 * tolerance_)
    empty_ = true;
  last_added_ = std::max(last_added_, j);
  max_distance_ = std::max(max_distance_, rho);
  if (rho <= tolerance_ || empty_)
    return;
  const double s = tolerance_ / rho;
  const double c = std::sqrt((1 - s) * (1 + s));
  const Vec2 lo = {c * p.x + s * p.y, c * p.y - s * p.x};  // turned clockwise
  const Vec2 hi = {c * p.x - s * p.y, c * p.y + s * p.x};  // counter-clockwise
  if (!framed_) {
    framed_ = true;
    lo_ = lo;
    hi_ = hi;
    return;
  }
  // Both cones are narrower than half a turn: where they meet, each bound
  // of the meeting is a bound of one of them lying inside the other.
  const auto inside = [](Vec2 d, Vec2 from, Vec2 to) {
    return Cross(from, d) >= 0 && Cross(d, to) >= 0;
  };
  const Vec2 new_lo = inside(lo, lo_, hi_) ? lo : lo_;
  const Vec2 new_hi = inside(hi, lo_, hi_) ? hi : hi_;
  if (!inside(new_lo, lo, hi) || !inside(new_hi, lo, hi) || !inside(new_lo, lo_, hi_) ||
      !inside(new_hi, lo_, hi_) || Cross(new_lo, new_hi) < 0) {
    empty_ = true;
    return;
  }
  lo_ = new_lo;
  hi_ = new_hi;
}

Verdict PlaneLineCone::Advance(std::size_t j) {
  const Verdict verdict = Query(j);
  Add(j);
  return verdict;
}

// --- SpaceLineCone ---------------------------------------------------------
//
// A direction u = e1 + a e2 + b e3 (normalised) is the point (a, b) of the
// central projection onto the plane one unit along e1. A point p at distance
// rho from the start is within the tolerance of the ray along u when the
// angle between u and p is at most alpha = asin(tol / rho). The projection
// never shrinks angles, so the disc of radius alpha about p's image lies
// inside that set (the inner polygon is inscribed in that disc); it stretches
// them at most by 1 + s^2 at image radius s, which bounds the set from
// outside (the outer polygon is circumscribed about the stretched disc).

namespace {

constexpr double kInscribed = 0.98078528040323044913;  // cos(pi / 16)

struct Directions {
  double cos[16];
  double sin[16];
  Directions() {
    for (int m = 0; m < 16; ++m) {
      cos[m] = std::cos(2 * kPi * m / 16);
      sin[m] = std::sin(2 * kPi * m / 16);
    }
  }
};
const Directions& Sides() {
  static const Directions sides;
  return sides;
}

XYZ Unit(const XYZ& v) {
  return Scale(1 / Norm(v), v);
}

}  // namespace

void SpaceLineCone::Start(const XYZ* points, std::size_t origin, double tolerance) {
  points_ = points;
  origin_index_ = origin;
  origin_ = points[origin];
  tolerance_ = tolerance;
  framed_ = false;
  inner_dead_ = false;
  max_distance_ = 0;
  framed_at_ = 0;
  last_added_ = origin;
  known_empty_ = 0;
  checked_at_ = origin;
}

void SpaceLineCone::Frame(const XYZ& direction, double box) {
  e1_ = direction;
  // e2: perpendicular to e1, from the axis least along it.
  const double ax = std::fabs(e1_.x), ay = std::fabs(e1_.y), az = std::fabs(e1_.z);
  const XYZ axis = ax <= ay && ax <= az ? XYZ{1, 0, 0} : (ay <= az ? XYZ{0, 1, 0} : XYZ{0, 0, 1});
  e2_ = Unit(Cross(e1_, axis));
  e3_ = Cross(e1_, e2_);
  box_ = box;
  const Directions& sides = Sides();
  for (int m = 0; m < kSides; ++m) {
    // The box's extent along each side's normal.
    const double support = box * (std::fabs(sides.cos[m]) + std::fabs(sides.sin[m]));
    inner_[static_cast<std::size_t>(m)] = support;
    outer_[static_cast<std::size_t>(m)] = support;
  }
  inner_dead_ = false;
  known_empty_ = 0;
  framed_ = true;
}

void SpaceLineCone::Replay(std::size_t last) {
  for (std::size_t k = origin_index_ + 1; k <= last; ++k)
    Add(k);
}

void SpaceLineCone::Add(std::size_t j) {
  const XYZ v = Sub(points_[j], origin_);
  const double rho = Norm(v);
  if (j > last_added_ && rho < max_distance_ - 3 * tolerance_)
    known_empty_ = 1;  // back towards the start: see PlaneLineCone::Add
  max_distance_ = std::max(max_distance_, rho);
  last_added_ = std::max(last_added_, j);
  if (rho <= tolerance_)
    return;
  if (!framed_) {
    // Frame on the first point far enough for its cone to be narrow; the
    // points before it are added once the frame is set.
    if (rho <= 2 * tolerance_)
      return;
    const double half = std::asin(tolerance_ / rho);
    Frame(Scale(1 / rho, v), std::tan(half) * 1.05 + 1e-12);
    framed_at_ = j - origin_index_;
    Replay(j - 1);
  }
  const double x = Dot(v, e1_);
  const double alpha = std::asin(tolerance_ / rho);
  if (x <= 0) {
    inner_dead_ = true;
    // Beyond every direction of the box by more than alpha: nothing fits.
    if (std::acos(std::clamp(x / rho, -1.0, 1.0)) > std::atan(std::sqrt(2.0) * box_) + alpha)
      known_empty_ = 1;
    return;
  }
  const double a = Dot(v, e2_) / x;
  const double b = Dot(v, e3_) / x;
  const double r_inner = alpha * kInscribed;
  const double r_outer = alpha * (1 + std::max(2 * box_ * box_, a * a + b * b)) * (1 + 1e-12);
  const Directions& sides = Sides();
  for (int m = 0; m < kSides; ++m) {
    const std::size_t k = static_cast<std::size_t>(m);
    const double along = sides.cos[m] * a + sides.sin[m] * b;
    inner_[k] = std::min(inner_[k], along + r_inner);
    outer_[k] = std::min(outer_[k], along + r_outer);
  }
  if (known_empty_ == 0)
    known_empty_ = -1;
}

Verdict SpaceLineCone::Query(std::size_t j) const {
  const XYZ v = Sub(points_[j], origin_);
  const double rho = Norm(v);
  if (rho <= tolerance_)
    return max_distance_ <= tolerance_ ? Verdict::kYes : Verdict::kNo;
  if (!framed_)
    return max_distance_ <= tolerance_ ? Verdict::kYes : Verdict::kMaybe;
  const double x = Dot(v, e1_);
  if (x <= 0 || known_empty_ == 1)
    return Verdict::kNo;
  const double a = Dot(v, e2_) / x;
  const double b = Dot(v, e3_) / x;
  const Directions& sides = Sides();
  bool inner = !inner_dead_;
  for (int m = 0; m < kSides; ++m) {
    const std::size_t k = static_cast<std::size_t>(m);
    const double along = sides.cos[m] * a + sides.sin[m] * b;
    if (along > outer_[k])
      return Verdict::kNo;
    if (along > inner_[k])
      inner = false;
  }
  if (inner && max_distance_ <= rho)
    return Verdict::kYes;
  return Verdict::kMaybe;
}

bool SpaceLineCone::OuterEmpty() {
  ConvexPolygon polygon;
  polygon.SetBox(-box_, box_, -box_, box_);
  const Directions& sides = Sides();
  for (int m = 0; m < kSides; ++m) {
    if (!polygon.Clip(sides.cos[m], sides.sin[m], outer_[static_cast<std::size_t>(m)]))
      return true;
  }
  return false;
}

bool SpaceLineCone::alive() {
  if (!framed_)
    return true;
  if (known_empty_ == -1 && last_added_ >= checked_at_ + 4) {
    checked_at_ = last_added_;
    known_empty_ = OuterEmpty() ? 1 : 0;
  }
  return known_empty_ != 1;
}

// Centres the frame on what is left of the outer region, so that the
// projection stretches it little and the two polygons close in on it.
void SpaceLineCone::Reframe(std::size_t j) {
  ConvexPolygon polygon;
  polygon.SetBox(-box_, box_, -box_, box_);
  const Directions& sides = Sides();
  for (int m = 0; m < kSides; ++m) {
    if (!polygon.Clip(sides.cos[m], sides.sin[m], outer_[static_cast<std::size_t>(m)])) {
      known_empty_ = 1;
      return;
    }
  }
  double a0, a1, b0, b1;
  polygon.Bounds(a0, a1, b0, b1);
  const double ca = (a0 + a1) / 2, cb = (b0 + b1) / 2;
  const double half = std::max(a1 - a0, b1 - b0) / 2;
  framed_at_ = j - origin_index_;
  if (std::sqrt(ca * ca + cb * cb) <= box_ / 4 && half >= box_ / 3)
    return;
  const XYZ direction = Unit(internal::Add(e1_, internal::Add(Scale(ca, e2_), Scale(cb, e3_))));
  Frame(direction, 1.5 * half * (1 + ca * ca + cb * cb) + 1e-12);
  Replay(j);
}

Verdict SpaceLineCone::Advance(std::size_t j) {
  const Verdict verdict = Query(j);
  Add(j);
  const std::size_t count = j - origin_index_;
  if (framed_ && known_empty_ != 1 && count >= 16 && count >= 2 * framed_at_)
    Reframe(j);
  return verdict;
}

}  // namespace zu::pathfit::internal
