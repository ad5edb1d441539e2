// fit_plot: draws a polyline and what the path fitter makes of it, side by
// side, as an SVG picture (seen from above: X to the right, Y up).
//
//   fit_plot [--tolerance T] [--example NAME | --input FILE [--run N] |
//             --document FILE [--path N] [--kvt K]] --out FILE.svg
//
// Examples: contour (a closed slot with a notch, lines and arcs sampled every
// 0.2 mm, with noise of a tenth of the tolerance), letters (outlines of O D S
// P B e, 8 mm tall), toolpath (arcs chained tangent, sampled every 0.2 mm,
// with the same noise), spiral. --input reads runs of "x y z" lines separated by blank
// lines (the real corpus's format) and draws run N (from 0). --document loads a
// part document and draws the first row of path N (from 0, as `zuhost list`
// counts) before and after the plug-in's optimisation step (optimiser K: 0 the
// line-run optimiser, 1 the optimiser object) at the tolerance.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "conditioning/path_optimization.h"
#include "host/row_ops.h"
#include "hostapp/part_document.h"
#include "pathfit/fit.h"
#include "pathfit/testing/fit_checker.h"
#include "pathfit/testing/fit_shapes.h"
#include "pathfit/testing/move_elements.h"

namespace {

using zu::pathfit::FitElement;
namespace shapes = zu::pathfit::shapes;

struct Drawing {
  std::vector<std::vector<XYZ>> runs;
  std::vector<std::vector<FitElement>> fits;
};

// Appends a straight stretch to (x, y), a point every `step`.
void LineTo(std::vector<XYZ>& points, double x, double y, double step) {
  const XYZ from = points.back();
  const int n = std::max(1, static_cast<int>(std::ceil(std::hypot(x - from.x, y - from.y) / step)));
  for (int k = 1; k <= n; ++k)
    points.push_back({from.x + (x - from.x) * k / n, from.y + (y - from.y) * k / n, 0});
}

// Appends an arc about (cx, cy) from the last point, turning by `sweep`.
void ArcBy(std::vector<XYZ>& points, double cx, double cy, double sweep, double step) {
  shapes::ArcShape arc;
  arc.centre = {cx, cy, 0};
  arc.radius = std::hypot(points.back().x - cx, points.back().y - cy);
  arc.start = std::atan2(points.back().y - cy, points.back().x - cx);
  arc.sweep = sweep;
  const std::vector<XYZ> more = shapes::SampleArc(arc, {shapes::Sampling::Mode::kStep, step});
  points.insert(points.end(), more.begin() + 1, more.end());
}

std::vector<std::vector<XYZ>> Example(const std::string& name, double tolerance) {
  std::mt19937 random(7);
  constexpr double kPi = 3.14159265358979323846;
  if (name == "contour") {
    std::vector<XYZ> points = {{0, 0, 0}};
    LineTo(points, 40, 0, 0.2);
    ArcBy(points, 40, 10, kPi, 0.2);
    LineTo(points, 25, 20, 0.2);
    ArcBy(points, 20, 20, -kPi, 0.2);
    LineTo(points, 0, 20, 0.2);
    ArcBy(points, 0, 10, kPi, 0.2);
    points.back() = points.front();
    shapes::AddNoise(points, tolerance / 10, 2, random);
    return {points};
  }
  if (name == "letters")
    return shapes::LetterOutlines("ODSPBe", 8, 0, {shapes::Sampling::Mode::kStep, 0.15});
  if (name == "toolpath") {
    std::vector<XYZ> path =
        shapes::ToolPath(14, 2, 40, {shapes::Sampling::Mode::kStep, 0.2}, random);
    shapes::AddNoise(path, tolerance / 10, 2, random);
    return {path};
  }
  if (name == "spiral")
    return {shapes::Spiral(1, 1.5, 4, 0.1)};
  return {};
}

bool ReadRun(const std::string& file, std::size_t wanted, std::vector<XYZ>& run) {
  std::ifstream in(file);
  std::string line;
  std::size_t index = 0;
  run.clear();
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    XYZ p;
    if (fields >> p.x >> p.y >> p.z) {
      if (index == wanted)
        run.push_back(p);
    } else if (!run.empty() || index < wanted) {
      if (index == wanted)
        return true;
      if (!line.empty() && line.find_first_not_of(" \t\r") == std::string::npos)
        continue;
      ++index;
    }
  }
  return run.size() >= 2;
}

