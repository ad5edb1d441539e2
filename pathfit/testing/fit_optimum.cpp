#include "pathfit/testing/fit_optimum.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "pathfit/testing/fit_checker.h"

namespace zu::pathfit::check {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

double Coord(const XYZ& p, int axis) {
  return axis == 0 ? p.x : (axis == 1 ? p.y : p.z);
}
void SetCoord(XYZ& p, int axis, double value) {
  (axis == 0 ? p.x : (axis == 1 ? p.y : p.z)) = value;
}

struct Flat {
  double u, v;
};
// In-plane coordinates of the plane normal to `axis`, counter-clockwise
// about the positive axis: (y, z) for X, (z, x) for Y, (x, y) for Z.
Flat InPlane(const XYZ& p, int axis) {
  return {Coord(p, (axis + 1) % 3), Coord(p, (axis + 2) % 3)};
}

// Closed intervals of the bulge s = tan(sweep / 4) (signed: positive
// counter-clockwise), kept sorted and apart.
class Intervals {
 public:
  void Set(double lo, double hi) {
    count_ = 0;
    if (lo <= hi)
      items_[count_++] = {lo, hi};
  }
  bool empty() const { return count_ == 0; }
  int size() const { return count_; }
  std::pair<double, double> item(int k) const { return items_[static_cast<std::size_t>(k)]; }

  // Keeps the part where a s^2 + b s + c <= 0.
  void KeepNonPositive(double a, double b, double c) {
    if (count_ == 0)
      return;
    std::array<std::pair<double, double>, 2> allowed;
    int n_allowed = 0;
    if (a == 0) {
      if (b == 0) {
        if (c > 0)
          count_ = 0;
        return;
      }
      const double root = -c / b;
      allowed[n_allowed++] = b > 0 ? std::pair{-kInf, root} : std::pair{root, kInf};
    } else {
      const double disc = b * b - 4 * a * c;
      if (disc < 0) {
        if (a > 0)
          count_ = 0;
        return;
      }
      const double q = -0.5 * (b + std::copysign(std::sqrt(disc), b));
      double r1 = q / a;
      double r2 = q != 0 ? c / q : r1;
      if (r1 > r2)
        std::swap(r1, r2);
      if (a > 0) {
        allowed[n_allowed++] = {r1, r2};
      } else {
        allowed[n_allowed++] = {-kInf, r1};
        allowed[n_allowed++] = {r2, kInf};
      }
    }
    std::array<std::pair<double, double>, kRoom> kept;
    int n = 0;
    for (int k = 0; k < count_; ++k) {
      for (int m = 0; m < n_allowed && n < kRoom; ++m) {
        const double lo = std::max(items_[static_cast<std::size_t>(k)].first,
                                   allowed[static_cast<std::size_t>(m)].first);
        const double hi = std::min(items_[static_cast<std::size_t>(k)].second,
                                   allowed[static_cast<std::size_t>(m)].second);
        if (lo <= hi)
          kept[static_cast<std::size_t>(n++)] = {lo, hi};
      }
    }
    count_ = n;
    std::copy(kept.begin(), kept.begin() + n, items_.begin());
  }

 private:
  static constexpr int kRoom = 8;
  std::array<std::pair<double, double>, kRoom> items_{};
  int count_ = 0;
};

// Arcs from one point to another in one plane, by their bulge.
class ArcFamily {
 public:
  ArcFamily(const XYZ& from, const XYZ& to, int axis) : from_(from), to_(to), axis_(axis) {
    const Flat a = InPlane(from, axis), b = InPlane(to, axis);
    const double wu = b.u - a.u, wv = b.v - a.v;
    chord_ = std::hypot(wu, wv);
    half_ = chord_ / 2;
    mid_ = {(a.u + b.u) / 2, (a.v + b.v) / 2};
    across_ = chord_ > 0 ? Flat{-wv / chord_, wu / chord_} : Flat{0, 0};
  }
  bool usable() const { return chord_ > 0; }

