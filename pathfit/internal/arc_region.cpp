#include "pathfit/internal/arc_region.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zu::pathfit::internal {

namespace {

// The largest frame box: tangents up to about 76 degrees off the frame axis.
constexpr double kWideBox = 4.0;
// Outer slabs are widened by this much more, so that rounding never drops a
// circle that fits.
constexpr double kOuterMargin = 1 + 1e-9;
// When outer's range of tau is narrower than this, its chord and the
// tangent of sqrt(1 + tau^2) differ by less than 1e-5: the inner polygon is
// no longer kept.
constexpr double kNarrow = 0.008;
// Outer polygons spanning a range of tau wider than this (their chord up to
// 8 per cent above sqrt(1 + tau^2)) are watched by the sectors from this many
// points on, checked again each time the count doubles.
constexpr double kWide = 0.8;
constexpr std::size_t kWatchFrom = 8;
// Where along a section the circles are tried against the limits: the
// middle, and on sections longer than kLongSection in tau four more.
constexpr double kSectionPlaces[] = {0.5, 0.125, 0.375, 0.625, 0.875};
constexpr double kLongSection = 0.2;

Vec2 Rotate(Vec2 v, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  return {c * v.x - s * v.y, s * v.x + c * v.y};
}

}  // namespace

bool CircleAt(const ArcGuess& guess, double t, const ArcLimits& limits, Vec2& centre, bool& ccw,
              double* sweep) {
  const Vec2 at = guess.first + t * (guess.second - guess.first);
  const double cos_t = 1 / std::sqrt(1 + at.y * at.y);
  const double sin_t = at.y * cos_t;
  const double kappa = at.x * cos_t;
  if (kappa == 0)
    return false;
  // The centre as (K, tau) gives it, then moved onto the perpendicular
  // bisector of the chord so that both end points are equally far from it.
  const Vec2 e1 = guess.axis, e2 = Left(guess.axis);
  const Vec2 raw = guess.origin + ((-sin_t / kappa) * e1 + (cos_t / kappa) * e2);
  const Vec2 chord = guess.end - guess.origin;
  const double length = Norm(chord);
  if (length == 0)
    return false;
  const Vec2 mid = guess.origin + 0.5 * chord;
  const Vec2 across = (1 / length) * Left(chord);
  const double offset = Dot(raw - mid, across);
  centre = mid + offset * across;
  const double radius = std::sqrt(offset * offset + length * length / 4);
  if (radius < limits.min_radius || radius > limits.max_radius)
    return false;
  const Vec2 a = guess.origin - centre, b = guess.end - centre;
  const double turn = RoughAngle(a, b);
  ccw = kappa > 0;
  const double swept =
      ccw ? (turn > 0 ? turn : turn + 2 * kPi) : (turn < 0 ? -turn : 2 * kPi - turn);
  if (sweep)
    *sweep = swept;
  return swept <= limits.max_sweep;
}

bool NarrowSection(const ArcGuess& guess, const XYZ* points, std::size_t i, std::size_t j,
                   AxisPlane plane, double tolerance, double& lo, double& hi) {
  const Vec2 axis_x = guess.axis, axis_y = Left(guess.axis);
  const Vec2 from = guess.first, step = guess.second - guess.first;
  const double side = from.x + 0.5 * step.x > 0 ? 1.0 : -1.0;  // sign of K
  const double middle = from.y + 0.5 * step.y;
  const double f = std::sqrt(1 + middle * middle);
  // tol (a + b tau(t)) = c0 + c1 t
  const double b = middle / f, a = 1 / f;
  const double c0 = tolerance * (a + b * from.y), c1 = tolerance * b * step.y;
  lo = 0;
  hi = 1;
  // Keeps the t where e0 + e1 t <= c0 + c1 t.
  const auto keep = [&](double e0, double e1) {
    const double slope = e1 - c1, rest = c0 - e0;
    if (slope > 0)
      hi = std::min(hi, rest / slope);
    else if (slope < 0)
      lo = std::max(lo, rest / slope);
    else if (rest < 0)
      hi = -1;
  };
  // a K + x tau - y along the section, for a point of the frame.
  const auto along = [&](Vec2 q, double& at_first, double& per_t) {
    const Vec2 p = {Dot(q, axis_x), Dot(q, axis_y)};
    const double k = (p.x * p.x + p.y * p.y - tolerance * tolerance) / 2;
    at_first = k * from.x + p.x * from.y - p.y;
    per_t = k * step.x + p.x * step.y;
  };
  Vec2 previous = plane.Project(points[i]) - guess.origin;
  for (std::size_t k = i + 1; k <= j && lo <= hi; ++k) {
    const Vec2 q = plane.Project(points[k]) - guess.origin;
    double e0, e1;
    along(0.5 * (previous + q), e0, e1);
    keep(-side * e0, -side * e1);  // the midpoint no deeper inside
    if (k < j) {
      along(q, e0, e1);
      keep(e0, e1);
      keep(-e0, -e1);
    }
    previous = q;
  }
  return lo <= hi;
}