// The first row of path `number` of a part document, as its points (the
// first move's start, every move's end) and, after the optimisation step,
// as elements. False with a message when there is no such row.
bool OptimisedRow(const std::string& file, std::size_t number, double tolerance, int selector,
                  Drawing& drawing) {
  zuhost::DocumentLoad load = zuhost::LoadPartDocument(file);
  if (!load.document) {
    std::fprintf(stderr, "fit_plot: %s\n", load.error.c_str());
    return false;
  }
  auto& paths = load.document->paths;
  if (number >= paths.size() || !paths[number]->rows || !paths[number]->rows->first) {
    std::fprintf(stderr, "fit_plot: %s has no path %zu with moves\n", file.c_str(), number);
    return false;
  }
  std::unique_ptr<OrvoPath> path = std::move(paths[number]);
  std::vector<XYZ> before;
  for (const tool_block* move = path->rows->first; move; move = move->next) {
    XYZ start;
    XYZ end;
    HostGetHomePoint(move, start, end);
    if (before.empty())
      before.push_back(start);
    before.push_back(end);
  }
  zu::OptimizeWorkingCopy(path, tolerance, selector);
  std::vector<FitElement> after;
  for (const tool_block* move = path->rows->first; move; move = move->next)
    after.push_back(zu::pathfit::ElementOfMove(*move));
  drawing.runs.push_back(before);
  drawing.fits.push_back(after);
  return true;
}

// Points of an element every `step` along it, for drawing.
std::vector<XYZ> Trace(const FitElement& e, double step) {
  if (e.kind == FitElement::Kind::Line)
    return {e.start, e.end};
  const XYZ c = e.centre, n = e.normal;
  const XYZ x = {(e.start.x - c.x) / e.radius, (e.start.y - c.y) / e.radius,
                 (e.start.z - c.z) / e.radius};
  const XYZ y = {n.y * x.z - n.z * x.y, n.z * x.x - n.x * x.z, n.x * x.y - n.y * x.x};
  const int steps = std::max(8, static_cast<int>(e.radius * e.sweep / step));
  std::vector<XYZ> points;
  for (int k = 0; k <= steps; ++k) {
    const double a = e.sweep * k / steps;
    const double ca = std::cos(a) * e.radius, sa = std::sin(a) * e.radius;
    points.push_back(
        {c.x + ca * x.x + sa * y.x, c.y + ca * x.y + sa * y.y, c.z + ca * x.z + sa * y.z});
  }
  return points;
}

class Svg {
 public:
  Svg(double x0, double y0, double x1, double y1, double panel) : x0_(x0), y1_(y1) {
    scale_ = panel / std::max(x1 - x0, y1 - y0);
    width_ = (x1 - x0) * scale_;
    height_ = (y1 - y0) * scale_;
  }
  double width() const { return width_; }
  double height() const { return height_; }
  std::string X(double x, double shift) const { return Number((x - x0_) * scale_ + shift); }
  std::string Y(double y) const { return Number((y1_ - y) * scale_ + kTop); }
  static std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
  }
  static constexpr double kTop = 30;

 private:
  double x0_, y1_, scale_, width_ = 0, height_ = 0;
};

std::string Polyline(const Svg& svg, const std::vector<XYZ>& points, double shift,
                     const char* style) {
  std::string out = "<polyline style=\"" + std::string(style) + "\" points=\"";
  for (const XYZ& p : points)
    out += svg.X(p.x, shift) + "," + svg.Y(p.y) + " ";
  return out + "\"/>\n";
}

std::string Dot(const Svg& svg, const XYZ& p, double shift, double r, const char* fill) {
  return "<circle cx=\"" + svg.X(p.x, shift) + "\" cy=\"" + svg.Y(p.y) + "\" r=\"" +
         Svg::Number(r) + "\" fill=\"" + fill + "\"/>\n";
}

}  // namespace

