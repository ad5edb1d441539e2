#include "bench/fit_corpus.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>

#include "pathfit/testing/fit_shapes.h"

namespace zu::bench {

namespace {

namespace shapes = pathfit::shapes;
using shapes::ArcShape;
using shapes::Sampling;

constexpr double kPi = 3.14159265358979323846;
constexpr unsigned kSeed = 20240611;

Sampling ByChord(double error) {
  return {Sampling::Mode::kChordError, error};
}
Sampling ByStep(double step) {
  return {Sampling::Mode::kStep, step};
}

// Adds the run if it is of a size worth fitting here.
void Add(FitPart& part, std::vector<XYZ> points) {
  if (points.size() >= 2 && points.size() <= 40000)
    part.runs.push_back({std::move(points)});
}

std::vector<XYZ> Noisy(std::vector<XYZ> points, double amplitude, int axis, std::mt19937& random) {
  shapes::AddNoise(points, amplitude, axis, random);
  return points;
}

ArcShape Circle(double radius, int axis = 2, double height = 0) {
  ArcShape arc;
  arc.centre = shapes::InPlane(3 * radius, -radius, axis, height);
  arc.radius = radius;
  arc.start = 0.3;
  arc.sweep = 2 * kPi;
  arc.axis = axis;
  return arc;
}

// A long arc of a large circle: about 100 mm of it.
ArcShape LongArc(double radius, int axis = 2) {
  ArcShape arc = Circle(radius, axis);
  arc.sweep = -std::min(2 * kPi, 100 / radius);
  return arc;
}

// n points evenly along `turns` turns of a circle of `radius` about the
// origin in XY, from angle 0.
std::vector<XYZ> CircleTurns(std::size_t n, double radius, double turns) {
  std::vector<XYZ> points;
  for (std::size_t k = 0; k < n; ++k) {
    const double angle = 2 * kPi * turns * static_cast<double>(k) / static_cast<double>(n - 1);
    points.push_back({radius * std::cos(angle), radius * std::sin(angle), 0});
  }
  return points;
}

}  // namespace

std::vector<XYZ> DenseSpiral(std::size_t n) {
  // Five turns from radius 20, 0.5 mm apart: about 667 mm long.
  constexpr double kR0 = 20, kPitch = 0.5, kTurns = 5;
  const double length = kPi * kTurns * (2 * kR0 + kPitch * kTurns);
  return shapes::Spiral(kR0, kPitch, kTurns, length / static_cast<double>(n));
}

std::vector<XYZ> DenseNoisyLine(std::size_t n, double noise, std::mt19937& random) {
  std::vector<XYZ> points;
  for (std::size_t k = 0; k < n; ++k)
    points.push_back({1e-4 * static_cast<double>(k), 0, 0});
  shapes::AddNoise(points, noise, 2, random);
  return points;
}

std::vector<XYZ> TimingTurns(std::size_t n) {
  return CircleTurns(n, 25, 2);
}

std::size_t FitPart::points() const {
  std::size_t n = 0;
  for (const FitRun& run : runs)
    n += run.points.size();
  return n;
}

std::vector<FitPart> GeneratedFitCorpus(double tolerance) {
  std::mt19937 random(kSeed);
  const double noise = tolerance / 10;
  std::vector<FitPart> parts;

  FitPart circles{"circles and arcs", {}};
  FitPart noisy{"noisy circles and arcs", {}};
  for (double radius : {0.05, 0.2, 1.0, 5.0, 25.0, 100.0, 500.0, 5000.0}) {
    const ArcShape shape = radius <= 100 ? Circle(radius) : LongArc(radius);
    for (Sampling sampling :
         {ByChord(tolerance / 4), ByChord(tolerance / 1.5), ByStep(0.05), ByStep(0.5)}) {
      std::vector<XYZ> points = shapes::SampleArc(shape, sampling);
      if (points.size() < 4)
        continue;
      Add(noisy, Noisy(points, noise, 2, random));
      Add(circles, std::move(points));
    }
  }
  parts.push_back(std::move(circles));
  parts.push_back(std::move(noisy));

  FitPart spirals{"spirals", {}};
  Add(spirals, shapes::Spiral(1, 0.5, 8, 0.05));
  Add(spirals, shapes::Spiral(5, 2, 4, 0.2));
  Add(spirals, Noisy(shapes::Spiral(2, 1, 5, 0.1), noise, 2, random));
  parts.push_back(std::move(spirals));

  FitPart curves{"splines, letters, tool paths", {}};
  Add(curves, shapes::SplineChain(20, 50, 60, random));
  Add(curves, Noisy(shapes::SplineChain(10, 20, 100, random), noise, 2, random));
  for (double height : {3.0, 20.0}) {
    for (std::vector<XYZ>& run :
         shapes::LetterOutlines("ODSPBe", height, 0, ByChord(tolerance / 3)))
      Add(curves, std::move(run));
  }
  for (int k = 0; k < 3; ++k)
    Add(curves, shapes::ToolPath(40, 0.5, 500, ByChord(tolerance / 3), random));
  Add(curves, Noisy(shapes::ToolPath(40, 1, 200, ByStep(0.1), random), noise, 2, random));
  parts.push_back(std::move(curves));

  FitPart lines{"zigzags and corners", {}};
  Add(lines, shapes::Zigzag(300, 1, 1));
  Add(lines, shapes::Zigzag(300, 0.2, 0.1));
  Add(lines, shapes::Star(12, 10, 4));
  Add(lines, shapes::Star(40, 3, 2.5));
  {
    // A square with points along its sides, and a long straight run with
    // noise: corners stay sharp, sides become single lines.
    std::vector<XYZ> square;
    const XYZ corners[] = {{0, 0, 0}, {20, 0, 0}, {20, 20, 0}, {0, 20, 0}, {0, 0, 0}};
    for (int side = 0; side < 4; ++side) {
      for (int k = 0; k < 40; ++k) {
        const double t = k / 40.0;
        const XYZ& a = corners[side];
        const XYZ& b = corners[side + 1];
        square.push_back({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), 0});
      }
    }
    square.push_back(corners[4]);
    Add(lines, std::move(square));
    std::vector<XYZ> straight;
    for (int k = 0; k <= 2000; ++k)
      straight.push_back({0.05 * k, 0.02 * k, 1});
    Add(lines, Noisy(std::move(straight), noise, 2, random));
  }
  parts.push_back(std::move(lines));

