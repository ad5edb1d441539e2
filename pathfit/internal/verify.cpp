#include "pathfit/internal/verify.h"

#include <algorithm>
#include <cmath>

namespace zu::pathfit::internal {

namespace {

// Distance from the origin to the segment from a to b.
double OriginToSegment(Vec2 a, Vec2 b) {
  const Vec2 d = b - a;
  const double dd = Dot(d, d);
  double t = dd > 0 ? -Dot(a, d) / dd : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return Norm(a + t * d);
}

}  // namespace

bool LineFits(const RunView& run, std::size_t i, std::size_t j) {
  const XYZ& a = run.points[i];
  const XYZ& b = run.points[j];
  const XYZ d = Sub(b, a);
  const double length = Norm(d);
  if (!(length >= run.min_length) || length == 0)
    return false;
  const XYZ unit = Scale(1 / length, d);
  const double tol = run.tolerance;
  double farthest = 0;
  for (std::size_t k = i + 1; k < j; ++k) {
    const XYZ& p = run.points[k];
    if (SegmentDistance(p, a, b) > tol)
      return false;
    const double along = Dot(Sub(p, a), unit);
    if (along < farthest - 2 * tol)
      return false;
    farthest = std::max(farthest, along);
  }
  return true;
}

// The arc passes near every point (radially where the point's angle falls
// within the sweep, else near the nearer end). For the other direction each
// segment is checked against the part of the arc inside the angle it spans
// at the centre: a segment that keeps at least radius - tol from the centre
// and whose ends lie within the tolerance of the circle is crossed by every
// ray of that angle at a point within the tolerance of the circle; the
// segments' angles, added up with their signs, must come to the sweep, so
// that together they span the whole arc.
bool ArcFits(const RunView& run, std::size_t i, std::size_t j, AxisPlane plane, Vec2 centre,
             bool ccw, FitElement& element) {
  const XYZ& start = run.points[i];
  const XYZ& end = run.points[j];
  const double height = plane.Height(start);
  const Vec2 c = centre;
  const Vec2 a = plane.Project(start) - c;
  const Vec2 b = plane.Project(end) - c;
  const double radius = (Norm(a) + Norm(b)) / 2;
  const ArcLimits& limits = run.arc;
  if (!(radius >= limits.min_radius && radius <= limits.max_radius))
    return false;
  const double turn = ccw ? 1.0 : -1.0;
  double sweep = std::atan2(turn * Cross(a, b), Dot(a, b));
  if (sweep <= 0)
    sweep += 2 * kPi;
  if (!(sweep > 0 && sweep <= limits.max_sweep) || !(radius * sweep >= run.min_length))
    return false;
  const double tol = run.tolerance;
  const double angle_slack = 2 * tol / radius;
  double angle = 0;     // unwrapped angle of point k from the start
  double farthest = 0;  // the largest angle so far
  Vec2 p = a;
  for (std::size_t k = i; k < j; ++k) {
    const XYZ& next_point = run.points[k + 1];
    if (plane.Height(next_point) != height)
      return false;
    const Vec2 q = plane.Project(next_point) - c;
    const double reach = OriginToSegment(p, q);
    if (!(reach >= radius - tol) || !(reach > 0))
      return false;
    angle += std::atan2(turn * Cross(p, q), Dot(p, q));
    if (k + 1 < j) {
      double within = std::fmod(angle, 2 * kPi);
      if (within < 0)
        within += 2 * kPi;
      const double off =
          within <= sweep ? std::fabs(Norm(q) - radius) : std::min(Norm(q - a), Norm(q - b));
      if (!(off <= tol) || angle < farthest - angle_slack)
        return false;
      farthest = std::max(farthest, angle);
    }
    p = q;
  }
  if (!(std::fabs(angle - sweep) < 1e-6))
    return false;
  element.kind = FitElement::Kind::Arc;
  element.start = start;
  element.end = end;
  element.centre = plane.Lift(c, height);
  element.normal = plane.Normal(ccw);
  element.radius = radius;
  element.sweep = sweep;
  return true;
}

}  // namespace zu::pathfit::internal
