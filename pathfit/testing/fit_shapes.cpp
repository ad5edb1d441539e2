#include "pathfit/testing/fit_shapes.h"

#include <algorithm>
#include <cmath>

namespace zu::pathfit::shapes {

namespace {

constexpr double kPi = 3.14159265358979323846;

double Get(const XYZ& p, int axis) {
  return axis == 0 ? p.x : (axis == 1 ? p.y : p.z);
}

double Uniform(std::mt19937& random, double lo, double hi) {
  return std::uniform_real_distribution<double>(lo, hi)(random);
}

// Draws lines and arcs in XY, one run.
class Pen {
 public:
  Pen(double x, double y, Sampling sampling) : sampling_(sampling) { points_.push_back({x, y, 0}); }

  void LineTo(double x, double y, double spacing = 0) {
    const XYZ from = points_.back();
    const double length = std::hypot(x - from.x, y - from.y);
    const std::size_t steps =
        spacing > 0
            ? std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(length / spacing)))
            : 1;
    for (std::size_t k = 1; k <= steps; ++k) {
      const double t = static_cast<double>(k) / static_cast<double>(steps);
      points_.push_back({from.x + t * (x - from.x), from.y + t * (y - from.y), 0});
    }
  }

  // About (cx, cy) from the current point, turning by `sweep`.
  void ArcAbout(double cx, double cy, double sweep) {
    const XYZ from = points_.back();
    ArcShape arc;
    arc.centre = {cx, cy, 0};
    arc.radius = std::hypot(from.x - cx, from.y - cy);
    arc.start = std::atan2(from.y - cy, from.x - cx);
    arc.sweep = sweep;
    const std::vector<XYZ> more = SampleArc(arc, sampling_);
    points_.insert(points_.end(), more.begin() + 1, more.end());
  }

  // Ends the run exactly where it began.
  void Close() { points_.back() = points_.front(); }

  std::vector<XYZ> Take() { return std::move(points_); }

 private:
  Sampling sampling_;
  std::vector<XYZ> points_;
};

}  // namespace

XYZ InPlane(double u, double v, int axis, double height) {
  double c[3];
  c[axis] = height;
  c[(axis + 1) % 3] = u;
  c[(axis + 2) % 3] = v;
  return {c[0], c[1], c[2]};
}

std::vector<XYZ> SampleArc(const ArcShape& arc, Sampling sampling) {
  double step;
  if (sampling.mode == Sampling::Mode::kStep) {
    step = sampling.value / arc.radius;
  } else {
    step = sampling.value < arc.radius ? 2 * std::acos(1 - sampling.value / arc.radius) : kPi / 2;
  }
  step = std::min(step, kPi / 2);
  const std::size_t n =
      std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(std::fabs(arc.sweep) / step)));
  const int axis = arc.axis;
  const double cu = Get(arc.centre, (axis + 1) % 3);
  const double cv = Get(arc.centre, (axis + 2) % 3);
  const double height = Get(arc.centre, axis);
  std::vector<XYZ> points;
  points.reserve(n + 1);
  for (std::size_t k = 0; k <= n; ++k) {
    const double angle = arc.start + arc.sweep * static_cast<double>(k) / static_cast<double>(n);
    points.push_back(InPlane(cu + arc.radius * std::cos(angle), cv + arc.radius * std::sin(angle),
                             axis, height));
  }
  return points;
}

void AddNoise(std::vector<XYZ>& points, double amplitude, int axis, std::mt19937& random) {
  for (std::size_t k = 1; k + 1 < points.size(); ++k) {
    const double r = amplitude * std::sqrt(Uniform(random, 0, 1));
    const double angle = Uniform(random, 0, 2 * kPi);
    XYZ& p = points[k];
    const double u = Get(p, (axis + 1) % 3) + r * std::cos(angle);
    const double v = Get(p, (axis + 2) % 3) + r * std::sin(angle);
    p = InPlane(u, v, axis, Get(p, axis));
  }
}

std::vector<XYZ> Spiral(double r0, double pitch, double turns, double step) {
  std::vector<XYZ> points;
  const double end = turns * 2 * kPi;
  const double rise = pitch / (2 * kPi);
  for (double theta = 0;;) {
    const double r = r0 + rise * theta;
    points.push_back({r * std::cos(theta), r * std::sin(theta), 0});
    if (theta >= end)
      break;
    theta = std::min(end, theta + step / std::hypot(r, rise));
  }
  return points;
}

std::vector<XYZ> Helix(double radius, double rise, double turns, double step) {
  std::vector<XYZ> points;
  const double end = turns * 2 * kPi;
  const double per = rise / (2 * kPi);
  const double d_theta = step / std::hypot(radius, per);
  for (double theta = 0;;) {
    points.push_back({radius * std::cos(theta), radius * std::sin(theta), per * theta});
    if (theta >= end)
      break;
    theta = std::min(end, theta + d_theta);
  }
  return points;
}

std::vector<XYZ> SplineChain(std::size_t pieces, double size, std::size_t per_piece,
                             std::mt19937& random) {
  const auto any = [&] { return XYZ{Uniform(random, 0, size), Uniform(random, 0, size), 0}; };
  std::vector<XYZ> points;
  XYZ p0 = any(), p1 = any(), p2 = any(), p3 = any();
  for (std::size_t piece = 0; piece < pieces; ++piece) {
    for (std::size_t k = piece == 0 ? 0 : 1; k <= per_piece; ++k) {
      const double t = static_cast<double>(k) / static_cast<double>(per_piece);
      const double a = (1 - t) * (1 - t) * (1 - t), b = 3 * t * (1 - t) * (1 - t),
                   c = 3 * t * t * (1 - t), d = t * t * t;
      points.push_back({a * p0.x + b * p1.x + c * p2.x + d * p3.x,
                        a * p0.y + b * p1.y + c * p2.y + d * p3.y, 0});
    }
    const XYZ next1 = {2 * p3.x - p2.x, 2 * p3.y - p2.y, 0};
    p0 = p3;
    p1 = next1;
    p2 = any();
    p3 = any();
  }
  return points;
}