  FitPart planes{"arcs in ZX and YZ", {}};
  for (int axis : {1, 0}) {
    for (double radius : {2.0, 40.0}) {
      Add(planes, shapes::SampleArc(Circle(radius, axis, 7), ByChord(tolerance / 3)));
      Add(planes, shapes::SampleArc(LongArc(radius * 10, axis), ByStep(0.1)));
      Add(planes,
          Noisy(shapes::SampleArc(Circle(radius, axis, -3), ByStep(0.05)), noise, axis, random));
    }
  }
  parts.push_back(std::move(planes));

  FitPart helices{"helices", {}};
  Add(helices, shapes::Helix(5, 1, 3, 0.1));
  Add(helices, shapes::Helix(20, 0.2, 2, 0.05));
  {
    // Flat turns at the bottom and top of a helix: arcs there, lines between.
    ArcShape flat;
    flat.radius = 10;
    std::vector<XYZ> run = shapes::SampleArc(flat, ByChord(tolerance / 3));
    const std::vector<XYZ> rise = shapes::Helix(10, 2, 2, 0.1);
    run.insert(run.end(), rise.begin() + 1, rise.end());
    flat.centre.z = rise.back().z;
    std::vector<XYZ> top = shapes::SampleArc(flat, ByChord(tolerance / 3));
    top.front() = run.back();
    run.insert(run.end(), top.begin() + 1, top.end());
    Add(helices, std::move(run));
  }
  parts.push_back(std::move(helices));

  // Paths that pass their own start: circles traced past a full turn, as
  // overlapping finishing passes and several turns, clean and with noise.
  FitPart overlapping{"circles past a full turn", {}};
  for (double radius : {5.0, 25.0}) {
    for (double turns : {1.1, 1.25, 1.5, 2.0, 3.0}) {
      ArcShape shape = Circle(radius);
      shape.sweep = 2 * kPi * turns;
      for (Sampling sampling : {ByChord(tolerance / 4), ByChord(tolerance / 1.5), ByStep(0.05)}) {
        std::vector<XYZ> points = shapes::SampleArc(shape, sampling);
        Add(overlapping, Noisy(points, noise, 2, random));
        Add(overlapping, std::move(points));
      }
    }
  }
  parts.push_back(std::move(overlapping));

