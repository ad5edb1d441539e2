// The dynamic programme gives the least element counts known by hand for
// simple runs, and chains that the checker passes.
#include "pathfit/testing/fit_optimum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "pathfit/testing/fit_checker.h"
#include "pathfit/testing/fit_shapes.h"

namespace zu::pathfit {
namespace {

constexpr double kPi = 3.14159265358979323846;
namespace shapes = pathfit::shapes;

FitLimits Limits(double tolerance) {
  FitLimits limits;
  limits.tolerance = tolerance;
  return limits;
}

std::size_t Arcs(const std::vector<FitElement>& chain) {
  std::size_t n = 0;
  for (const FitElement& e : chain)
    n += e.kind == FitElement::Kind::Arc;
  return n;
}

// A rounded corner: 10 mm along X, a quarter turn of radius 5, 10 mm along Y,
// each piece sampled every 0.1 mm.
std::vector<XYZ> RoundedCorner() {
  std::vector<XYZ> points;
  for (int k = 0; k <= 100; ++k)
    points.push_back({0.1 * k, 0, 0});
  for (int k = 1; k <= 78; ++k) {
    const double a = -kPi / 2 + (kPi / 2) * k / 78;
    points.push_back({10 + 5 * std::cos(a), 5 + 5 * std::sin(a), 0});
  }
  for (int k = 1; k <= 100; ++k)
    points.push_back({15, 5 + 0.1 * k, 0});
  return points;
}

TEST(FitOptimum, KnownCounts) {
  struct Case {
    const char* what;
    std::vector<XYZ> points;
    double tolerance;
    std::size_t count;  // 0: not known by hand
    int arcs;           // -1: any number
  };
  shapes::ArcShape circle;
  circle.radius = 10;
  const Case cases[] = {
      {"square with points along its sides",
       {{0, 0, 0}, {4, 0, 0}, {8, 0, 0}, {8, 4, 0}, {8, 8, 0}, {0, 8, 0}, {0, 4, 0}, {0, 0, 0}},
       0.001,
       4,
       0},
      {"zigzag of 20 teeth", shapes::Zigzag(20, 1, 1), 0.01, 40, 0},
      {"closed circle: a full turn is two arcs at most 270 degrees each",
       shapes::SampleArc(circle, {shapes::Sampling::Mode::kChordError, 0.001}), 0.005, 2, 2},
      {"rounded corner (one arc and two lines, or two arcs and a line)", RoundedCorner(), 0.001, 3,
       -1},
      {"helix: lines only", shapes::Helix(5, 1, 1, 0.5), 0.01, 0, 0},
      {"collinear", {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}}, 0.001, 1, 0},
      {"two points", {{0, 0, 0}, {1, 2, 3}}, 0.001, 1, 0},
  };
  for (const Case& c : cases) {
    const check::Optimum optimum = check::FitOptimum(c.points, Limits(c.tolerance));
    ASSERT_TRUE(optimum.found) << c.what;
    if (c.count != 0) {
      EXPECT_EQ(optimum.count, c.count) << c.what;
    }
    EXPECT_EQ(optimum.chain.size(), optimum.count) << c.what;
    if (c.arcs >= 0) {
      EXPECT_EQ(Arcs(optimum.chain), static_cast<std::size_t>(c.arcs)) << c.what;
    }
    const check::CheckReport report = check::CheckFit(c.points, optimum.chain, Limits(c.tolerance));
    EXPECT_TRUE(report.ok()) << c.what << ": " << report.first_problem;
  }
}

TEST(FitOptimum, ShortcutsWithAKnownChain) {
  shapes::ArcShape arc;
  arc.radius = 10;
  arc.sweep = kPi;
  const std::vector<XYZ> half = shapes::SampleArc(arc, {shapes::Sampling::Mode::kStep, 0.5});
  arc.sweep = 2 * kPi;
  const std::vector<XYZ> full = shapes::SampleArc(arc, {shapes::Sampling::Mode::kStep, 0.5});
  const FitLimits limits = Limits(0.05);
  EXPECT_EQ(check::FitOptimum(half, limits, 2).count, 1u);  // one arc covers it
  EXPECT_EQ(check::FitOptimum(full, limits, 2).count, 2u);  // more than 270 degrees
  EXPECT_EQ(check::FitOptimum(full, limits, 1).count, 1u);  // taken as given
  EXPECT_EQ(check::FitOptimum(full, limits, 0).count, 2u);  // the full search agrees
  EXPECT_FALSE(check::FitOptimum(std::vector<XYZ>{{1, 1, 1}}, limits).found);
}

TEST(FitOptimum, ChunksCoverTheRunAndShareTheirEnds) {
  struct Case {
    std::size_t count, max_points, chunks;
  };
  const Case cases[] = {{2, 400, 1}, {400, 400, 1}, {401, 400, 2}, {1000, 400, 3},
                        {10, 2, 9},  {5, 1, 4},     {0, 400, 0},   {1, 400, 0}};
  for (const Case& c : cases) {
    const auto ranges = check::Chunks(c.count, c.max_points);
    ASSERT_EQ(ranges.size(), c.chunks) << c.count << " / " << c.max_points;
    for (std::size_t k = 0; k < ranges.size(); ++k) {
      EXPECT_LT(ranges[k].first, ranges[k].second);
      EXPECT_LE(ranges[k].second - ranges[k].first + 1, std::max<std::size_t>(c.max_points, 2));
      EXPECT_EQ(ranges[k].first, k == 0 ? 0 : ranges[k - 1].second);
    }
    if (!ranges.empty()) {
      EXPECT_EQ(ranges.back().second, c.count - 1);
    }
  }
}

}  // namespace
}  // namespace zu::pathfit