int main(int argc, char** argv) {
  double tolerance = 0.01;
  std::string example = "contour", input, document, out;
  std::size_t run_index = 0, path_number = 0;
  int selector = 0;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    const auto value = [&] { return k + 1 < argc ? std::string(argv[++k]) : std::string(); };
    if (arg == "--tolerance")
      tolerance = std::atof(value().c_str());
    else if (arg == "--example")
      example = value();
    else if (arg == "--input")
      input = value();
    else if (arg == "--run")
      run_index = static_cast<std::size_t>(std::atol(value().c_str()));
    else if (arg == "--document")
      document = value();
    else if (arg == "--path")
      path_number = static_cast<std::size_t>(std::atol(value().c_str()));
    else if (arg == "--kvt")
      selector = std::atoi(value().c_str());
    else if (arg == "--out")
      out = value();
    else {
      std::fprintf(stderr, "fit_plot: unknown argument %s\n", arg.c_str());
      return 1;
    }
  }
  if (out.empty() || !(tolerance > 0)) {
    std::fprintf(stderr,
                 "usage: fit_plot [--tolerance T] [--example contour|letters|toolpath|spiral | "
                 "--input FILE [--run N] | --document FILE [--path N] [--kvt K]] --out FILE.svg\n");
    return 1;
  }
  Drawing drawing;
  if (!document.empty()) {
    if (!OptimisedRow(document, path_number, tolerance, selector, drawing))
      return 1;
  } else if (!input.empty()) {
    std::vector<XYZ> run;
    if (!ReadRun(input, run_index, run)) {
      std::fprintf(stderr, "fit_plot: no run %zu of two points or more in %s\n", run_index,
                   input.c_str());
      return 1;
    }
    drawing.runs.push_back(run);
  } else {
    drawing.runs = Example(example, tolerance);
    if (drawing.runs.empty()) {
      std::fprintf(stderr, "fit_plot: no example %s\n", example.c_str());
      return 1;
    }
  }
  zu::pathfit::FitLimits limits;
  limits.tolerance = tolerance;
  std::size_t points = 0, elements = 0, arcs = 0, violations = 0;
  const bool fitted = !drawing.fits.empty();  // by the optimisation step
  for (std::size_t r = 0; r < drawing.runs.size(); ++r) {
    const std::vector<XYZ>& run = drawing.runs[r];
    if (!fitted) {
      const zu::pathfit::FitResult fit = zu::pathfit::FitPolyline(run, limits);
      drawing.fits.push_back(fit.ok() ? fit.elements : std::vector<FitElement>{});
    }
    const std::vector<FitElement>& fit = drawing.fits[r];
    points += run.size();
    elements += fit.size();
    for (const FitElement& e : fit)
      arcs += e.kind == FitElement::Kind::Arc;
    if (!fit.empty())
      violations += zu::pathfit::check::CheckFit(run, fit, limits).violations();
  }

  double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
  for (const auto& run : drawing.runs) {
    for (const XYZ& p : run) {
      x0 = std::min(x0, p.x);
      x1 = std::max(x1, p.x);
      y0 = std::min(y0, p.y);
      y1 = std::max(y1, p.y);
    }
  }
  const double margin = 0.03 * std::max(x1 - x0, y1 - y0) + 1e-9;
  const Svg svg(x0 - margin, y0 - margin, x1 + margin, y1 + margin, 460);
  const double gap = 20, right = svg.width() + gap;
  const double dot = std::max(0.6, 1.2 * 460 / std::max(1.0, std::sqrt(double(points)) * 20));
  std::string body;
  for (std::size_t r = 0; r < drawing.runs.size(); ++r) {
    body += Polyline(svg, drawing.runs[r], 0, "fill:none;stroke:#888;stroke-width:0.6");
    for (const XYZ& p : drawing.runs[r])
      body += Dot(svg, p, 0, dot, "#444");
    for (const FitElement& e : drawing.fits[r]) {
      const bool arc = e.kind == FitElement::Kind::Arc;
      body += Polyline(svg, Trace(e, (x1 - x0) / 400), right,
                       arc ? "fill:none;stroke:#d95f02;stroke-width:1.6"
                           : "fill:none;stroke:#1b5e9e;stroke-width:1.6");
      body += Dot(svg, e.start, right, 2.2, "#222");
    }
    if (!drawing.fits[r].empty())
      body += Dot(svg, drawing.fits[r].back().end, right, 2.2, "#222");
  }
  char caption[400];
  std::snprintf(caption, sizeof caption, "before: %zu points (%zu straight moves)", points,
                points - drawing.runs.size());
  char after[400];
  std::snprintf(after, sizeof after,
                "after: %zu elements, %zu arcs (orange), %zu lines (blue); tolerance %g mm; "
                "checker: %zu violations",
                elements, arcs, elements - arcs, tolerance, violations);
  const double width = 2 * svg.width() + gap, height = svg.height() + Svg::kTop + 10;
  std::ofstream file(out);
  file << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Svg::Number(width)
       << "\" height=\"" << Svg::Number(height) << "\" viewBox=\"0 0 " << Svg::Number(width) << " "
       << Svg::Number(height) << "\">\n"
       << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
       << "<g font-family=\"sans-serif\" font-size=\"11\">\n"
       << "<text x=\"4\" y=\"14\">" << caption << "</text>\n"
       << "<text x=\"" << Svg::Number(right + 4) << "\" y=\"14\">" << after << "</text>\n</g>\n"
       << body << "</svg>\n";
  if (!file) {
    std::fprintf(stderr, "fit_plot: cannot write %s\n", out.c_str());
    return 1;
  }
  std::printf("fit_plot: %s: %zu points, %zu elements (%zu arcs), %zu violations\n", out.c_str(),
              points, elements, arcs, violations);
  return violations == 0 ? 0 : 1;
}
