// The sectors that end an arc region early: they keep every circle that
// fits (points on circles of any tangent direction, near sector edges, at
// the least radius, pushed out to just inside the tolerance), and on points
// scattered about the start beyond the tolerance they end the region within
// a few points of where a search over circles finds the last one that fits.
#include "pathfit/internal/arc_sectors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

#include "pathfit/internal/arc_region.h"
#include "pathfit/testing/fit_shapes.h"

namespace zu::pathfit::internal {
namespace {

TEST(ArcSectors, KeepEveryCircleThatFits) {
  constexpr double kTol = 0.005;
  struct Case {
    double radius;
    double tangent_degrees;  // at the start
    double sweep_degrees;    // negative: clockwise
  };
  const Case cases[] = {
      {0.01, 0, 270},      {0.01, 22.5, -270},      {0.01, 22.500001, 90}, {0.3, 67.5, 200},
      {0.3, 112.4999, 45}, {5, 157.5, -120},        {5, 180, 10},          {5, 202.5, -60},
      {50, 247.5, 3},      {9999, 292.5, -0.00005}, {0.0002, 45, 270},  // far below the tolerance
  };
  for (const Case& c : cases) {
    for (double push : {-0.999, 0.0, 0.999}) {
      const double tangent = c.tangent_degrees * kPi / 180;
      const double turn = c.sweep_degrees < 0 ? -1.0 : 1.0;
      // The centre lies left of the tangent for a counter-clockwise arc.
      const Vec2 origin = {3, -2};
      const Vec2 centre = origin + c.radius * turn * Vec2{-std::sin(tangent), std::cos(tangent)};
      const double from = std::atan2(origin.y - centre.y, origin.x - centre.x);
      ArcSectors sectors;
      sectors.Start(origin, kTol, std::max(c.radius * 0.999, kTol / 64));
      const int steps = 400;
      bool alive = true;
      for (int k = 1; k <= steps && alive; ++k) {
        const double angle = from + c.sweep_degrees * kPi / 180 * k / steps;
        // Every other point pushed off the circle, out or in.
        const double r = c.radius + (k % 2 ? push * kTol : 0);
        alive = sectors.Add(centre + r * Vec2{std::cos(angle), std::sin(angle)});
        ASSERT_TRUE(alive) << "radius " << c.radius << ", tangent " << c.tangent_degrees
                           << ", push " << push << ", point " << k;
      }
    }
  }
}

TEST(ArcSectors, LeastRadiusAtItsEdges) {
  // Points about the start in every direction: no circle of radius 0.01
  // keeps them within 0.001, one of any radius may (a tiny one about the
  // start); none is infinitely large.
  const Vec2 ring[] = {{0.003, 0}, {0, 0.003}, {-0.003, 0}, {0, -0.003}, {0.002, 0.002}};
  struct Case {
    double min_radius;
    bool alive;
  };
  for (const Case& c : {Case{0.01, false}, Case{0, true}, Case{INFINITY, false}}) {
    ArcSectors sectors;
    sectors.Start({0, 0}, 0.001, c.min_radius);
    for (const Vec2& p : ring)
      sectors.Add(p);
    EXPECT_EQ(sectors.alive(), c.alive) << "least radius " << c.min_radius;
  }
}

// The farthest point up to which some circle through the start, of radius
// at least `min_radius`, keeps every point within `tol`: a search over
// centres (it may miss the best circle by a little, never find a false one).
std::size_t SearchedReach(const std::vector<XYZ>& points, std::size_t start, double tol,
                          double min_radius) {
  const Vec2 o = {points[start].x, points[start].y};
  std::size_t best = start + 1;
  for (int a = 0; a < 720; ++a) {
    const double angle = 2 * kPi * a / 720;
    for (int r = 0; r < 120; ++r) {
      const double radius = min_radius * std::pow(1e6, r / 119.0);
      const Vec2 c = o + radius * Vec2{std::cos(angle), std::sin(angle)};
      std::size_t j = start + 1;
      while (j < points.size() &&
             std::fabs(Norm(Vec2{points[j].x, points[j].y} - c) - radius) <= tol)
        ++j;
      best = std::max(best, j - 1);
    }
  }
  return best;
}

TEST(ArcRegion, EndsSoonAfterTheLastCircleOnScatteredPoints) {
  // Points 0.1 um apart along X, scattered by 1.25 tolerances: circles fit
  // over a few dozen points at most. The single frame of the region alone
  // outlived them by a hundred.
  constexpr double kTol = 0.005;
  std::mt19937 random(7);
  std::vector<XYZ> points;
  for (int k = 0; k < 2000; ++k)
    points.push_back({1e-4 * k, 0, 0});
  shapes::AddNoise(points, 1.25 * kTol, 2, random);
  ArcLimits limits;
  limits.tolerance = kTol;
  limits.min_radius = 0.01;
  limits.max_radius = 9999;
  limits.max_sweep = 1.5 * kPi;
  for (std::size_t start : {100u, 600u, 1100u, 1600u}) {
    ArcRegion region;
    region.Start(points.data(), start, AxisPlane{2}, limits);
    std::size_t j = start + 1;
    for (ArcGuess guess; j < points.size() && region.alive(); ++j)
      region.Advance(j, guess);
    const std::size_t reach = SearchedReach(points, start, kTol, limits.min_radius);
    // The sectors start on the eighth point and bound within 8 per cent.
    EXPECT_LE(j - start, (reach - start) * 5 / 4 + 8)
        << "start " << start << ": circles to " << reach;
  }
}

}  // namespace
}  // namespace zu::pathfit::internal
