// The fitter against the independent checker (no violation, ever) and
// against the optimum of the dynamic programme (within one per cent over
// each family), on every kind of run at three tolerances; then the rules
// that hold whatever the count: arcs only where points keep their height,
// the limits, and what runs with no length or bad values give.
#include "pathfit/fit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "pathfit/testing/fit_checker.h"
#include "pathfit/testing/fit_optimum.h"
#include "pathfit/testing/fit_shapes.h"

namespace zu::pathfit {
namespace {

constexpr double kPi = 3.14159265358979323846;
namespace shapes = pathfit::shapes;
using shapes::Sampling;

FitLimits Limits(double tolerance) {
  FitLimits limits;
  limits.tolerance = tolerance;
  return limits;
}

Sampling ByChord(double error) {
  return {Sampling::Mode::kChordError, error};
}
Sampling ByStep(double step) {
  return {Sampling::Mode::kStep, step};
}

std::size_t Arcs(const std::vector<FitElement>& elements) {
  std::size_t n = 0;
  for (const FitElement& e : elements)
    n += e.kind == FitElement::Kind::Arc;
  return n;
}

// Fits, checks, and says what went wrong.
std::vector<FitElement> FitAndCheck(const std::vector<XYZ>& points, const FitLimits& limits,
                                    const std::string& what) {
  FitResult result = FitPolyline(points, limits);
  EXPECT_TRUE(result.ok()) << what << ": " << FitStatusName(result.status);
  const check::CheckReport report = check::CheckFit(points, result.elements, limits);
  EXPECT_TRUE(report.ok()) << what << ": " << report.violations() << " violations, "
                           << report.first_problem;
  return std::move(result.elements);
}

// A family of runs made for a tolerance (noise scales with it).
struct Family {
  const char* name;
  std::function<std::vector<std::vector<XYZ>>(double tolerance, std::mt19937& random)> runs;
};

std::vector<XYZ> Noisy(std::vector<XYZ> points, double amplitude, std::mt19937& random,
                       int axis = 2) {
  shapes::AddNoise(points, amplitude, axis, random);
  return points;
}

shapes::ArcShape CircleOf(double radius, int axis = 2) {
  shapes::ArcShape arc;
  arc.centre = shapes::InPlane(radius, 2 * radius, axis, 1.5);
  arc.radius = radius;
  arc.start = 1;
  arc.axis = axis;
  return arc;
}

const Family kFamilies[] = {
    {"circles by chord error",
     [](double tol, std::mt19937&) {
       std::vector<std::vector<XYZ>> runs;
       for (double r : {0.05, 0.3, 2.0, 15.0, 120.0})
         runs.push_back(shapes::SampleArc(CircleOf(r), ByChord(tol / 3)));
       return runs;
     }},
    {"circles by step, with noise of a tenth of the tolerance",
     [](double tol, std::mt19937& random) {
       std::vector<std::vector<XYZ>> runs;
       for (double r : {0.3, 2.0, 15.0})
         runs.push_back(Noisy(shapes::SampleArc(CircleOf(r), ByStep(0.05)), tol / 10, random));
       return runs;
     }},
    {"long arcs of large radius",
     [](double tol, std::mt19937&) {
       std::vector<std::vector<XYZ>> runs;
       for (double r : {500.0, 5000.0}) {
         shapes::ArcShape arc = CircleOf(r);
         arc.sweep = -40 / r;
         runs.push_back(shapes::SampleArc(arc, ByChord(tol / 4)));
         runs.push_back(shapes::SampleArc(arc, ByStep(0.5)));
       }
       return runs;
     }},
    {"arcs in ZX and YZ",
     [](double tol, std::mt19937& random) {
       std::vector<std::vector<XYZ>> runs;
       for (int axis : {1, 0}) {
         runs.push_back(shapes::SampleArc(CircleOf(4, axis), ByChord(tol / 3)));
         runs.push_back(
             Noisy(shapes::SampleArc(CircleOf(9, axis), ByStep(0.1)), tol / 10, random, axis));
       }
       return runs;
     }},
    {"spirals",
     [](double, std::mt19937&) {
       return std::vector<std::vector<XYZ>>{shapes::Spiral(1, 0.5, 3, 0.05),
                                            shapes::Spiral(3, 2, 2, 0.2)};
     }},
    {"splines",
     [](double tol, std::mt19937& random) {
       return std::vector<std::vector<XYZ>>{
           shapes::SplineChain(4, 30, 60, random),
           Noisy(shapes::SplineChain(3, 10, 80, random), tol / 10, random)};
     }},
    {"letters and tool paths",
     [](double tol, std::mt19937& random) {
       std::vector<std::vector<XYZ>> runs =
           shapes::LetterOutlines("ODSPBe", 6, 0, ByChord(tol / 3));
       runs.push_back(shapes::ToolPath(12, 0.5, 300, ByChord(tol / 3), random));
       return runs;
     }},
    {"zigzags, stars and corners",
     [](double, std::mt19937&) {
       return std::vector<std::vector<XYZ>>{
           shapes::Zigzag(50, 1, 1),
           shapes::Zigzag(50, 0.2, 0.2),
           shapes::Star(9, 10, 4),
           {{0, 0, 0}, {3, 0, 0}, {6, 0, 0}, {6, 3, 0}, {6, 6, 0}, {3, 6, 0}, {0, 6, 0}}};
     }},
    {"helices",
     [](double, std::mt19937&) {
       return std::vector<std::vector<XYZ>>{shapes::Helix(4, 1, 2, 0.1),
                                            shapes::Helix(20, 0.05, 0.5, 0.2)};
     }},
};

// Element counts measured for each family at 0.001, 0.005 and 0.05 mm: the
// fitter on whole runs, the fitter on the chunks and the optimum on the same
// chunks. The fitter may do better, never worse.
struct Figures {
  std::size_t whole, chunks, optimum;
};
const Figures kMeasured[std::size(kFamilies)][3] = {
    {{10, 13, 13}, {10, 10, 10}, {10, 10, 10}},           // circles by chord error
    {{6, 11, 11}, {6, 11, 11}, {6, 11, 11}},              // circles by step, with noise
    {{4, 4, 4}, {4, 4, 4}, {4, 4, 4}},                    // long arcs of large radius
    {{8, 8, 8}, {8, 8, 8}, {8, 8, 8}},                    // arcs in ZX and YZ
    {{56, 57, 58}, {21, 24, 24}, {12, 13, 13}},           // spirals
    {{219, 219, 220}, {82, 82, 82}, {27, 27, 27}},        // splines
    {{34, 38, 38}, {34, 36, 36}, {32, 32, 32}},           // letters and tool paths
    {{221, 221, 221}, {221, 221, 221}, {171, 171, 171}},  // zigzags, stars and corners
    {{661, 661, 661}, {205, 206, 206}, {65, 66, 66}},     // helices
};

// Every family at a tolerance: no violation; no more elements than measured,
// within one per cent of the optimum over the family, and never more than
// one element over it on a chunk.
void CheckFamilies(std::size_t t, double tolerance) {
  {
    const FitLimits limits = Limits(tolerance);
    for (std::size_t f = 0; f < std::size(kFamilies); ++f) {
      const Family& family = kFamilies[f];
      std::mt19937 random(11);
      std::size_t whole = 0, fitted = 0, optimum = 0;
      const auto runs = family.runs(tolerance, random);
      for (std::size_t k = 0; k < runs.size(); ++k) {
        const std::string what = std::string(family.name) + " #" + std::to_string(k) +
                                 " at tolerance " + std::to_string(tolerance);
        whole += FitAndCheck(runs[k], limits, what).size();
        // Counts on the chunks the dynamic programme can take.
        for (const auto& [first, last] : check::Chunks(runs[k].size(), 300)) {
          const std::span<const XYZ> chunk(runs[k].data() + first, last - first + 1);
          const FitResult piece = FitPolyline(chunk, limits);
          ASSERT_TRUE(piece.ok()) << what;
          const check::Optimum best = check::FitOptimum(chunk, limits, piece.elements.size());
          ASSERT_TRUE(best.found) << what;
          EXPECT_LE(piece.elements.size(), best.count + 1) << what;
          fitted += piece.elements.size();
          optimum += best.count;
        }
      }
      EXPECT_LE(static_cast<double>(fitted), 1.01 * static_cast<double>(optimum))
          << family.name << " at tolerance " << tolerance;
      const Figures& measured = kMeasured[f][t];
      EXPECT_LE(whole, measured.whole) << family.name << " at tolerance " << tolerance;
      EXPECT_LE(fitted, measured.chunks) << family.name << " at tolerance " << tolerance;
      EXPECT_EQ(optimum, measured.optimum) << family.name << " at tolerance " << tolerance;
    }
  }
}

TEST(FitPolyline, FamiliesAt0001PassTheCheckerNearTheOptimum) {
  CheckFamilies(0, 0.001);
}
TEST(FitPolyline, FamiliesAt0005PassTheCheckerNearTheOptimum) {
  CheckFamilies(1, 0.005);
}
TEST(FitPolyline, FamiliesAt005PassTheCheckerNearTheOptimum) {
  CheckFamilies(2, 0.05);
}

// A straight run sampled every 0.1 um and scattered by more than the
// tolerance: no line stands for it, and the least count comes from arcs of
// about the least radius, which the points allow only on part of the
// region's wide sections. Counts as measured, at 1.25 and 1.5 tolerances of
// noise; the optimum is two to three times fewer (docs/optimisation.md).
TEST(FitPolyline, DenseNoisyLinesAtMostAsMeasured) {
  struct Case {
    double tolerance;
    double noise;  // in tolerances
    std::size_t elements;
  };
  const Case cases[] = {{0.001, 1.25, 134}, {0.001, 1.5, 355}, {0.005, 1.25, 133},
                        {0.005, 1.5, 310},  {0.05, 1.25, 113}, {0.05, 1.5, 210}};
  for (const Case& c : cases) {
    std::mt19937 random(11);
    std::vector<XYZ> points;
    for (int k = 0; k < 1000; ++k)
      points.push_back({1e-4 * k, 0, 0});
    shapes::AddNoise(points, c.noise * c.tolerance, 2, random);
    const std::string what =
        "noise " + std::to_string(c.noise) + " at " + std::to_string(c.tolerance);
    EXPECT_LE(FitAndCheck(points, Limits(c.tolerance), what).size(), c.elements) << what;
  }
}

// Seeded random tool paths at random tolerances: never a violation.
TEST(FitPolyline, RandomToolPathsPassTheChecker) {
  std::mt19937 random(2024);
  for (int k = 0; k < 30; ++k) {
    const double tolerance =
        std::pow(10.0, std::uniform_real_distribution<double>(-3.3, -1)(random));
    const Sampling sampling = k % 2
                                  ? ByStep(std::uniform_real_distribution<double>(0.01, 1)(random))
                                  : ByChord(tolerance * 0.5);
    std::vector<XYZ> points = shapes::ToolPath(10, 0.05, 2000, sampling, random);
    if (k % 3 == 0)
      points = Noisy(std::move(points), tolerance / 5, random);
    FitAndCheck(points, Limits(tolerance), "random tool path " + std::to_string(k));
  }
}

// Where each element starts and ends among the points (ends are points).
std::vector<std::size_t> Breaks(const std::vector<XYZ>& points,
                                const std::vector<FitElement>& elements) {
  std::vector<std::size_t> at{0};
  for (const FitElement& e : elements) {
    std::size_t k = at.back() + 1;
    while (k < points.size() && !(points[k] == e.end))
      ++k;
    at.push_back(k);
  }
  return at;
}

TEST(FitPolyline, ArcsOnlyWherePointsKeepTheirHeight) {
  const FitLimits limits = Limits(0.01);
  // A helix whose rise per point is far below the tolerance still gets no
  // arc: its height changes.
  const std::vector<XYZ> helix = shapes::Helix(10, 0.01, 1, 0.2);
  EXPECT_EQ(Arcs(FitAndCheck(helix, limits, "helix")), 0u);

  // Flat turns below and above a rise: arcs on the flat turns only.
  shapes::ArcShape flat;
  flat.radius = 10;
  std::vector<XYZ> run = shapes::SampleArc(flat, ByChord(0.003));
  const std::vector<XYZ> rise = shapes::Helix(10, 2, 1, 0.1);
  run.insert(run.end(), rise.begin() + 1, rise.end());
  flat.centre.z = rise.back().z;
  std::vector<XYZ> top = shapes::SampleArc(flat, ByChord(0.003));
  run.insert(run.end(), top.begin() + 1, top.end());
  const std::vector<FitElement> elements = FitAndCheck(run, limits, "flat turns and a rise");
  EXPECT_GE(Arcs(elements), 4u);
  const std::vector<std::size_t> at = Breaks(run, elements);
  ASSERT_EQ(at.size(), elements.size() + 1);
  for (std::size_t e = 0; e < elements.size(); ++e) {
    if (elements[e].kind != FitElement::Kind::Arc)
      continue;
    EXPECT_EQ(std::fabs(elements[e].normal.z), 1);
    for (std::size_t k = at[e]; k <= at[e + 1]; ++k)
      ASSERT_EQ(run[k].z, elements[e].centre.z) << "arc " << e << " over a changing height";
  }

  // Arcs in ZX have normal +-Y, in YZ +-X, running the way the points do.
  for (int axis : {1, 0}) {
    shapes::ArcShape arc = CircleOf(5, axis);
    arc.sweep = axis == 1 ? 2.0 : -2.0;
    const std::vector<XYZ> points = shapes::SampleArc(arc, ByChord(0.002));
    const std::vector<FitElement> fitted = FitAndCheck(points, limits, "plane arc");
    ASSERT_EQ(fitted.size(), 1u);
    ASSERT_EQ(fitted[0].kind, FitElement::Kind::Arc);
    const double n[3] = {fitted[0].normal.x, fitted[0].normal.y, fitted[0].normal.z};
    EXPECT_EQ(n[axis], axis == 1 ? 1.0 : -1.0);
    EXPECT_NEAR(fitted[0].radius, 5, 0.01);
    EXPECT_NEAR(fitted[0].sweep, 2, 0.01);
  }
}

TEST(FitPolyline, KeepsToTheRadiusLimits) {
  // A circle of radius 0.005 is below the least radius: no arc of its own
  // radius, though a few points of it may lie within the tolerance of an arc
  // of an allowed one. With a smaller limit, arcs of about its radius.
  shapes::ArcShape tiny = CircleOf(0.005);
  const std::vector<XYZ> small = shapes::SampleArc(tiny, ByChord(0.0002));
  FitLimits limits = Limits(0.001);
  const auto below = [](const std::vector<FitElement>& elements, double radius) {
    return std::count_if(elements.begin(), elements.end(), [radius](const FitElement& e) {
      return e.kind == FitElement::Kind::Arc && e.radius < radius;
    });
  };
  EXPECT_EQ(below(FitAndCheck(small, limits, "tiny circle"), 0.01), 0);
  limits.min_arc_radius = 0.001;
  EXPECT_GT(below(FitAndCheck(small, limits, "tiny circle, smaller limit"), 0.006), 0);

  // An arc of radius 20000 over 200 mm (sagitta 0.25) is past the largest
  // radius: lines, unless the limit is raised.
  shapes::ArcShape large = CircleOf(20000);
  large.sweep = 200.0 / 20000;
  const std::vector<XYZ> wide = shapes::SampleArc(large, ByStep(0.5));
  limits = Limits(0.005);
  std::vector<FitElement> fitted = FitAndCheck(wide, limits, "large arc");
  EXPECT_EQ(Arcs(fitted), 0u);
  EXPECT_GT(fitted.size(), 3u);
  limits.max_arc_radius = 30000;
  fitted = FitAndCheck(wide, limits, "large arc, larger limit");
  EXPECT_EQ(fitted.size(), 1u);
  EXPECT_EQ(Arcs(fitted), 1u);

  // A radius just inside the limits is taken.
  limits = Limits(0.001);
  limits.min_arc_radius = 4.99;
  limits.max_arc_radius = 5.01;
  shapes::ArcShape exact = CircleOf(5);
  exact.sweep = 3;
  fitted = FitAndCheck(shapes::SampleArc(exact, ByChord(0.0003)), limits, "radius at the limits");
  EXPECT_EQ(fitted.size(), 1u);
}

TEST(FitPolyline, NothingShorterThanTheMinimumSectionLine) {
  // Clusters of points 1e-8 apart along a zigzag: no element joins two
  // points of one cluster.
  std::vector<XYZ> points;
  for (const XYZ& p : shapes::Zigzag(20, 2, 1)) {
    for (int k = 0; k < 4; ++k)
      points.push_back({p.x + 1e-8 * k, p.y, p.z});
  }
  FitLimits limits = Limits(0.01);
  limits.min_section_line = 1e-7;
  const std::vector<FitElement> fitted = FitAndCheck(points, limits, "clusters");
  EXPECT_EQ(fitted.size(), 40u);
  // The same with a larger minimum: clusters 0.001 wide, minimum 0.002.
  for (std::size_t k = 0; k < points.size(); ++k)
    points[k].x += 0.0003 * static_cast<double>(k % 4);
  limits.min_section_line = 0.002;
  for (const FitElement& e : FitAndCheck(points, limits, "wide clusters")) {
    const double length = std::hypot(e.end.x - e.start.x, e.end.y - e.start.y);
    EXPECT_GE(length, 0.002);
  }
}

TEST(FitPolyline, DegenerateRuns) {
  const FitLimits limits = Limits(0.01);
  // Repeated points: as if each were there once.
  const std::vector<XYZ> repeated = {{1, 1, 0}, {1, 1, 0}, {1, 1, 0}, {2, 1, 0},
                                     {2, 1, 0}, {3, 1, 0}, {3, 1, 0}};
  std::vector<FitElement> fitted = FitAndCheck(repeated, limits, "repeated points");
  ASSERT_EQ(fitted.size(), 1u);
  EXPECT_EQ(fitted[0].end, (XYZ{3, 1, 0}));

  fitted = FitAndCheck({{0, 0, 0}, {1, 2, 3}}, limits, "two points");
  ASSERT_EQ(fitted.size(), 1u);
  EXPECT_EQ(fitted[0].kind, FitElement::Kind::Line);

  std::vector<XYZ> collinear;
  for (int k = 0; k <= 1000; ++k)
    collinear.push_back({0.3 * k, -0.1 * k, 0.02 * k});
  EXPECT_EQ(FitAndCheck(collinear, limits, "collinear").size(), 1u);

  // A closed circle: start and end are one point, so two arcs, neither a
  // full turn, whose own ends differ.
  shapes::ArcShape circle = CircleOf(7);
  std::vector<XYZ> closed = shapes::SampleArc(circle, ByChord(0.002));
  closed.back() = closed.front();
  fitted = FitAndCheck(closed, limits, "closed circle");
  ASSERT_EQ(fitted.size(), 2u);
  for (const FitElement& e : fitted) {
    EXPECT_EQ(e.kind, FitElement::Kind::Arc);
    EXPECT_LE(e.sweep, 1.5 * kPi);
    EXPECT_FALSE(e.start == e.end);
  }

  // There and back: three lines, not one.
  fitted = FitAndCheck({{0, 0, 0}, {5, 0, 0}, {0, 0, 0}, {5, 0, 0}}, limits, "back and forth");
  EXPECT_EQ(fitted.size(), 3u);
}

// Runs that go over themselves: each pass and each turn is laid on its own,
// so the tool still goes all the way.
TEST(FitPolyline, RunsOverThemselves) {
  const FitLimits limits = Limits(0.005);
  std::vector<XYZ> line, arc, loops;
  for (int pass = 0; pass < 20; ++pass) {
    for (int k = 0; k < 100; ++k) {
      const double t = pass % 2 ? (100 - k) * 0.1 : k * 0.1;
      line.push_back({t, 0.3 * t, 0});
      arc.push_back({10 * std::cos(t / 10), 10 * std::sin(t / 10), 0});
    }
  }
  for (int k = 0; k <= 2000; ++k)
    loops.push_back({5 * std::cos(k * 0.0628), 5 * std::sin(k * 0.0628), 0});
  EXPECT_EQ(FitAndCheck(line, limits, "a line there and back").size(), 20u);
  const std::vector<FitElement> passes = FitAndCheck(arc, limits, "an arc there and back");
  EXPECT_EQ(passes.size(), 20u);
  EXPECT_EQ(Arcs(passes), 20u);
  // 20 turns of 100 points: two arcs a turn at most 270 degrees each.
  const std::vector<FitElement> turns = FitAndCheck(loops, limits, "twenty turns");
  EXPECT_LE(turns.size(), 28u);
  EXPECT_EQ(Arcs(turns), turns.size());

  // A straight run that steps back along itself: by 1.9 tolerances it may
  // stay one line, by 2.1 it may not (the checker's limit is 2): three
  // elements do there.
  struct Back {
    double by;
    std::size_t elements;
  };
  for (const Back& back : {Back{1.9, 1}, Back{2.1, 3}}) {
    std::vector<XYZ> points;
    for (int k = 0; k <= 20; ++k)
      points.push_back({0.5 * k, 0, 0});
    points.insert(points.begin() + 11, {5 - back.by * 0.005, 0, 0});
    const std::string what = "back by " + std::to_string(back.by) + " tolerances";
    EXPECT_EQ(FitAndCheck(points, limits, what).size(), back.elements) << what;
  }
}

// Circles traced past a full turn (overlapping finishing passes, several
// turns): as the points pass by the start the chord from it flips by half a
// turn, and no arc from the start reaches beyond. Each run takes the fewest
// arcs its sweep allows (at most 270 degrees each), at every tolerance and
// sampling.
TEST(FitPolyline, CirclesPastAFullTurnBecomeArcs) {
  struct Case {
    double radius;
    double turns;
    std::size_t at_most;  // 270-degree arcs the sweep needs, plus one where it is a whole number
  };
  const Case cases[] = {{5, 1.25, 2}, {5, 1.5, 3}, {5, 2, 3}, {25, 2, 3}, {25, 3, 5}};
  for (const Case& c : cases) {
    for (double tolerance : {0.001, 0.005, 0.05}) {
      for (const Sampling sampling : {ByChord(tolerance / 4), ByStep(0.1)}) {
        shapes::ArcShape circle = CircleOf(c.radius);
        circle.sweep = 2 * kPi * c.turns;
        const std::vector<XYZ> points = shapes::SampleArc(circle, sampling);
        const std::string what = "r " + std::to_string(c.radius) + ", " + std::to_string(c.turns) +
                                 " turns at " + std::to_string(tolerance) + ", " +
                                 std::to_string(points.size()) + " points";
        const std::vector<FitElement> fitted = FitAndCheck(points, Limits(tolerance), what);
        EXPECT_LE(fitted.size(), c.at_most) << what;
        EXPECT_GE(Arcs(fitted) + 1, fitted.size()) << what;  // a short line may close it
      }
    }
  }
}

// A spiral sampled so densely that an element spans thousands of points: the
// region of circles vouches for ends a few points past what the exact tests
// allow, and the fitter must still find the farthest end that passes rather
// than fall back to short lines. Sampled at 1,000 points the same spiral
// takes 19 elements.
TEST(FitPolyline, DenseSpiralKeepsItsArcs) {
  const double length = kPi * 5 * (2 * 20 + 0.5 * 5);
  const std::vector<XYZ> points = shapes::Spiral(20, 0.5, 5, length / 100000);
  const std::vector<FitElement> fitted = FitAndCheck(points, Limits(0.005), "dense spiral");
  EXPECT_LE(fitted.size(), 19u);
  EXPECT_EQ(Arcs(fitted), fitted.size());
}

// Points closer than the minimum section line are merged, and the fit then
// works to what the merging left of the tolerance: the original points stay
// within the tolerance. A dense noisy run with a minimum just below half the
// tolerance makes the merging cost most of it.
TEST(FitPolyline, MergedRunsKeepTheTolerance) {
  std::mt19937 random(5);
  const double tolerance = 0.01;
  for (const double section : {0.0049, 0.003}) {
    FitLimits limits = Limits(tolerance);
    limits.min_section_line = section;
    std::vector<XYZ> points;
    for (int k = 0; k <= 3000; ++k)
      points.push_back({0.001 * k, 0.3 * std::sin(0.002 * k), 0});
    const std::vector<XYZ> zigzag = Noisy(points, 0.6 * tolerance, random);
    const std::vector<XYZ> arc = shapes::SampleArc(CircleOf(2), ByStep(section / 2));
    for (const auto& [what, run] : {std::pair{"dense noisy wave", zigzag}, {"dense circle", arc}}) {
      const FitResult result = FitPolyline(run, limits);
      ASSERT_TRUE(result.ok()) << what;
      const check::CheckReport report = check::CheckFit(run, result.elements, limits);
      EXPECT_TRUE(report.ok()) << what << " with minimum " << section << ": "
                               << report.first_problem;
    }
  }
}

// Points dropped by the merging lie off the kept ones: the fit must leave
// room for that. Kept points zigzag 0.9 tolerance either side of a line,
// each followed by one 0.8 of the minimum section line farther out: a single
// line is within the tolerance of the kept points but not of the dropped.
TEST(FitPolyline, MergingLeavesRoomForTheDroppedPoints) {
  const double tolerance = 0.01, section = 0.0049;
  FitLimits limits = Limits(tolerance);
  limits.min_section_line = section;
  std::vector<XYZ> points = {{-0.01, 0, 0}};
  for (int k = 0; k < 50; ++k) {
    const double side = k % 2 ? -1 : 1;
    points.push_back({0.01 * k, side * 0.9 * tolerance, 0});
    points.push_back({0.01 * k, side * (0.9 * tolerance + 0.8 * section), 0});
  }
  points.push_back({0.5, 0, 0});
  const FitResult result = FitPolyline(points, limits);
  ASSERT_TRUE(result.ok());
  const check::CheckReport report = check::CheckFit(points, result.elements, limits);
  EXPECT_TRUE(report.ok()) << report.first_problem;
}

// The largest sweep may be anything up to a full turn, a full turn included.
TEST(FitPolyline, SweepLimitUpToAFullTurn) {
  shapes::ArcShape arc = CircleOf(5);
  arc.sweep = 1.9 * kPi;
  const std::vector<XYZ> points = shapes::SampleArc(arc, ByChord(0.001));
  struct Case {
    double max_sweep;
    FitStatus status;
    std::size_t elements;
  };
  const Case cases[] = {{2 * kPi, FitStatus::kOk, 1},
                        {std::nextafter(2 * kPi, 7.0), FitStatus::kBadLimits, 0},
                        {1.5 * kPi, FitStatus::kOk, 2},
                        {0, FitStatus::kBadLimits, 0}};
  for (const Case& c : cases) {
    FitLimits limits = Limits(0.005);
    limits.max_arc_sweep = c.max_sweep;
    const FitResult result = FitPolyline(points, limits);
    EXPECT_EQ(result.status, c.status) << c.max_sweep;
    EXPECT_EQ(result.elements.size(), c.elements) << c.max_sweep;
    if (result.ok()) {
      const check::CheckReport report = check::CheckFit(points, result.elements, limits);
      EXPECT_TRUE(report.ok()) << c.max_sweep << ": " << report.first_problem;
    }
  }
}

TEST(FitPolyline, RunsWithoutAnElement) {
  const FitLimits limits = Limits(0.01);
  struct Case {
    const char* what;
    std::vector<XYZ> points;
    FitLimits limits;
    FitStatus status;
  };
  FitLimits bad_section = limits;
  bad_section.min_section_line = 0.005;
  FitLimits bad_tolerance = limits;
  bad_tolerance.tolerance = 0;
  FitLimits bad_radii = limits;
  bad_radii.max_arc_radius = 0.001;
  FitLimits nan_tolerance = limits;
  nan_tolerance.tolerance = NAN;
  const Case cases[] = {
      {"one point", {{1, 2, 3}}, limits, FitStatus::kTooFewPoints},
      {"no point", {}, limits, FitStatus::kTooFewPoints},
      {"a point repeated", {{4, 4, 4}, {4, 4, 4}, {4, 4, 4}}, limits, FitStatus::kZeroLength},
      {"points within the minimum section line",
       {{0, 0, 0}, {5e-8, 0, 0}, {0, 9e-8, 0}},
       limits,
       FitStatus::kZeroLength},
      {"not a number", {{0, 0, 0}, {NAN, 0, 0}, {1, 0, 0}}, limits, FitStatus::kNonFinite},
      {"infinite", {{0, 0, 0}, {1, INFINITY, 0}}, limits, FitStatus::kNonFinite},
      {"minimum section line not below half the tolerance",
       {{0, 0, 0}, {1, 0, 0}},
       bad_section,
       FitStatus::kBadLimits},
      {"zero tolerance", {{0, 0, 0}, {1, 0, 0}}, bad_tolerance, FitStatus::kBadLimits},
      {"tolerance not a number", {{0, 0, 0}, {1, 0, 0}}, nan_tolerance, FitStatus::kBadLimits},
      {"radii out of order", {{0, 0, 0}, {1, 0, 0}}, bad_radii, FitStatus::kBadLimits},
  };
  for (const Case& c : cases) {
    const FitResult result = FitPolyline(c.points, c.limits);
    EXPECT_EQ(result.status, c.status) << c.what;
    EXPECT_TRUE(result.elements.empty()) << c.what;
  }
  // Just long enough: one line, also after a repeated point was merged.
  for (const std::vector<XYZ>& points :
       {std::vector<XYZ>{{0, 0, 0}, {1e-7, 0, 0}}, {{0, 0, 0}, {0, 0, 0}, {1e-7, 0, 0}}}) {
    const FitResult result = FitPolyline(points, limits);
    ASSERT_TRUE(result.ok()) << points.size() << " points";
    ASSERT_EQ(result.elements.size(), 1u);
    EXPECT_EQ(result.elements[0].end, (XYZ{1e-7, 0, 0}));
  }
}

// Limits at their edges are taken: a least radius of 0, equal least and
// largest radii, a minimum section line of 0.
TEST(FitPolyline, LimitsAtTheirEdges) {
  shapes::ArcShape arc = CircleOf(2);
  arc.sweep = 2;
  const std::vector<XYZ> points = shapes::SampleArc(arc, ByChord(0.001));
  struct Case {
    const char* what;
    double min_radius, max_radius, min_section;
    FitStatus status;
  };
  const Case cases[] = {
      {"least radius 0", 0, 9999, 1e-7, FitStatus::kOk},
      {"least radius below 0", -1e-9, 9999, 1e-7, FitStatus::kBadLimits},
      {"equal radii", 2, 2, 1e-7, FitStatus::kOk},
      {"largest radius below the least", 2, std::nextafter(2.0, 0.0), 1e-7, FitStatus::kBadLimits},
      {"no minimum section line", 0.01, 9999, 0, FitStatus::kOk},
      {"minimum section line below 0", 0.01, 9999, -1e-9, FitStatus::kBadLimits},
  };
  for (const Case& c : cases) {
    FitLimits limits = Limits(0.005);
    limits.min_arc_radius = c.min_radius;
    limits.max_arc_radius = c.max_radius;
    limits.min_section_line = c.min_section;
    const FitResult result = FitPolyline(points, limits);
    EXPECT_EQ(result.status, c.status) << c.what;
    if (result.ok()) {
      // With equal radii the sampled arc, whose radius is 2 only to the last
      // bit, is laid as lines.
      if (c.min_radius != c.max_radius) {
        EXPECT_EQ(result.elements.size(), 1u) << c.what;
      }
      EXPECT_TRUE(check::CheckFit(points, result.elements, limits).ok()) << c.what;
    }
  }
}

}  // namespace
}  // namespace zu::pathfit