void ArcRegion::Start(const XYZ* points, std::size_t origin, AxisPlane plane,
                      const ArcLimits& limits) {
  points_ = points;
  origin_index_ = origin;
  plane_ = plane;
  origin_ = plane.Project(points[origin]);
  limits_ = limits;
  killed_ = false;
  framed_ = false;
  framed_at_ = 0;
  turning_started_ = false;
  turning_ = 0;
  first_noise_ = 0;
  extremes_set_ = false;
  turning_most_ = turning_least_ = 0;
  most_noise_ = least_noise_ = 0;
  farthest_ = 0;
  turned_back_ = false;
  widest_ = 0;
  watching_ = false;
}

Vec2 ArcRegion::Local(std::size_t k) const {
  const Vec2 q = plane_.Project(points_[k]) - origin_;
  return {Dot(q, e1_), Dot(q, e2_)};
}

void ArcRegion::Frame(Vec2 axis, double box) {
  e1_ = axis;
  e2_ = Left(axis);
  const double k_lo = 1 / limits_.max_radius;
  const double k_hi =
      std::sqrt(1 + box * box) / std::max(limits_.min_radius, limits_.tolerance / 4);
  for (int s = 0; s < 2; ++s) {
    Side& side = sides_[s];
    side.sign = s == 0 ? 1.0 : -1.0;
    side.outer_a = std::sqrt(1 + box * box) * kOuterMargin;
    side.outer_b = 0;
    side.inner_a = 1;
    side.inner_b = 0;
    side.inner_state = Inner::kKept;
    side.inner.set_kind(ConvexPolygon::Kind::kInner);
    if (!(k_lo < k_hi)) {
      side.inner.SetEmpty();
      side.outer.SetEmpty();
      continue;
    }
    const double lo = s == 0 ? k_lo : -k_hi;
    const double hi = s == 0 ? k_hi : -k_lo;
    side.inner.SetBox(lo, hi, -box, box);
    side.outer.SetBox(lo, hi, -box, box);
  }
  framed_ = true;
}

void ArcRegion::AddPoint(std::size_t k) {
  const Vec2 p = Local(k);
  const double tol = limits_.tolerance;
  const double a = (p.x * p.x + p.y * p.y - tol * tol) / 2;
  // a K + x tau - y within +-tol (c + d tau).
  for (Side& side : sides_) {
    if (side.inner_state == Inner::kKept && !side.inner.empty()) {
      const double c = tol * side.inner_a, d = tol * side.inner_b;
      side.inner.Clip(a, p.x - d, p.y + c);
      side.inner.Clip(-a, -p.x - d, -p.y + c);
    }
    if (!side.outer.empty()) {
      const double c = tol * side.outer_a, d = tol * side.outer_b;
      side.outer.Clip(a, p.x - d, p.y + c);
      side.outer.Clip(-a, -p.x - d, -p.y + c);
    }
  }
}

// The midpoint of a segment must not lie deeper inside the circle than the
// tolerance: on the side of positive curvature that bounds the slab's
// expression from below, on the other from above.
void ArcRegion::AddMidpoint(std::size_t k) {
  const Vec2 a_end = plane_.Project(points_[k - 1]) - origin_;
  const Vec2 b_end = plane_.Project(points_[k]) - origin_;
  const Vec2 q = 0.5 * (a_end + b_end);
  const Vec2 p = {Dot(q, e1_), Dot(q, e2_)};
  const double tol = limits_.tolerance;
  const double a = (p.x * p.x + p.y * p.y - tol * tol) / 2;
  for (Side& side : sides_) {
    const double s = side.sign;
    if (side.inner_state == Inner::kKept && !side.inner.empty()) {
      const double c = tol * side.inner_a, d = tol * side.inner_b;
      side.inner.Clip(-s * a, -s * p.x - d, -s * p.y + c);
    }
    if (!side.outer.empty()) {
      const double c = tol * side.outer_a, d = tol * side.outer_b;
      side.outer.Clip(-s * a, -s * p.x - d, -s * p.y + c);
    }
  }
}

