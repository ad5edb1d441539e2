// The independent checker finds each kind of fault in hand-built chains, and
// passes chains that are right. Its verdicts are what every other test of
// the fitter relies on.
#include "pathfit/testing/fit_checker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace zu::pathfit {
namespace {

constexpr double kPi = 3.14159265358979323846;

FitElement Line(XYZ a, XYZ b) {
  FitElement e;
  e.start = a;
  e.end = b;
  return e;
}

// An arc about (cx, cy) at height z in XY, from angle a0 turning by sweep
// (negative: clockwise).
FitElement ArcXY(double cx, double cy, double z, double r, double a0, double sweep) {
  FitElement e;
  e.kind = FitElement::Kind::Arc;
  e.centre = {cx, cy, z};
  e.radius = r;
  e.start = {cx + r * std::cos(a0), cy + r * std::sin(a0), z};
  e.end = {cx + r * std::cos(a0 + sweep), cy + r * std::sin(a0 + sweep), z};
  e.normal = {0, 0, sweep > 0 ? 1.0 : -1.0};
  e.sweep = std::fabs(sweep);
  return e;
}

std::vector<XYZ> ArcPoints(double cx, double cy, double r, double a0, double sweep, int n) {
  std::vector<XYZ> points;
  for (int k = 0; k <= n; ++k) {
    const double a = a0 + sweep * k / n;
    points.push_back({cx + r * std::cos(a), cy + r * std::sin(a), 0});
  }
  return points;
}

FitLimits Limits(double tolerance) {
  FitLimits limits;
  limits.tolerance = tolerance;
  return limits;
}

TEST(FitChecker, PassesRightChains) {
  // A square with points along its sides, as four lines.
  const std::vector<XYZ> square = {{0, 0, 0},   {5, 0, 0},  {10, 0, 0}, {10, 5, 0},
                                   {10, 10, 0}, {0, 10, 0}, {0, 0, 0}};
  const std::vector<FitElement> sides = {Line(square[0], square[2]), Line(square[2], square[4]),
                                         Line(square[4], square[5]), Line(square[5], square[6])};
  const check::CheckReport report = check::CheckFit(square, sides, Limits(0.001));
  EXPECT_TRUE(report.ok()) << report.first_problem;
  EXPECT_GE(report.samples, 4u * 40 * 1000);  // every tolerance / 4 along 40 mm
  EXPECT_EQ(report.worst_point, 0);

  // Half a circle, finely sampled, as one counter-clockwise arc and as the
  // same arc run clockwise back.
  std::vector<XYZ> half = ArcPoints(0, 0, 10, 0, kPi, 2000);
  FitElement arc = ArcXY(0, 0, 0, 10, 0, kPi);
  arc.start = half.front();
  arc.end = half.back();
  EXPECT_TRUE(check::CheckFit(half, std::vector{arc}, Limits(0.001)).ok());
  std::vector<XYZ> back(half.rbegin(), half.rend());
  FitElement reverse = ArcXY(0, 0, 0, 10, kPi, -kPi);
  reverse.start = back.front();
  reverse.end = back.back();
  const check::CheckReport reversed = check::CheckFit(back, std::vector{reverse}, Limits(0.001));
  EXPECT_TRUE(reversed.ok()) << reversed.first_problem;
}

TEST(FitChecker, FindsElementsAwayFromThePoints) {
  const std::vector<XYZ> points = {{0, 0, 0}, {5, 0.0125, 0}, {10, 0, 0}};
  // The middle point 0.0125 off a line within 0.01: off the chain.
  check::CheckReport report =
      check::CheckFit(points, std::vector{Line(points[0], points[2])}, Limits(0.01));
  EXPECT_EQ(report.points_far, 1u);
  EXPECT_NEAR(report.worst_point, 0.0125, 1e-12);
  // With 0.0125 allowed it passes, both ways.
  EXPECT_TRUE(
      check::CheckFit(points, std::vector{Line(points[0], points[2])}, Limits(0.0125)).ok());

  // Vertices on a circle, but the arc bulges away from the chords between
  // them (sagitta 1 - cos 45 degrees of a unit radius).
  const std::vector<XYZ> coarse = ArcPoints(0, 0, 1, 0, 1.5 * kPi, 3);
  FitElement arc = ArcXY(0, 0, 0, 1, 0, 1.5 * kPi);
  arc.start = coarse.front();
  arc.end = coarse.back();
  report = check::CheckFit(coarse, std::vector{arc}, Limits(0.1));
  EXPECT_EQ(report.points_far, 0u);
  EXPECT_GT(report.samples_far, 0u);
  EXPECT_NEAR(report.worst_sample, 1 - std::cos(kPi / 4), 1e-3);
  EXPECT_TRUE(check::CheckFit(coarse, std::vector{arc}, Limits(0.3)).ok());
}

TEST(FitChecker, FindsAChainThatFoldsARunBackOnItself) {
  // There and back and there again, as one line: every point is on it, but
  // not in order.
  const std::vector<XYZ> points = {{0, 0, 0}, {10, 0, 0}, {0, 0, 0}, {10, 0, 0}};
  const check::CheckReport report =
      check::CheckFit(points, std::vector{Line(points[0], points[3])}, Limits(0.01));
  EXPECT_EQ(report.points_backwards, 1u);
  EXPECT_EQ(report.points_far, 0u);
  EXPECT_TRUE(check::CheckFit(points,
                              std::vector{Line(points[0], points[1]), Line(points[1], points[2]),
                                          Line(points[2], points[3])},
                              Limits(0.01))
                  .ok());
  // A step back of 0.01 is no fold with a tolerance of 0.005 (it lies within
  // twice that behind); with 0.003 it is (0.004 from the part of the chain
  // beyond 0.006 behind).
  const std::vector<XYZ> jitter = {{0, 0, 0}, {5, 0, 0}, {4.99, 0, 0}, {10, 0, 0}};
  EXPECT_TRUE(check::CheckFit(jitter, std::vector{Line(jitter[0], jitter[3])}, Limits(0.005)).ok());
  EXPECT_EQ(check::CheckFit(jitter, std::vector{Line(jitter[0], jitter[3])}, Limits(0.003))
                .points_backwards,
            1u);
}

TEST(FitChecker, FindsBrokenJoins) {
  const std::vector<XYZ> points = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}};
  FitElement first = Line(points[0], points[1]);
  FitElement second = Line(points[1], points[2]);
  second.start.x = std::nextafter(1.0, 2.0);  // one unit in the last place
  EXPECT_EQ(check::CheckFit(points, std::vector{first, second}, Limits(0.01)).bad_joins, 1u);
  second.start = points[1];
  second.end.y = 1e-15;  // not the last point, though within any tolerance
  EXPECT_EQ(check::CheckFit(points, std::vector{first, second}, Limits(0.01)).bad_joins, 1u);
  EXPECT_EQ(check::CheckFit(points, std::vector<FitElement>{}, Limits(0.01)).bad_joins, 1u);
}

