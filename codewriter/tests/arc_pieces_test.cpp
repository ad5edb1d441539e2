#include "codewriter/arc_pieces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace zu::codewriter {
namespace {

constexpr double kPi = std::numbers::pi;

cut::Step ArcStep(cut::Vec end, cut::Vec centre, cut::Vec normal) {
  cut::Step step;
  step.kind = cut::Step::Kind::kArc;
  step.end = end;
  step.centre = centre;
  step.normal = normal;
  return step;
}

double Distance(const cut::Vec& a, const cut::Vec& b) {
  return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

// The largest distance of the polyline start, pieces... from the circle of
// radius r about c in the XY plane, sampled along each chord.
double LargestChordError(const cut::Vec& start, const ArcSplit& split, const cut::Vec& c,
                         double r) {
  double most = 0;
  cut::Vec from = start;
  for (const ArcPiece& piece : split.pieces) {
    for (int k = 0; k <= 20; ++k) {
      const double t = k / 20.0;
      const double x = from.x + t * (piece.end.x - from.x) - c.x;
      const double y = from.y + t * (piece.end.y - from.y) - c.y;
      most = std::max(most, std::fabs(std::hypot(x, y) - r));
    }
    from = piece.end;
  }
  return most;
}

TEST(ArcPieces, SplitsBySweepAndKeepsEveryPieceOnTheCircle) {
  struct Case {
    double max_sweep;
    machine::ArcCentre centre;
    cut::Vec end;  // from (10, 0, 0) about the origin, counter-clockwise about +Z
    std::size_t pieces;
  };
  const Case cases[] = {
      {360, machine::ArcCentre::kIncremental, {0, 10, 0}, 1},  // a quarter
      {90, machine::ArcCentre::kIncremental, {0, 10, 0}, 1},   // exactly the limit
      {90, machine::ArcCentre::kIncremental, {-10, 0, 0}, 2},  // a half by quadrants
      {90, machine::ArcCentre::kIncremental, {10, 0, 0}, 4},   // a full turn by quadrants
      {360, machine::ArcCentre::kIncremental, {10, 0, 0}, 2},  // a full turn never in one
      {360, machine::ArcCentre::kRadius, {-10, 0, 0}, 2},      // R cannot tell 180 from 180
      {360, machine::ArcCentre::kRadius, {0, -10, 0}, 2},      // 270 degrees with R
  };
  for (const Case& c : cases) {
    machine::Arcs arcs;
    arcs.max_sweep_degrees = c.max_sweep;
    arcs.centre = c.centre;
    ArcSplit split;
    SplitArc({10, 0, 0}, ArcStep(c.end, {0, 0, 0}, {0, 0, 1}), arcs, 0.001, split);
    ASSERT_EQ(split.outcome, ArcOutcome::kArcs);
    ASSERT_EQ(split.pieces.size(), c.pieces) << c.end.x << "," << c.end.y;
    double sweep = 0;
    for (const ArcPiece& piece : split.pieces) {
      EXPECT_NEAR(Distance(piece.end, {0, 0, 0}), 10, 1e-12);
      EXPECT_LE(piece.sweep, c.max_sweep * kPi / 180 + 1e-12);
      sweep += piece.sweep;
    }
    EXPECT_EQ(split.pieces.back().end, c.end);  // the last piece ends where the arc does
    const double expected = c.end.y > 0   ? kPi / 2
                            : c.end.x < 0 ? kPi
                            : c.end.y < 0 ? 1.5 * kPi
                                          : 2 * kPi;
    EXPECT_NEAR(sweep, expected, 1e-12);
  }
}

TEST(ArcPieces, ArcsTheMachineCannotTakeBecomeLinesWithinTheTolerance) {
  struct Case {
    const char* what;
    machine::Arcs arcs;
    cut::Vec end;
    ArcOutcome outcome;
  };
  machine::Arcs no_xy;
  no_xy.xy = false;
  machine::Arcs big_minimum;
  big_minimum.min_radius = 10.5;
  machine::Arcs small_maximum;
  small_maximum.max_radius = 9.5;
  machine::Arcs no_helix;
  no_helix.helical = false;
  const Case cases[] = {
      {"no G17", no_xy, {-10, 0, 0}, ArcOutcome::kLinesPlane},
      {"radius below the smallest", big_minimum, {-10, 0, 0}, ArcOutcome::kLinesRadius},
      {"radius above the largest", small_maximum, {-10, 0, 0}, ArcOutcome::kLinesRadius},
      {"a helix", no_helix, {-10, 0, -3}, ArcOutcome::kLinesHelix},
      {"end off the circle", machine::Arcs{}, {-10.5, 0, 0}, ArcOutcome::kLinesDegenerate},
  };
  for (const Case& c : cases) {
    ArcSplit split;
    SplitArc({10, 0, 0}, ArcStep(c.end, {0, 0, 0}, {0, 0, 1}), c.arcs, 0.001, split);
    EXPECT_EQ(split.outcome, c.outcome) << c.what;
    EXPECT_EQ(split.pieces.back().end, c.end) << c.what;
    if (c.outcome == ArcOutcome::kLinesDegenerate)
      continue;
    EXPECT_GT(split.pieces.size(), 50u) << c.what;  // a half turn of r 10 at 1 um
    EXPECT_LE(LargestChordError({10, 0, 0}, split, {0, 0, 0}, 10), 0.001) << c.what;
  }
}

TEST(ArcPieces, PlanesAndDirectionsFollowTheNormal) {
  // A quarter in ZX about +Y runs from Z to X; one about -X in YZ from Z to Y.
  ArcSplit split;
  SplitArc({0, 0, 10}, ArcStep({10, 0, 0}, {0, 0, 0}, {0, 1, 0}), machine::Arcs{}, 0.001, split);
  ASSERT_EQ(split.pieces.size(), 1u);
  EXPECT_NEAR(split.pieces[0].sweep, kPi / 2, 1e-12);
  SplitArc({0, 0, 10}, ArcStep({0, 10, 0}, {0, 0, 0}, {-1, 0, 0}), machine::Arcs{}, 0.001, split);
  ASSERT_EQ(split.pieces.size(), 1u);
  EXPECT_NEAR(split.pieces[0].sweep, kPi / 2, 1e-12);
}

}  // namespace
}  // namespace zu::codewriter