std::vector<XYZ> Zigzag(std::size_t teeth, double pitch, double height) {
  std::vector<XYZ> points;
  for (std::size_t k = 0; k <= 2 * teeth; ++k)
    points.push_back({static_cast<double>(k) * pitch / 2, k % 2 ? height : 0.0, 0});
  return points;
}

std::vector<XYZ> Star(std::size_t tips, double outer, double inner) {
  std::vector<XYZ> points;
  for (std::size_t k = 0; k < 2 * tips; ++k) {
    const double r = k % 2 ? inner : outer;
    const double angle = kPi * static_cast<double>(k) / static_cast<double>(tips);
    points.push_back({r * std::cos(angle), r * std::sin(angle), 0});
  }
  points.push_back(points.front());
  return points;
}

std::vector<std::vector<XYZ>> LetterOutlines(const char* letters, double height, double x0,
                                             Sampling sampling) {
  std::vector<std::vector<XYZ>> runs;
  const double h = height;
  for (const char* c = letters; *c; ++c) {
    const double w = 0.6 * h;
    switch (*c) {
      case 'O': {
        Pen pen(x0 + w, w / 2, sampling);
        pen.LineTo(x0 + w, h - w / 2, h / 20);
        pen.ArcAbout(x0 + w / 2, h - w / 2, kPi);
        pen.LineTo(x0, w / 2, h / 20);
        pen.ArcAbout(x0 + w / 2, w / 2, kPi);
        pen.Close();
        runs.push_back(pen.Take());
        break;
      }
      case 'D': {
        Pen pen(x0, 0, sampling);
        pen.LineTo(x0 + 0.1 * h, 0);
        pen.ArcAbout(x0 + 0.1 * h, h / 2, kPi);
        pen.LineTo(x0, h);
        pen.LineTo(x0, 0, h / 10);
        pen.Close();
        runs.push_back(pen.Take());
        break;
      }
      case 'S': {
        const double r = h / 4;
        const double a0 = 20 * kPi / 180;
        Pen pen(x0 + r + r * std::cos(a0), h - r + r * std::sin(a0), sampling);
        pen.ArcAbout(x0 + r, h - r, 1.5 * kPi - a0);
        pen.ArcAbout(x0 + r, r, -(1.5 * kPi - a0));
        runs.push_back(pen.Take());
        break;
      }
      case 'P': {
        Pen pen(x0, 0, sampling);
        pen.LineTo(x0, h, h / 10);
        pen.LineTo(x0 + 0.3 * h, h);
        pen.ArcAbout(x0 + 0.3 * h, 0.75 * h, -kPi);
        pen.LineTo(x0, h / 2);
        runs.push_back(pen.Take());
        break;
      }
      case 'B': {
        Pen pen(x0, 0, sampling);
        pen.LineTo(x0, h, h / 10);
        pen.LineTo(x0 + 0.3 * h, h);
        pen.ArcAbout(x0 + 0.3 * h, 0.75 * h, -kPi);
        pen.ArcAbout(x0 + 0.3 * h, 0.25 * h, -kPi);
        pen.LineTo(x0, 0);
        pen.Close();
        runs.push_back(pen.Take());
        break;
      }
      case 'e': {
        const double r = 0.3 * h;
        Pen pen(x0, r, sampling);
        pen.LineTo(x0 + 2 * r, r, r / 5);
        pen.ArcAbout(x0 + r, r, 300 * kPi / 180);
        runs.push_back(pen.Take());
        break;
      }
      default:
        break;
    }
    x0 += w + 0.3 * h;
  }
  return runs;
}

std::vector<XYZ> ToolPath(std::size_t pieces, double r_min, double r_max, Sampling sampling,
                          std::mt19937& random) {
  Pen pen(0, 0, sampling);
  double heading = 0;
  XYZ at{0, 0, 0};
  const double spacing = sampling.mode == Sampling::Mode::kStep ? sampling.value : 0.5;
  for (std::size_t piece = 0; piece < pieces; ++piece) {
    if (piece % 2 == 0 && Uniform(random, 0, 1) < 0.5) {
      const double length = Uniform(random, 1, 20);
      at = {at.x + length * std::cos(heading), at.y + length * std::sin(heading), 0};
      pen.LineTo(at.x, at.y, spacing);
      continue;
    }
    const double radius = r_min * std::pow(r_max / r_min, Uniform(random, 0, 1));
    double sweep = Uniform(random, 10, 270) * kPi / 180;
    sweep = std::min(sweep, 200 / radius);
    const double side = Uniform(random, 0, 1) < 0.5 ? 1.0 : -1.0;
    const double cx = at.x - side * radius * std::sin(heading);
    const double cy = at.y + side * radius * std::cos(heading);
    pen.ArcAbout(cx, cy, side * sweep);
    heading += side * sweep;
    const double angle = std::atan2(at.y - cy, at.x - cx) + side * sweep;
    at = {cx + radius * std::cos(angle), cy + radius * std::sin(angle), 0};
  }
  return pen.Take();
}

}  // namespace zu::pathfit::shapes
