#include "drawing/internal/arc.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zu::draw::internal {

Point Add(const Point& a, const Point& b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Point Sub(const Point& a, const Point& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Point Scale(double s, const Point& a) {
  return {s * a.x, s * a.y, s * a.z};
}
double Dot(const Point& a, const Point& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
Point Cross(const Point& a, const Point& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Norm(const Point& a) {
  return std::sqrt(Dot(a, a));
}

Point ArcFrame::At(double angle) const {
  const double t = sweep != 0 ? angle / sweep : 0;
  return Add(Add(centre, Scale(radius, Add(Scale(std::cos(angle), a), Scale(std::sin(angle), b)))),
             Scale(rise * t, normal));
}

std::optional<ArcFrame> FrameOf(const Move& move) {
  const double length = Norm(move.normal);
  if (move.kind != Move::Kind::kArc || !(length > 0) || !std::isfinite(length) ||
      !(move.sweep != 0) || !std::isfinite(move.sweep))
    return std::nullopt;
  ArcFrame arc;
  arc.normal = Scale(1 / length, move.normal);
  arc.start = move.from;
  arc.centre = Add(move.centre, Scale(Dot(Sub(move.from, move.centre), arc.normal), arc.normal));
  const Point radial = Sub(move.from, arc.centre);
  arc.radius = Norm(radial);
  if (!(arc.radius > 0) || !std::isfinite(arc.radius))
    return std::nullopt;
  arc.a = Scale(1 / arc.radius, radial);
  arc.b = Cross(arc.normal, arc.a);
  arc.sweep = std::clamp(move.sweep, -2 * std::numbers::pi, 2 * std::numbers::pi);
  arc.rise = Dot(Sub(move.to, move.from), arc.normal);
  return arc;
}

std::vector<double> ExtremeAngles(const ArcFrame& arc, const Point& direction) {
  // Along the direction the arc is r (p cos t + q sin t): largest at
  // atan2(q, p), smallest half a turn on.
  const double p = Dot(arc.a, direction), q = Dot(arc.b, direction);
  std::vector<double> angles;
  if (p == 0 && q == 0)
    return angles;
  const double first = std::atan2(q, p);
  const double sign = arc.sweep < 0 ? -1 : 1;
  const double span = std::fabs(arc.sweep);
  for (int k = -2; k <= 4; ++k) {
    // The angle as counted in the sweep's direction.
    const double along = sign * (first + k * std::numbers::pi);
    if (along > 0 && along < span)
      angles.push_back(sign * along);
  }
  return angles;
}

std::vector<Point> SampleArc(const ArcFrame& arc, double tolerance) {
  // A chord of angle s lies r (1 - cos(s / 2)) from the arc at most.
  double step = std::numbers::pi / 2;
  if (tolerance < arc.radius)
    step = std::min(step, 2 * std::acos(1 - tolerance / arc.radius));
  const double span = std::fabs(arc.sweep);
  int pieces = step > 0 ? static_cast<int>(std::min<double>(std::ceil(span / step), kMaxSegments))
                        : kMaxSegments;
  pieces = std::max(pieces, 1);
  std::vector<Point> points;
  points.reserve(static_cast<std::size_t>(pieces) + 1);
  for (int k = 0; k <= pieces; ++k)
    points.push_back(arc.At(arc.sweep * k / pieces));
  return points;
}

}  // namespace zu::draw::internal