  // The same spiral sampled ever more densely: elements of thousands of
  // points.
  FitPart dense_spirals{"dense spirals", {}};
  for (std::size_t n : {1000, 10000})
    Add(dense_spirals, DenseSpiral(n));
  parts.push_back(std::move(dense_spirals));

  // Straight runs sampled every 0.1 um with noise about the tolerance: below
  // it one line stands for the run, above it the points themselves decide.
  FitPart noisy_lines{"dense noisy lines", {}};
  for (std::size_t n : {1000, 10000}) {
    for (double factor : {0.5, 0.75, 1.0, 1.25, 1.5})
      Add(noisy_lines, DenseNoisyLine(n, factor * tolerance, random));
  }
  parts.push_back(std::move(noisy_lines));

  FitPart degenerate{"degenerate", {}};
  degenerate.runs.push_back({{{1, 1, 0}, {1, 1, 0}, {1, 1, 0}, {2, 1, 0}, {2, 1, 0}, {3, 2, 0}}});
  degenerate.runs.push_back({{{0, 0, 0}, {10, 0, 0}}});
  degenerate.runs.push_back({{{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {5, 5, 5}}});
  degenerate.runs.push_back({shapes::SampleArc(Circle(3), ByChord(tolerance / 3))});
  degenerate.runs.push_back({{{4, 4, 4}, {4, 4, 4}, {4, 4, 4}}});                   // in one place
  degenerate.runs.push_back({{{0, 0, 0}, {1e-9, 0, 0}, {2e-9, 0, 0}, {5, 0, 0}}});  // near repeats
  degenerate.runs.push_back({{{0, 0, 0}, {10, 0, 0}, {0, 0, 0}, {10, 0, 0}}});  // back and forth
  parts.push_back(std::move(degenerate));
  return parts;
}

std::vector<FitPart> ReadFitCorpus(const std::string& folder, std::string& error) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  std::error_code code;
  for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
    if (it->path().extension() == ".txt")
      files.push_back(it->path());
  }
  if (code) {
    error = "cannot read " + folder + ": " + code.message();
    return {};
  }
  if (files.empty()) {
    error = "no *.txt file in " + folder;
    return {};
  }
  std::sort(files.begin(), files.end());
  std::vector<FitPart> parts;
  for (const fs::path& file : files) {
    std::ifstream in(file);
    if (!in) {
      error = "cannot open " + file.string();
      return {};
    }
    FitPart part{file.stem().string(), {}};
    std::vector<XYZ> run;
    const auto end_run = [&] {
      if (run.size() >= 2)
        part.runs.push_back({std::move(run)});
      run.clear();
    };
    std::string line;
    for (std::size_t number = 1; std::getline(in, line); ++number) {
      const char* p = line.data();
      const char* end = p + line.size();
      double v[3];
      int found = 0;
      for (; found < 3; ++found) {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\r'))
          ++p;
        if (p == end)
          break;
        const auto [next, ec] = std::from_chars(p, end, v[found]);
        if (ec != std::errc()) {
          found = -1;
          break;
        }
        p = next;
      }
      while (p < end && (*p == ' ' || *p == '\t' || *p == '\r'))
        ++p;
      if (found == 0 && p == end) {
        end_run();
      } else if (found == 3 && p == end) {
        run.push_back({v[0], v[1], v[2]});
      } else {
        error = file.string() + ":" + std::to_string(number) + ": expected three numbers";
        return {};
      }
    }
    end_run();
    parts.push_back(std::move(part));
  }
  return parts;
}

std::vector<XYZ> TimingCircle(std::size_t n) {
  std::vector<XYZ> points = CircleTurns(n, 100, 1);
  points.back() = points.front();
  return points;
}

std::vector<XYZ> TimingSpiral(std::size_t n) {
  std::vector<XYZ> points;
  double theta = 0;
  for (std::size_t k = 0; k < n; ++k) {
    const double r = 1 + 0.5 * theta / (2 * kPi);
    points.push_back({r * std::cos(theta), r * std::sin(theta), 0});
    theta += 0.05 / r;
  }
  return points;
}

std::vector<XYZ> TimingZigzag(std::size_t n) {
  std::vector<XYZ> points = shapes::Zigzag(n / 2 + 1, 1, 1);
  points.resize(n);
  return points;
}

}  // namespace zu::bench