  // The constraint of a point within `tol` of the circle, as two quadratics
  // in s: lower <= 0 keeps it no farther outside, upper <= 0 no farther
  // inside (for s > 0; the roles swap for s < 0).
  struct Pair {
    double a1, b1, c1;  // outside bound for s > 0, inside bound for s < 0
    double a2, b2, c2;  // inside bound for s > 0, outside bound for s < 0
  };
  Pair Constraint(const XYZ& p, double tol) const {
    const Flat q = InPlane(p, axis_);
    const double du = q.u - mid_.u, dv = q.v - mid_.v;
    const double u = du * du + dv * dv - half_ * half_ - tol * tol;
    const double v = across_.u * du + across_.v * dv;
    const double a = half_;
    return {a * (v - tol), u, -a * (v + tol), -a * (v + tol), -u, a * (v - tol)};
  }

  FitElement Element(double s) const {
    const double h = half_ * (1 - s * s) / (2 * s);
    const Flat centre = {mid_.u + h * across_.u, mid_.v + h * across_.v};
    const Flat a = InPlane(from_, axis_), b = InPlane(to_, axis_);
    FitElement e;
    e.kind = FitElement::Kind::Arc;
    e.start = from_;
    e.end = to_;
    SetCoord(e.centre, axis_, Coord(from_, axis_));
    SetCoord(e.centre, (axis_ + 1) % 3, centre.u);
    SetCoord(e.centre, (axis_ + 2) % 3, centre.v);
    SetCoord(e.normal, axis_, s > 0 ? 1.0 : -1.0);
    e.radius =
        (std::hypot(a.u - centre.u, a.v - centre.v) + std::hypot(b.u - centre.u, b.v - centre.v)) /
        2;
    e.sweep = 4 * std::atan(std::fabs(s));
    return e;
  }

  double half() const { return half_; }

 private:
  XYZ from_, to_;
  int axis_;
  double chord_ = 0, half_ = 0;
  Flat mid_{}, across_{};
};

struct Edge {
  std::uint32_t from = 0;
  std::int8_t kind = 0;  // 0 line, 1 + axis for an arc
  double bulge = 0;
};

class Solver {
 public:
  Solver(std::span<const XYZ> points, const FitLimits& limits)
      : points_(points), limits_(limits), n_(points.size()) {
    for (int axis = 0; axis < 3; ++axis) {
      auto& level = level_end_[static_cast<std::size_t>(axis)];
      level.assign(n_, 0);
      for (std::size_t k = n_; k-- > 0;) {
        level[k] =
            k + 1 < n_ && Coord(points[k + 1], axis) == Coord(points[k], axis) ? level[k + 1] : k;
      }
    }
  }

  Optimum Solve();
  // One element from the first point to the last that passes CheckFit.
  bool Whole(FitElement& element) const;

 private:
  bool Follows(std::size_t i, std::size_t j, const FitElement& e) const;
  bool TryLine(std::size_t i, std::size_t j) const;
  bool TryArc(std::size_t i, std::size_t j, Edge& edge) const;
  FitElement ElementOf(std::size_t j, const Edge& edge) const;

