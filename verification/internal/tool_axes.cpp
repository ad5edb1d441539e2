#include "verification/internal/tool_axes.h"

#include <algorithm>
#include <cmath>

#include "verification/internal/geometry.h"

namespace zu::verify::internal {

namespace {

constexpr double kDegrees = 180 / 3.14159265358979323846;
// Expected moves looked at ahead of the last found, and behind it (a sample
// at a move's end lies on the next one's start too).
constexpr std::size_t kAhead = 64;
constexpr std::size_t kBehind = 2;

struct ExpectedMove {
  Piece piece;
  Vec from_axis;
  Vec to_axis;
  std::uint32_t path;
  int step;
};

Vec Unit(const Vec& v) {
  const double n = Norm(v);
  return n > 0 ? (1 / n) * v : v;
}

double AngleBetween(const Vec& a, const Vec& b) {
  return std::atan2(Norm(Cross(a, b)), Dot(a, b)) * kDegrees;
}

// The angle (degrees) from `axis` to the nearest axis on the great circle
// from `a` to `b`.
double AngleToArc(const Vec& axis, const Vec& a, const Vec& b) {
  const Vec n = Cross(a, b);
  const double sine = Norm(n);
  if (!(sine > 1e-12))
    return AngleBetween(axis, a);
  const Vec unit = (1 / sine) * n;
  const Vec in_plane = Unit(axis - Dot(axis, unit) * unit);
  // On the arc when the projection lies between a and b.
  if (Dot(Cross(a, in_plane), unit) >= 0 && Dot(Cross(in_plane, b), unit) >= 0)
    return std::asin(std::min(1.0, std::fabs(Dot(axis, unit)))) * kDegrees;
  return std::min(AngleBetween(axis, a), AngleBetween(axis, b));
}

std::vector<ExpectedMove> FiveAxisMoves(const cut::Program& expected) {
  std::vector<ExpectedMove> moves;
  for (std::uint32_t p = 0; p < expected.paths.size(); ++p) {
    const cut::Path& path = expected.paths[p];
    if (!path.five_axis || !path.refusal.empty() || path.steps.empty())
      continue;
    Vec at = path.home.value_or(path.steps.front().end);
    Vec axis = path.steps.front().axis;
    for (std::size_t s = 0; s < path.steps.size(); ++s) {
      const cut::Step& step = path.steps[s];
      if (step.kind == cut::Step::Kind::kDwell)
        continue;
      if (step.kind != cut::Step::Kind::kRapid) {
        const Piece piece = step.kind == cut::Step::Kind::kArc
                                ? MakeArc(at, step.end, step.centre, step.normal)
                                : MakeLine(at, step.end);
        moves.push_back({piece, axis, step.axis, p, static_cast<int>(s)});
      }
      at = step.end;
      axis = step.axis;
    }
  }
  return moves;
}

}  // namespace

AxisComparison CompareToolAxes(const cut::Program& expected, const std::vector<AxisSample>& samples,
                               double tolerance) {
  AxisComparison result;
  const std::vector<ExpectedMove> moves = FiveAxisMoves(expected);
  if (moves.empty())
    return result;
  std::size_t last = 0;
  for (const AxisSample& sample : samples) {
    if (!sample.feed)
      continue;
    const std::size_t first = last > kBehind ? last - kBehind : 0;
    const std::size_t end = std::min(moves.size(), last + kAhead);
    for (std::size_t k = first; k < end; ++k) {
      const ExpectedMove& move = moves[k];
      if (!(DistanceTo(sample.tip, move.piece) <= tolerance))
        continue;
      last = k;
      ++result.compared;
      const double angle = AngleToArc(Unit(sample.axis), move.from_axis, move.to_axis);
      if (!(angle <= result.largest_degrees)) {
        result.largest_degrees = angle;
        result.path = move.path;
        result.step = move.step;
        result.point = sample.tip;
      }
      break;
    }
  }
  return result;
}

}  // namespace zu::verify::internal
