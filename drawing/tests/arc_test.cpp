#include "drawing/internal/arc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace zu::draw::internal {
namespace {

Move ArcAboutZ(double radius, double sweep, double rise = 0) {
  Move m;
  m.kind = Move::Kind::kArc;
  m.centre = {10, 20, 5};
  m.from = {10 + radius, 20, 5};
  m.normal = {0, 0, 2};  // any length
  m.sweep = sweep;
  m.to = {10 + radius * std::cos(sweep), 20 + radius * std::sin(sweep), 5 + rise};
  return m;
}

// Chords within the tolerance of the arc, and not far finer than needed
// (their largest error over a quarter of the tolerance): measured at the
// middle of each chord against the exact circle.
TEST(SampleArc, ChordsWithinTheTolerance) {
  for (double radius : {0.05, 1.0, 37.5, 800.0}) {
    for (double sweep : {0.3, -2.0, 2 * std::numbers::pi}) {
      const auto arc = FrameOf(ArcAboutZ(radius, sweep));
      ASSERT_TRUE(arc);
      const auto points = SampleArc(*arc, 0.01);
      double worst = 0;
      for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const Point mid = Scale(0.5, Add(points[i], points[i + 1]));
        worst = std::max(worst, radius - std::hypot(mid.x - 10, mid.y - 20));
        EXPECT_NEAR(std::hypot(points[i].x - 10, points[i].y - 20), radius, 1e-9);
      }
      EXPECT_LE(worst, 0.01) << radius << " " << sweep;
      if (radius > 0.05) {
        EXPECT_GT(worst, 0.0025) << radius << " " << sweep;
      }
      const Point end = points.back();
      EXPECT_NEAR(end.x, 10 + radius * std::cos(sweep), 1e-9);
      EXPECT_NEAR(end.y, 20 + radius * std::sin(sweep), 1e-9);
    }
  }
}

TEST(SampleArc, HelixRisesEvenly) {
  const auto arc = FrameOf(ArcAboutZ(5, std::numbers::pi, 3));
  ASSERT_TRUE(arc);
  const auto points = SampleArc(*arc, 0.01);
  const std::size_t half = (points.size() - 1) / 2;
  EXPECT_NEAR(points[half].z - 5, 3.0 * half / (points.size() - 1), 1e-12);
  EXPECT_NEAR(points.back().z, 8, 1e-12);
}

TEST(FrameOf, DegenerateArcsAreNoArcs) {
  Move no_normal = ArcAboutZ(5, 1);
  no_normal.normal = {0, 0, 0};
  Move on_centre = ArcAboutZ(5, 1);
  on_centre.from = on_centre.centre;
  Move no_sweep = ArcAboutZ(5, 0);
  Move line = ArcAboutZ(5, 1);
  line.kind = Move::Kind::kLine;
  for (const Move& m : {no_normal, on_centre, no_sweep, line})
    EXPECT_FALSE(FrameOf(m));
}

// A half turn about Z from +X, counter-clockwise, reaches its largest Y at a
// quarter turn and its smallest X at its end (an end: not listed).
TEST(ExtremeAngles, WithinTheSweepOnly) {
  const auto ccw = FrameOf(ArcAboutZ(5, std::numbers::pi));
  ASSERT_TRUE(ccw);
  const auto y = ExtremeAngles(*ccw, {0, 1, 0});
  ASSERT_EQ(y.size(), 1u);
  EXPECT_NEAR(y[0], std::numbers::pi / 2, 1e-12);
  EXPECT_TRUE(ExtremeAngles(*ccw, {1, 0, 0}).empty());
  // Clockwise the same half turn passes through -Y instead.
  const auto cw = FrameOf(ArcAboutZ(5, -std::numbers::pi));
  ASSERT_TRUE(cw);
  const auto y_cw = ExtremeAngles(*cw, {0, 1, 0});
  ASSERT_EQ(y_cw.size(), 1u);
  EXPECT_NEAR(cw->At(y_cw[0]).y, 20 - 5, 1e-12);
}

}  // namespace
}  // namespace zu::draw::internal