void ArcRegion::Rebound() {
  widest_ = 0;
  for (Side& side : sides_) {
    if (side.outer.empty())
      continue;
    double k0, k1, t0, t1;
    side.outer.Bounds(k0, k1, t0, t1);
    const double f0 = std::sqrt(1 + t0 * t0), f1 = std::sqrt(1 + t1 * t1);
    const double middle = (t0 + t1) / 2;
    const double fm = std::sqrt(1 + middle * middle);
    if (t1 - t0 > 1e-9) {
      side.outer_b = (f1 - f0) / (t1 - t0);
      side.outer_a = (f0 - side.outer_b * t0) * kOuterMargin;
    } else {
      side.outer_b = middle / fm;
      side.outer_a = (fm - side.outer_b * middle) * kOuterMargin + 1e-12;
    }
    side.inner_b = middle / fm;
    side.inner_a = 1 / fm;
    widest_ = std::max(widest_, t1 - t0);
    if (t1 - t0 < kNarrow)
      side.inner_state = Inner::kDropped;
  }
}

bool ArcRegion::Query(std::size_t j, ArcGuess& guess) const {
  const Vec2 p = Local(j);
  const double rho2 = p.x * p.x + p.y * p.y;
  guess.origin = origin_;
  guess.axis = e1_;
  guess.end = plane_.Project(points_[j]);
  Vec2 centre;
  bool ccw;
  double sweep;
  for (const bool inner : {true, false}) {
    for (const Side& side : sides_) {
      if (inner && side.inner_state != Inner::kKept)
        continue;
      const ConvexPolygon& polygon = inner ? side.inner : side.outer;
      if (!polygon.LineSection(rho2 / 2, p.x, p.y, guess.first, guess.second))
        continue;
      guess.sure = inner || side.inner_state == Inner::kDropped;
      // The points have wound about half the sweep of an arc they follow
      // (measured at the chord): an arc that sweeps much less goes round
      // the short way, past points that went on round. The middle of the
      // section first; one long in tau may keep to the radius limits only
      // towards an end (circles of the least radius amid scattered points).
      const bool long_section = std::fabs(guess.second.y - guess.first.y) > kLongSection;
      for (const double t : kSectionPlaces) {
        if (CircleAt(guess, t, limits_, centre, ccw, &sweep) &&
            sweep >= 2 * (ccw ? turning_ : -turning_) - kPi / 4 - 2 * first_noise_)
          return true;
        if (!long_section)
          break;
      }
    }
  }
  return false;
}

// Turns the frame towards the middle of the region when the region lies off
// its axis, and rebuilds both polygons there. Allowed every two points while
// the element is short, then each time its length doubles, so that the
// rebuilding stays linear.
void ArcRegion::Reframe(std::size_t j) {
  const std::size_t count = j - origin_index_;
  if (!(count >= 2 * framed_at_ || (count <= 16 && count >= framed_at_ + 2)))
    return;
  double t_lo = std::numeric_limits<double>::infinity();
  double t_hi = -t_lo;
  for (const Side& side : sides_) {
    if (side.outer.empty())
      continue;
    double k0, k1, t0, t1;
    side.outer.Bounds(k0, k1, t0, t1);
    t_lo = std::min(t_lo, t0);
    t_hi = std::max(t_hi, t1);
  }
  if (!(t_lo <= t_hi))
    return;
  framed_at_ = count;
  const double a_lo = std::atan(t_lo), a_hi = std::atan(t_hi);
  const double half = (a_hi - a_lo) / 2;
  const double middle = (a_lo + a_hi) / 2;
  if (std::max(std::fabs(a_lo), std::fabs(a_hi)) <= std::max(1.2 * half, 0.05))
    return;
  Frame(Rotate(e1_, middle), std::tan(std::min(half, 1.45)) * 1.05 + 1e-12);
  for (std::size_t k = origin_index_ + 1; k <= j; ++k) {
    AddMidpoint(k);
    AddPoint(k);
  }
  Rebound();
}

