// fit_plot: draws a polyline and what the path fitter makes of it, side by
// side, as an SVG picture (seen from above: X to the right, Y up), through
// the drawing library.
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
#include "drawing/svg_picture.h"
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

zu::draw::Point P(const XYZ& p) {
  return {p.x, p.y, p.z};
}

// The runs before on the left, the fitted elements after them on the
// right, `shift` further along X: lines in blue, arcs in orange, dots at
// the points before and at the ends of the elements after.
zu::draw::Picture PictureOf(const Drawing& drawing, double shift) {
  using zu::draw::Mark;
  using zu::draw::Move;
  zu::draw::Trace before, lines, arcs;
  before.colour = "#888888";
  before.stroke_px = 0.6;
  lines.colour = "#1b5e9e";
  arcs.colour = "#d95f02";
  lines.stroke_px = arcs.stroke_px = 1.6;
  std::size_t points = 0;
  const auto moved = [shift](const XYZ& p) { return zu::draw::Point{p.x + shift, p.y, p.z}; };
  for (std::size_t r = 0; r < drawing.runs.size(); ++r) {
    const std::vector<XYZ>& run = drawing.runs[r];
    points += run.size();
    for (std::size_t i = 0; i < run.size(); ++i) {
      before.marks.push_back({Mark::Kind::kPoint, P(run[i])});
      if (i > 0)
        before.moves.push_back({Move::Kind::kLine, false, P(run[i - 1]), P(run[i]), {}, {}, 0});
    }
    for (const FitElement& e : drawing.fits[r]) {
      const bool arc = e.kind == FitElement::Kind::Arc;
      Move move{arc ? Move::Kind::kArc : Move::Kind::kLine,
                false,
                moved(e.start),
                moved(e.end),
                moved(e.centre),
                P(e.normal),
                e.sweep};
      (arc ? arcs : lines).moves.push_back(move);
      lines.marks.push_back({Mark::Kind::kPoint, moved(e.start)});
    }
    if (!drawing.fits[r].empty())
      lines.marks.push_back({Mark::Kind::kPoint, moved(drawing.fits[r].back().end)});
  }
  before.name = "before: " + std::to_string(points) + " points (" +
                std::to_string(points - drawing.runs.size()) + " straight moves)";
  lines.name = "after: " + std::to_string(lines.moves.size()) + " lines";
  arcs.name = "after: " + std::to_string(arcs.moves.size()) + " arcs";
  zu::draw::Picture picture;
  picture.traces = {before, lines, arcs};
  return picture;
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

  double x0 = INFINITY, x1 = -INFINITY;
  for (const auto& run : drawing.runs) {
    for (const XYZ& p : run) {
      x0 = std::min(x0, p.x);
      x1 = std::max(x1, p.x);
    }
  }
  zu::draw::Picture picture = PictureOf(drawing, (x1 - x0) * 1.15 + 1e-6);
  picture.title = "the path fitter: before (left) and after (right)";
  char note[200];
  std::snprintf(note, sizeof note, "tolerance %g mm; checker: %zu violations", tolerance,
                violations);
  picture.notes = {note};
  const zu::draw::SvgDrawing svg = zu::draw::DrawSvg(picture);
  std::ofstream file(out, std::ios::binary);
  file << svg.svg;
  file.close();
  if (!file || !svg.problem.empty()) {
    std::fprintf(stderr, "fit_plot: cannot write %s%s%s\n", out.c_str(),
                 svg.problem.empty() ? "" : ": ", svg.problem.c_str());
    return 1;
  }
  std::printf("fit_plot: %s: %zu points, %zu elements (%zu arcs), %zu violations\n", out.c_str(),
              points, elements, arcs, violations);
  return violations == 0 ? 0 : 1;
}
