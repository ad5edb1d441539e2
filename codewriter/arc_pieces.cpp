#include "codewriter/arc_pieces.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zu::codewriter {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kMostChords = 100000;

}  // namespace

double Get(const cut::Vec& v, int axis) {
  return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

void Set(cut::Vec& v, int axis, double value) {
  (axis == 0 ? v.x : axis == 1 ? v.y : v.z) = value;
}

PlaneAxes AxesOf(const cut::Vec& normal) {
  if (normal.x != 0)
    return {1, 2, 0};
  if (normal.y != 0)
    return {2, 0, 1};
  return {0, 1, 2};
}

void SplitArc(const cut::Vec& start, const cut::Step& step, const machine::Arcs& arcs,
              double tolerance, ArcSplit& split) {
  split.pieces.clear();
  const PlaneAxes axes = AxesOf(step.normal);
  const double sign = Get(step.normal, axes.normal) > 0 ? 1 : -1;
  const double cu = Get(step.centre, axes.first), cv = Get(step.centre, axes.second);
  const double su = Get(start, axes.first) - cu, sv = Get(start, axes.second) - cv;
  const double eu = Get(step.end, axes.first) - cu, ev = Get(step.end, axes.second) - cv;
  const double radius = std::hypot(su, sv);
  const double end_radius = std::hypot(eu, ev);
  const double start_height = Get(start, axes.normal);
  const double rise = Get(step.end, axes.normal) - start_height;
  // The sweep counter-clockwise about the normal; a closed arc is a full turn.
  double sweep = std::atan2(su * ev - sv * eu, su * eu + sv * ev) * sign;
  if (sweep <= 0)
    sweep += 2 * kPi;
  if (std::hypot(eu - su, ev - sv) == 0)
    sweep = 2 * kPi;

  const bool plane = axes.normal == 2 ? arcs.xy : axes.normal == 1 ? arcs.zx : arcs.yz;
  split.outcome = ArcOutcome::kArcs;
  if (!(radius > 0) || std::fabs(radius - end_radius) > tolerance)
    split.outcome = ArcOutcome::kLinesDegenerate;
  else if (!plane)
    split.outcome = ArcOutcome::kLinesPlane;
  else if (radius < arcs.min_radius || (arcs.max_radius > 0 && radius > arcs.max_radius))
    split.outcome = ArcOutcome::kLinesRadius;
  else if (rise != 0 && !arcs.helical)
    split.outcome = ArcOutcome::kLinesHelix;

  // The point at angle t along the arc, rising with it.
  const double start_angle = std::atan2(sv, su);
  const auto at = [&](double t, double r) {
    const double a = start_angle + sign * t;
    cut::Vec p = start;
    Set(p, axes.first, cu + r * std::cos(a));
    Set(p, axes.second, cv + r * std::sin(a));
    Set(p, axes.normal, start_height + rise * (t / sweep));
    return p;
  };

  if (split.outcome != ArcOutcome::kArcs) {
    if (split.outcome == ArcOutcome::kLinesDegenerate || !(radius > 0)) {
      split.pieces.push_back({false, step.end, {}, 0, 0});
      return;
    }
    // Chords whose middle lies within the tolerance of the arc.
    const double half = radius > tolerance ? std::acos(1 - tolerance / radius) : kPi / 2;
    const int count = std::clamp(static_cast<int>(std::ceil(sweep / (2 * half))), 1, kMostChords);
    for (int k = 1; k < count; ++k)
      split.pieces.push_back({false, at(sweep * k / count, radius), {}, 0, 0});
    split.pieces.push_back({false, step.end, {}, 0, 0});
    return;
  }
  double most = std::clamp(arcs.max_sweep_degrees, 1.0, 360.0) * kPi / 180;
  // A radius word cannot say a full turn, nor tell 180 degrees from 180.
  if (arcs.centre == machine::ArcCentre::kRadius)
    most = std::min(most, kPi * (179.999 / 180));
  // A block whose end is its start reads as a full turn or as nothing:
  // a full turn goes in two.
  most = std::min(most, 2 * kPi * 0.99999);
  const int count = std::max(1, static_cast<int>(std::ceil(sweep / most - 1e-12)));
  for (int k = 1; k <= count; ++k) {
    const double t = sweep * k / count;
    ArcPiece piece;
    piece.arc = true;
    piece.end = k == count ? step.end : at(t, radius);
    piece.centre = step.centre;
    Set(piece.centre, axes.normal, start_height + rise * ((k - 1.0) / count));
    piece.sweep = sweep / count;
    piece.radius = radius;
    split.pieces.push_back(piece);
  }
}

}  // namespace zu::codewriter