bool ArcRegion::Advance(std::size_t j, ArcGuess& guess) {
  if (killed_)
    return false;
  const Vec2 chord = plane_.Project(points_[j]) - origin_;
  const double rho = Norm(chord);
  const double tol = limits_.tolerance;
  if (rho > tol) {
    const Vec2 direction = (1 / rho) * chord;
    if (turning_started_) {
      const double step = RoughAngle(last_chord_, direction);
      // Points that went round and pass by the start again flip the chord
      // by about half a turn in one step, which the counter cannot tell
      // from a turn back. No arc from the start reaches past that point
      // (its sweep would exceed a full turn): the region ends there.
      if (std::fabs(step) > kPi / 2 && std::fabs(turning_) > kPi / 2 && rho < farthest_ / 2) {
        killed_ = true;
        return false;
      }
      turning_ += step;
    } else {
      turning_started_ = true;
      first_noise_ = std::asin(std::min(1.0, tol / rho));
    }
    last_chord_ = direction;
    // A point within the tolerance of an arc is seen from the start within
    // asin(tol / rho) of where the arc is; going back along the arc by twice
    // the tolerance turns the chord back by at most 2 tol / rho. Turned back
    // by more than that from the farthest turn either way: the points no
    // longer follow one arc in order.
    if (rho >= 3 * tol) {
      const double noise = std::asin(tol / rho);
      if (!extremes_set_) {
        extremes_set_ = true;
        turning_most_ = turning_least_ = turning_;
        most_noise_ = least_noise_ = noise;
      } else {
        const double back = 2 * tol / rho;
        if (turning_ < turning_most_ - 1.5 * (noise + most_noise_ + back) &&
            turning_ > turning_least_ + 1.5 * (noise + least_noise_ + back))
          turned_back_ = true;
        if (turning_ > turning_most_) {
          turning_most_ = turning_;
          most_noise_ = noise;
        }
        if (turning_ < turning_least_) {
          turning_least_ = turning_;
          least_noise_ = noise;
        }
      }
    }
  }
  // Short of half a turn the chord grows along an arc: one that shrinks by
  // more than the tolerance allows means the points went back.
  if (rho < farthest_ - 5 * tol &&
      std::max(turning_most_, -turning_least_) + first_noise_ < kPi / 2 - 0.2)
    turned_back_ = true;
  farthest_ = std::max(farthest_, rho);
  if (!framed_) {
    if (rho < limits_.tolerance)
      return false;
    Frame((1 / rho) * chord, kWideBox);
    framed_at_ = j - origin_index_;
    for (std::size_t k = origin_index_ + 1; k < j; ++k) {
      AddMidpoint(k);
      AddPoint(k);
    }
    Rebound();
  }
  AddMidpoint(j);
  const bool hit = Query(j, guess);
  AddPoint(j);
  Rebound();
  Reframe(j);
  const std::size_t count = j - origin_index_;
  if (watching_ || (count >= kWatchFrom && (count & (count - 1)) == 0))
    Watch(j);
  return hit;
}

// Called on every point while the sectors are fed, else from the
// kWatchFrom-th point on each time the count doubles. Starts the sectors
// once the region has stayed wide for a while, then feeds them each point
// while it stays wide; when no circle is left in them, no arc from the
// start reaches point j or further and the region ends. A region that
// narrows (points following an arc beyond a few tolerances) bounds its
// circles closely itself: the sectors are dropped there, and started afresh
// should it be wide again when its count next doubles.
void ArcRegion::Watch(std::size_t j) {
  if (watching_) {
    if (!(widest_ > kWide))
      watching_ = false;
    else if (!sectors_.Add(plane_.Project(points_[j])))
      killed_ = true;
    return;
  }
  // Circles below the tolerance in radius keep every point that stays within
  // about the tolerance of the start, which the sectors cannot tell apart:
  // with a least radius below the tolerance they would only cost.
  if (!(widest_ > kWide) || !(limits_.min_radius >= limits_.tolerance))
    return;
  watching_ = true;
  // An arc the exact tests pass has at least the least radius; the sectors
  // keep a little less, for rounding.
  sectors_.Start(origin_, limits_.tolerance, limits_.min_radius * (1 - 1e-6));
  for (std::size_t k = origin_index_ + 1; k <= j; ++k) {
    if (!sectors_.Add(plane_.Project(points_[k]))) {
      killed_ = true;
      return;
    }
  }
}

bool ArcRegion::alive() const {
  if (killed_ || turned_back_)
    return false;
  // The chord from the start turns by half the arc's sweep.
  if (std::fabs(turning_) > limits_.max_sweep / 2 + kPi / 4 + first_noise_)
    return false;
  if (!framed_)
    return true;
  return !sides_[0].outer.empty() || !sides_[1].outer.empty();
}

}  // namespace zu::pathfit::internal