  std::span<const XYZ> points_;
  FitLimits limits_;
  std::size_t n_;
  std::array<std::vector<std::size_t>, 3> level_end_;  // last index at the same height
};

// Whether the points strictly between i and j follow e; a few points inside
// first, as most candidates that fail do so there.
bool Solver::Follows(std::size_t i, std::size_t j, const FitElement& e) const {
  const double tol = limits_.tolerance;
  if (j > i + 1) {
    for (std::size_t probe : {(i + j) / 2, i + (j - i) / 4 + 1, j - (j - i) / 4 - 1}) {
      if (probe > i && probe < j && !(DistanceToElement(points_[probe], e) <= tol))
        return false;
    }
  }
  return PointsFollow(points_.subspan(i + 1, j - i - 1), e, tol);
}

bool Solver::TryLine(std::size_t i, std::size_t j) const {
  FitElement line;
  line.start = points_[i];
  line.end = points_[j];
  return ElementProblem(line, limits_).empty() && Follows(i, j, line);
}

bool Solver::TryArc(std::size_t i, std::size_t j, Edge& edge) const {
  const double tol = limits_.tolerance;
  for (int axis : {2, 1, 0}) {
    if (level_end_[static_cast<std::size_t>(axis)][i] < j)
      continue;
    const ArcFamily family(points_[i], points_[j], axis);
    if (!family.usable())
      continue;
    const double a = family.half();
    const double most = limits_.max_arc_sweep >= 2 * 3.14159265358979323846
                            ? 1e12
                            : std::tan(limits_.max_arc_sweep / 4);
    Intervals positive, negative;
    positive.Set(1e-15, most);
    negative.Set(-most, -1e-15);
    // Radius r = a (1 + s^2) / (2 |s|) within the limits.
    if (std::isfinite(limits_.max_arc_radius)) {
      positive.KeepNonPositive(a, -2 * limits_.max_arc_radius, a);
      negative.KeepNonPositive(a, 2 * limits_.max_arc_radius, a);
    }
    positive.KeepNonPositive(-a, 2 * limits_.min_arc_radius, -a);
    negative.KeepNonPositive(-a, -2 * limits_.min_arc_radius, -a);
    const auto point = [&](std::size_t k) {
      const ArcFamily::Pair c = family.Constraint(points_[k], tol);
      positive.KeepNonPositive(c.a1, c.b1, c.c1);
      positive.KeepNonPositive(c.a2, c.b2, c.c2);
      negative.KeepNonPositive(c.a1, c.b1, c.c1);
      negative.KeepNonPositive(c.a2, c.b2, c.c2);
    };
    const auto midpoint = [&](std::size_t k) {
      const XYZ& p = points_[k];
      const XYZ& q = points_[k + 1];
      const XYZ m = {(p.x + q.x) / 2, (p.y + q.y) / 2, (p.z + q.z) / 2};
      const ArcFamily::Pair c = family.Constraint(m, tol);
      positive.KeepNonPositive(c.a2, c.b2, c.c2);
      negative.KeepNonPositive(c.a1, c.b1, c.c1);
    };
    if (j > i + 1)
      point((i + j) / 2);
    for (std::size_t k = i + 1; k < j && !(positive.empty() && negative.empty()); ++k)
      point(k);
    for (std::size_t k = i; k < j && !(positive.empty() && negative.empty()); ++k)
      midpoint(k);
    // The middle of the widest interval first, then other places.
    std::vector<double> tries;
    double widest = -1;
    for (const Intervals* set : {&positive, &negative}) {
      for (int k = 0; k < set->size(); ++k) {
        const auto [lo, hi] = set->item(k);
        if (hi - lo > widest) {
          widest = hi - lo;
          tries.insert(tries.begin(), (lo + hi) / 2);
        } else {
          tries.push_back((lo + hi) / 2);
        }
        tries.push_back(lo + (hi - lo) / 4);
        tries.push_back(hi - (hi - lo) / 4);
      }
    }
    for (double s : tries) {
      if (s == 0)
        continue;
      const FitElement e = family.Element(s);
      if (ElementProblem(e, limits_).empty() && Follows(i, j, e)) {
        edge.kind = static_cast<std::int8_t>(1 + axis);
        edge.bulge = s;
        return true;
      }
    }
  }
  return false;
}

FitElement Solver::ElementOf(std::size_t j, const Edge& edge) const {
  if (edge.kind == 0) {
    FitElement line;
    line.start = points_[edge.from];
    line.end = points_[j];
    return line;
  }
  return ArcFamily(points_[edge.from], points_[j], edge.kind - 1).Element(edge.bulge);
}

bool Solver::Whole(FitElement& element) const {
  const std::size_t last = n_ - 1;
  Edge edge;
  if (TryLine(0, last))
    edge.kind = 0;
  else if (!TryArc(0, last, edge))
    return false;
  element = ElementOf(last, edge);
  const FitElement one[1] = {element};
  return CheckFit(points_, one, limits_).ok();
}

Optimum Solver::Solve() {
  Optimum result;
  if (n_ < 2)
    return result;
  std::vector<std::vector<Edge>> into(n_);
  for (std::size_t i = 0; i + 1 < n_; ++i) {
    std::size_t last_fit = i;
    for (std::size_t j = i + 1; j < n_; ++j) {
      const std::size_t span = last_fit - i;
      if (j - std::max(last_fit, i) > std::max<std::size_t>(32, 2 * span))
        break;
      Edge edge;
      edge.from = static_cast<std::uint32_t>(i);
      if (TryLine(i, j) || TryArc(i, j, edge)) {
        into[j].push_back(edge);
        last_fit = j;
      }
    }
  }
  // Cheapest chain; its elements through the full check; again without any
  // that failed.
  std::vector<std::vector<char>> struck(n_);
  for (std::size_t j = 0; j < n_; ++j)
    struck[j].assign(into[j].size(), 0);
  for (;;) {
    std::vector<std::size_t> cost(n_, std::numeric_limits<std::size_t>::max());
    std::vector<std::size_t> via(n_, 0);
    cost[0] = 0;
    for (std::size_t j = 1; j < n_; ++j) {
      for (std::size_t k = 0; k < into[j].size(); ++k) {
        const std::size_t from = into[j][k].from;
        if (struck[j][k] || cost[from] == std::numeric_limits<std::size_t>::max())
          continue;
        if (cost[from] + 1 < cost[j]) {
          cost[j] = cost[from] + 1;
          via[j] = k;
        }
      }
    }
    if (cost[n_ - 1] == std::numeric_limits<std::size_t>::max())
      return result;
    std::vector<FitElement> chain;
    bool all_pass = true;
    for (std::size_t j = n_ - 1; j > 0;) {
      const Edge& edge = into[j][via[j]];
      const FitElement e = ElementOf(j, edge);
      const FitElement one[1] = {e};
      if (!CheckFit(points_.subspan(edge.from, j - edge.from + 1), one, limits_).ok()) {
        struck[j][via[j]] = 1;
        ++result.struck_off;
        all_pass = false;
      }
      chain.push_back(e);
      j = edge.from;
    }
    if (all_pass) {
      std::reverse(chain.begin(), chain.end());
      result.chain = std::move(chain);
      result.found = true;
      return result;
    }
  }
}

}  // namespace

Optimum FitOptimum(std::span<const XYZ> points, const FitLimits& limits, std::size_t at_most) {
  Optimum result;
  if (points.size() < 2)
    return result;
  Solver solver(points, limits);
  if (at_most == 1 || at_most == 2) {
    result.found = true;
    result.count = at_most;
    FitElement whole;
    if (at_most == 1 || solver.Whole(whole))
      result.count = 1;
    return result;
  }
  result = solver.Solve();
  result.count = result.chain.size();
  return result;
}

std::vector<std::pair<std::size_t, std::size_t>> Chunks(std::size_t count, std::size_t max_points) {
  std::vector<std::pair<std::size_t, std::size_t>> ranges;
  max_points = std::max<std::size_t>(max_points, 2);
  if (count < 2)
    return ranges;
  // Even pieces: the same number of chunks, each about as long.
  const std::size_t segments = count - 1;
  const std::size_t per = max_points - 1;
  const std::size_t pieces = (segments + per - 1) / per;
  std::size_t first = 0;
  for (std::size_t k = 0; k < pieces; ++k) {
    const std::size_t last = (k + 1) * segments / pieces;
    ranges.emplace_back(first, last);
    first = last;
  }
  return ranges;
}

}  // namespace zu::pathfit::check