TEST(FitChecker, FindsMalformedElements) {
  const FitLimits limits = Limits(0.01);
  const FitElement good = ArcXY(1, 2, 3, 5, 0.5, 2);
  EXPECT_EQ(check::ElementProblem(good, limits), "");
  struct Case {
    const char* what;
    void (*spoil)(FitElement&);
  };
  const Case cases[] = {
      {"normal not an axis",
       [](FitElement& e) {
         e.normal = {0, 0.6, 0.8};
       }},
      {"normal not unit",
       [](FitElement& e) {
         e.normal = {0, 0, 0.5};
       }},
      {"centre off the plane", [](FitElement& e) { e.centre.z += 1e-9; }},
      {"end off the plane", [](FitElement& e) { e.end.z += 1e-9; }},
      {"radius below the limit", [](FitElement& e) { e.radius = 0.005; }},
      {"radius above the limit", [](FitElement& e) { e.radius = 1e5; }},
      {"radius not the ends' distance", [](FitElement& e) { e.radius *= 1 + 1e-7; }},
      {"sweep past the limit", [](FitElement& e) { e.sweep = 1.6 * kPi; }},
      {"sweep zero", [](FitElement& e) { e.sweep = 0; }},
      {"sweep not ending at the end", [](FitElement& e) { e.sweep += 1e-6; }},
      {"start not finite", [](FitElement& e) { e.start.x = NAN; }},
  };
  for (const Case& c : cases) {
    FitElement e = good;
    c.spoil(e);
    EXPECT_NE(check::ElementProblem(e, limits), "") << c.what;
  }
  FitElement line;
  line.end = {5e-8, 0, 0};
  EXPECT_NE(check::ElementProblem(line, limits), "");  // shorter than 1e-7
  line.end = {2e-7, 0, 0};
  EXPECT_EQ(check::ElementProblem(line, limits), "");
}

TEST(FitChecker, MeasuresDistancesToArcsInEveryPlane) {
  // A quarter arc of radius 2 about the origin in ZX (normal +Y), from +Z
  // towards +X.
  FitElement arc;
  arc.kind = FitElement::Kind::Arc;
  arc.centre = {0, 0, 0};
  arc.normal = {0, 1, 0};
  arc.radius = 2;
  arc.sweep = kPi / 2;
  arc.start = {0, 0, 2};
  arc.end = {2, 0, 0};
  EXPECT_EQ(check::ElementProblem(arc, Limits(0.01)), "");
  const double s = std::sqrt(0.5);
  EXPECT_NEAR(check::DistanceToElement({3 * s, 0, 3 * s}, arc), 1, 1e-12);  // outside, radially
  EXPECT_NEAR(check::DistanceToElement({s, 0.5, s}, arc), std::hypot(1, 0.5), 1e-12);
  EXPECT_NEAR(check::DistanceToElement({-1, 0, 2}, arc), 1, 1e-12);  // before the start
  EXPECT_NEAR(check::DistanceToElement({2, 0, -3}, arc), 3, 1e-12);  // past the end
  EXPECT_NEAR(check::DistanceToElement({0, 0, 0}, arc), 2, 1e-12);   // the centre
}

}  // namespace
}  // namespace zu::pathfit
