#include "pathfit/testing/fit_checker.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

namespace zu::pathfit::check {

namespace {

constexpr double kTwoPi = 6.28318530717958647692;

struct V {
  double x, y, z;
};
V Of(const XYZ& p) {
  return {p.x, p.y, p.z};
}
V operator+(V a, V b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
V operator-(V a, V b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V operator*(double s, V a) {
  return {s * a.x, s * a.y, s * a.z};
}
double Dot(V a, V b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
V Cross(V a, V b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Length(V a) {
  return std::sqrt(Dot(a, a));
}

bool SameBits(const XYZ& a, const XYZ& b) {
  return std::bit_cast<std::uint64_t>(a.x) == std::bit_cast<std::uint64_t>(b.x) &&
         std::bit_cast<std::uint64_t>(a.y) == std::bit_cast<std::uint64_t>(b.y) &&
         std::bit_cast<std::uint64_t>(a.z) == std::bit_cast<std::uint64_t>(b.z);
}

bool Finite(const XYZ& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// The checker's own view of an element: a curve by arc length.
struct Curve {
  bool arc = false;
  V a{}, b{};
  V centre{}, normal{}, ex{}, ey{};
  V unit{};  // lines
  double radius = 0, sweep = 0, length = 0;

  explicit Curve(const FitElement& e) {
    a = Of(e.start);
    b = Of(e.end);
    if (e.kind == FitElement::Kind::Arc) {
      arc = true;
      centre = Of(e.centre);
      normal = Of(e.normal);
      const V from = a - centre;
      ex = (1 / Length(from)) * from;
      ey = Cross(normal, ex);
      radius = e.radius;
      sweep = e.sweep;
      length = radius * sweep;
    } else {
      const V d = b - a;
      length = Length(d);
      unit = length > 0 ? (1 / length) * d : V{0, 0, 0};
    }
  }

  V At(double s) const {
    if (!arc)
      return a + s * unit;
    const double phi = s / radius;
    return centre + radius * (std::cos(phi) * ex + std::sin(phi) * ey);
  }

  // The nearest point to p among those at arc length >= from: its distance
  // and arc length.
  void Nearest(V p, double from, double& distance, double& at) const {
    from = std::clamp(from, 0.0, length);
    if (!arc) {
      const double t = std::clamp(Dot(p - a, unit), from, length);
      at = t;
      distance = Length(p - (a + t * unit));
      return;
    }
    const V q = p - centre;
    const double h = Dot(q, normal);
    const double qx = Dot(q, ex), qy = Dot(q, ey);
    double phi = std::atan2(qy, qx);
    if (phi < 0)
      phi += kTwoPi;
    const double phi_from = from / radius;
    if (phi >= phi_from && phi <= sweep) {
      const double off = std::hypot(qx, qy) - radius;
      distance = std::sqrt(off * off + h * h);
      at = radius * phi;
      return;
    }
    // Outside the piece's angle: its nearer end.
    const double d_from = Length(p - At(from));
    const double d_end = Length(p - b);
    if (d_from <= d_end) {
      distance = d_from;
      at = from;
    } else {
      distance = d_end;
      at = length;
    }
  }
};

double SegmentDistance(V p, V a, V b) {
  const V d = b - a;
  const double dd = Dot(d, d);
  const double t = dd > 0 ? std::clamp(Dot(p - a, d) / dd, 0.0, 1.0) : 0.0;
  return Length(p - (a + t * d));
}

void Note(CheckReport& report, const char* format, double a = 0, double b = 0, double c = 0) {
  if (!report.first_problem.empty())
    return;
  char text[200];
  std::snprintf(text, sizeof text, format, a, b, c);
  report.first_problem = text;
}

// The polyline as segments, with each segment's distance from the start.
class Polyline {
 public:
  explicit Polyline(std::span<const XYZ> points) {
    for (const XYZ& p : points)
      points_.push_back(Of(p));
    along_.push_back(0);
    for (std::size_t k = 0; k + 1 < points_.size(); ++k)
      along_.push_back(along_.back() + Length(points_[k + 1] - points_[k]));
  }
  std::size_t segments() const { return points_.size() < 2 ? 1 : points_.size() - 1; }
  double Distance(V p, std::size_t k) const {
    if (points_.size() < 2)
      return Length(p - points_[0]);
    return SegmentDistance(p, points_[k], points_[k + 1]);
  }
  double Along(std::size_t k) const { return along_[std::min(k, along_.size() - 1)]; }

 private:
  std::vector<V> points_;
  std::vector<double> along_;
};

constexpr std::size_t kFullScanCap = 20000;

}  // namespace

double DistanceToElement(const XYZ& p, const FitElement& element) {
  double distance, at;
  Curve(element).Nearest(Of(p), 0, distance, at);
  return distance;
}

std::string ElementProblem(const FitElement& e, const FitLimits& limits) {
  char text[200];
  if (!Finite(e.start) || !Finite(e.end))
    return "an end is not finite";
  if (e.kind == FitElement::Kind::Line) {
    const double length = Length(Of(e.end) - Of(e.start));
    if (!(length >= limits.min_section_line) || length == 0) {
      std::snprintf(text, sizeof text, "line of length %.3g", length);
      return text;
    }
    return {};
  }
  if (!Finite(e.centre) || !Finite(e.normal) || !std::isfinite(e.radius) || !std::isfinite(e.sweep))
    return "arc with a value not finite";
  const double n[3] = {e.normal.x, e.normal.y, e.normal.z};
  int axis = -1;
  int zeros = 0;
  for (int i = 0; i < 3; ++i) {
    if (n[i] == 0)
      ++zeros;
    else if (n[i] == 1 || n[i] == -1)
      axis = i;
  }
  if (zeros != 2 || axis < 0)
    return "arc normal not one of +-X, +-Y, +-Z";
  const auto height = [axis](const XYZ& p) { return axis == 0 ? p.x : (axis == 1 ? p.y : p.z); };
  if (height(e.start) != height(e.centre) || height(e.end) != height(e.centre))
    return "arc ends and centre not at one height along the normal";
  if (!(e.radius >= limits.min_arc_radius && e.radius <= limits.max_arc_radius)) {
    std::snprintf(text, sizeof text, "arc radius %.9g out of the limits", e.radius);
    return text;
  }
  if (!(e.sweep > 0 && e.sweep <= limits.max_arc_sweep)) {
    std::snprintf(text, sizeof text, "arc sweep %.9g out of the limits", e.sweep);
    return text;
  }
  const double slack = 1e-9 * std::max(1.0, e.radius);
  const double from_start = Length(Of(e.start) - Of(e.centre));
  const double from_end = Length(Of(e.end) - Of(e.centre));
  if (!(std::fabs(from_start - e.radius) <= slack) || !(std::fabs(from_end - e.radius) <= slack)) {
    std::snprintf(text, sizeof text, "arc ends at %.12g and %.12g from the centre, radius %.12g",
                  from_start, from_end, e.radius);
    return text;
  }
  const Curve curve(e);
  const double miss = Length(curve.At(curve.length) - Of(e.end));
  if (!(miss <= slack)) {
    std::snprintf(text, sizeof text, "arc end %.3g away from where the sweep ends", miss);
    return text;
  }
  if (!(curve.length >= limits.min_section_line)) {
    std::snprintf(text, sizeof text, "arc of length %.3g", curve.length);
    return text;
  }
  return {};
}

bool PointsFollow(std::span<const XYZ> points, const FitElement& element, double tolerance) {
  const Curve curve(element);
  double farthest = 0;
  for (const XYZ& p : points) {
    double distance, at;
    curve.Nearest(Of(p), farthest - 2 * tolerance, distance, at);
    if (!(distance <= tolerance))
      return false;
    farthest = std::max(farthest, at);
  }
  return true;
}

CheckReport CheckFit(std::span<const XYZ> points, std::span<const FitElement> elements,
                     const FitLimits& limits) {
  CheckReport report;
  const double tol = limits.tolerance;
  if (points.empty() || elements.empty()) {
    ++report.bad_joins;
    report.first_problem = "no points or no elements";
    return report;
  }
  if (!SameBits(elements.front().start, points.front())) {
    ++report.bad_joins;
    Note(report, "the first element does not start at the first point");
  }
  if (!SameBits(elements.back().end, points.back())) {
    ++report.bad_joins;
    Note(report, "the last element does not end at the last point");
  }
  for (std::size_t e = 0; e < elements.size(); ++e) {
    if (e + 1 < elements.size() && !SameBits(elements[e].end, elements[e + 1].start)) {
      ++report.bad_joins;
      Note(report, "element %.0f does not end where the next starts", static_cast<double>(e));
    }
    const std::string problem = ElementProblem(elements[e], limits);
    if (!problem.empty()) {
      ++report.bad_elements;
      if (report.first_problem.empty())
        report.first_problem = "element " + std::to_string(e) + ": " + problem;
    }
  }
  if (report.bad_elements != 0)
    return report;  // the curves below need well-formed elements

  std::vector<Curve> curves;
  std::vector<double> begins;  // arc length of the chain where each element starts
  double total = 0;
  for (const FitElement& e : elements) {
    curves.emplace_back(e);
    begins.push_back(total);
    total += curves.back().length;
  }
  std::size_t full_scans = 0;

  // Input points: near the chain, in order.
  std::size_t cursor = 0;
  double farthest = 0;
  for (const XYZ& point : points) {
    const V p = Of(point);
    const auto try_element = [&](std::size_t e) {
      double distance, at;
      curves[e].Nearest(p, farthest - 2 * tol - begins[e], distance, at);
      if (!(distance <= tol))
        return false;
      report.worst_point = std::max(report.worst_point, distance);
      farthest = std::max(farthest, begins[e] + at);
      cursor = e;
      return true;
    };
    bool found = false;
    for (std::size_t e = cursor; e < curves.size() && e <= cursor + 16 && !found; ++e)
      found = try_element(e);
    for (std::size_t e = cursor; e > 0 && !found;) {
      --e;
      if (begins[e] + curves[e].length < farthest - 2 * tol)
        break;
      found = try_element(e);
    }
    if (!found && full_scans < kFullScanCap) {
      ++full_scans;
      for (std::size_t e = 0; e < curves.size() && !found; ++e)
        found = try_element(e);
    }
    if (found)
      continue;
    double nearest = std::numeric_limits<double>::infinity();
    for (const Curve& curve : curves) {
      double distance, at;
      curve.Nearest(p, 0, distance, at);
      nearest = std::min(nearest, distance);
    }
    if (nearest <= tol) {
      ++report.points_backwards;
      Note(report, "point (%.6f, %.6f, %.6f) lies only behind the chain's progress", p.x, p.y, p.z);
    } else {
      ++report.points_far;
      report.worst_point = std::max(report.worst_point, nearest);
      Note(report, "point (%.6f, %.6f, %.6f) is off the chain", p.x, p.y, p.z);
    }
  }

  // The chain, sampled: near the polyline.
  const Polyline polyline(points);
  const std::size_t segments = polyline.segments();
  std::size_t segment = 0;
  double travelled = 0;  // along the chain since the last sample found near
  const double step_limit = tol / 4;
  for (std::size_t e = 0; e < curves.size(); ++e) {
    const Curve& curve = curves[e];
    const std::size_t steps =
        std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(curve.length / step_limit)));
    const double step = curve.length / static_cast<double>(steps);
    const double turn = curve.arc ? curve.sweep / static_cast<double>(steps) : 0;
    double cos_turn = std::cos(turn), sin_turn = std::sin(turn);
    double cx = 1, cy = 0;  // cos and sin of the sample's angle on an arc
    for (std::size_t m = 0; m <= steps; ++m) {
      if (curve.arc && m > 0) {
        if (m % 64 == 0) {
          cx = std::cos(turn * static_cast<double>(m));
          cy = std::sin(turn * static_cast<double>(m));
        } else {
          const double nx = cx * cos_turn - cy * sin_turn;
          cy = cx * sin_turn + cy * cos_turn;
          cx = nx;
        }
      }
      if (m == 0 && e > 0)
        continue;  // the previous element's end
      V q;
      if (m == steps)
        q = curve.b;
      else if (curve.arc)
        q = curve.centre + curve.radius * (cx * curve.ex + cy * curve.ey);
      else
        q = curve.a + (step * static_cast<double>(m)) * curve.unit;
      ++report.samples;
      if (m > 0)
        travelled += step;
      double distance = polyline.Distance(q, segment);
      bool found = distance <= tol;
      for (std::size_t k = segment + 1;
           !found && k < segments &&
           (k <= segment + 16 ||
            polyline.Along(k) - polyline.Along(segment + 1) <= travelled + 4 * tol);
           ++k) {
        distance = polyline.Distance(q, k);
        if (distance <= tol) {
          found = true;
          segment = k;
        }
      }
      for (std::size_t k = segment; !found && k > 0 && k + 16 > segment;) {
        distance = polyline.Distance(q, --k);
        if (distance <= tol) {
          found = true;
          segment = k;
        }
      }
      if (!found) {
        if (full_scans < kFullScanCap) {
          ++full_scans;
          double nearest = std::numeric_limits<double>::infinity();
          std::size_t best = segment;
          for (std::size_t k = 0; k < segments; ++k) {
            const double d = polyline.Distance(q, k);
            if (d < nearest) {
              nearest = d;
              best = k;
            }
          }
          distance = nearest;
          if (nearest <= tol) {
            found = true;
            segment = best;
          }
        } else {
          report.scans_capped = true;
        }
      }
      if (found) {
        travelled = 0;
        report.worst_sample = std::max(report.worst_sample, distance);
      } else {
        ++report.samples_far;
        report.worst_sample = std::max(report.worst_sample, distance);
        Note(report, "chain point (%.6f, %.6f, %.6f) is off the polyline", q.x, q.y, q.z);
      }
    }
  }
  return report;
}

}  // namespace zu::pathfit::check
