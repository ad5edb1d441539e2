// Distances to straight moves, arcs and helices, and the sampled largest
// distance between two runs, checked against geometry worked out by hand.
#include "verification/internal/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace zu::verify::internal {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr Vec kUp{0, 0, 1};

// A quarter circle of radius 10 about the origin, from +X to +Y.
Piece Quarter() {
  return MakeArc({10, 0, 0}, {0, 10, 0}, {0, 0, 0}, kUp);
}

TEST(Geometry, ArcShape) {
  struct Case {
    Piece arc;
    double sweep;
    double length;
  };
  const Case kCases[] = {
      {Quarter(), kPi / 2, 5 * kPi},
      // clockwise seen from +Z: three quarters about +Z the other way
      {MakeArc({10, 0, 0}, {0, 10, 0}, {0, 0, 0}, {0, 0, -1}), kPi * 1.5, 15 * kPi},
      {MakeArc({10, 0, 0}, {10, 0, 0}, {0, 0, 0}, kUp), 2 * kPi, 20 * kPi},  // full circle
      {MakeArc({10, 0, 0}, {10, 0, 4}, {0, 0, 0}, kUp), 2 * kPi, std::hypot(20 * kPi, 4)},
      // the centre given at another height is taken into the start's plane
      {MakeArc({10, 0, 0}, {-10, 0, 0}, {0, 0, 7}, kUp), kPi, 10 * kPi},
  };
  for (const Case& c : kCases) {
    EXPECT_TRUE(c.arc.arc);
    EXPECT_NEAR(c.arc.sweep, c.sweep, 1e-12);
    EXPECT_NEAR(Length(c.arc), c.length, 1e-9);
    EXPECT_NEAR(c.arc.centre.z, 0, 1e-12);
  }
  // No axis, or a start on the centre: a straight move.
  EXPECT_FALSE(MakeArc({10, 0, 0}, {0, 10, 0}, {0, 0, 0}, {0, 0, 0}).arc);
  EXPECT_FALSE(MakeArc({0, 0, 0}, {0, 10, 0}, {0, 0, 0}, kUp).arc);
}

TEST(Geometry, DistanceToPieces) {
  const Piece line = MakeLine({0, 0, 0}, {10, 0, 0});
  const Piece helix = MakeArc({10, 0, 0}, {0, 10, 2}, {0, 0, 0}, kUp);
  const double r45 = 10 * std::sqrt(0.5);
  struct Case {
    const Piece& piece;
    Vec point;
    double distance;
  };
  const Case kCases[] = {
      {line, {5, 3, 4}, 5},
      {line, {-3, 4, 0}, 5},  // beyond the start: to the start
      {line, {13, 0, 4}, 5},
      {Quarter(), {r45, r45, 0}, 0},
      {Quarter(), {12 * std::sqrt(0.5), 12 * std::sqrt(0.5), 0}, 2},
      {Quarter(), {0, 0, 0}, 10},  // the centre
      {Quarter(), {r45, r45, 3}, 3},
      {Quarter(), {0, -4, 0}, std::hypot(10, 4)},  // outside the sweep: to the nearer end
      {helix, {r45, r45, 1}, 0},
      {helix, {0, 10, 2}, 0},
      {helix, {0, 10, 0}, 2},
  };
  for (const Case& c : kCases)
    EXPECT_NEAR(DistanceTo(c.point, c.piece), c.distance, 1e-9)
        << c.point.x << " " << c.point.y << " " << c.point.z;
  EXPECT_TRUE(std::isinf(DistanceTo({std::nan(""), 0, 0}, line)));
}

TEST(Geometry, ChordsOfAnArcAreTheirSagittaAway) {
  for (int chords : {1, 2, 7, 64}) {
    std::vector<Piece> polyline;
    Vec at{10, 0, 0};
    for (int k = 1; k <= chords; ++k) {
      const double angle = kPi / 2 * k / chords;
      const Vec next{10 * std::cos(angle), 10 * std::sin(angle), 0};
      polyline.push_back(MakeLine(at, next));
      at = next;
    }
    const Piece arc = Quarter();
    const double sagitta = 10 * (1 - std::cos(kPi / 4 / chords));
    const Farthest back = Directed(polyline, std::span(&arc, 1));
    EXPECT_NEAR(back.distance, sagitta, 1e-12) << chords;
    // From the arc to the chords: samples every 22.5 degrees, at the
    // crowns where they fall on them.
    const Farthest there = Directed(std::span(&arc, 1), polyline);
    EXPECT_LE(there.distance, sagitta + 1e-12) << chords;
    if (chords <= 2) {
      EXPECT_NEAR(there.distance, sagitta, 1e-12) << chords;
    }
  }
}

TEST(Geometry, LinesApart) {
  const Piece a = MakeLine({0, 0, 0}, {10, 0, 0});
  EXPECT_NEAR(LinesApart(a, MakeLine({0, 0.01, 0}, {10, 0.01, 0})).distance, 0.01, 1e-15);
  EXPECT_NEAR(LinesApart(a, MakeLine({0, 0, 0}, {9, 0, 0})).distance, 1, 1e-15);
  const Farthest far = LinesApart(a, MakeLine({0, 0, 0}, {10, 0, 3}));
  EXPECT_NEAR(far.distance, 3, 1e-15);
  EXPECT_EQ(far.point, (Vec{10, 0, 3}));
}

TEST(Geometry, ArcsApart) {
  const Piece arc = Quarter();
  EXPECT_EQ(ArcsApart(arc, arc).distance, 0);
  // The same circle from 0.01 further on: the start 0.01 away (nearly).
  const Vec later{10 * std::cos(0.001), 10 * std::sin(0.001), 0};
  EXPECT_NEAR(ArcsApart(arc, MakeArc(later, {0, 10, 0}, {0, 0, 0}, kUp)).distance, 0.01, 1e-6);
  // A radius 0.02 larger about a centre 0.02 lower.
  const Piece wider = MakeArc({10.02, -0.02, 0}, {0, 10, 0}, {0, -0.02, 0}, kUp);
  EXPECT_NEAR(ArcsApart(arc, wider).distance, std::hypot(0.02, 0.02), 1e-4);
}

TEST(Geometry, SplitArcApart) {
  const Piece half = MakeArc({10, 0, 0}, {-10, 0, 0}, {0, 0, 0}, kUp);
  struct Case {
    Vec centre;  // of the two quarters
    double radius;
  };
  constexpr Case kCases[] = {{{0, 0, 0}, 10}, {{0, 0.005, 0}, 10}, {{0.003, 0, 0}, 10.01}};
  for (const Case& c : kCases) {
    const Vec& o = c.centre;
    const Vec top{o.x, o.y + c.radius, 0};
    const Piece parts[] = {MakeArc(half.start, top, o, kUp), MakeArc(top, half.end, o, kUp)};
    Farthest split;
    ASSERT_TRUE(SplitArcApart(half, parts, split));
    // As measured by sampling both ways, or a little more (an upper bound).
    const double sampled = std::max(Directed(std::span(&half, 1), parts).distance,
                                    Directed(parts, std::span(&half, 1)).distance);
    EXPECT_GE(split.distance, sampled - 1e-12) << c.radius;
    EXPECT_LE(split.distance, sampled + 0.002) << c.radius;
  }
  // Not stretches of the half circle: turning the other way, straight.
  const Vec top{0, 10, 0};
  Farthest untouched;
  const Piece other[] = {MakeArc(half.start, top, {}, kUp), MakeArc(top, half.end, {}, {0, 0, -1})};
  EXPECT_FALSE(SplitArcApart(half, other, untouched));
  const Piece chords[] = {MakeLine(half.start, top), MakeLine(top, half.end)};
  EXPECT_FALSE(SplitArcApart(half, chords, untouched));
  EXPECT_EQ(untouched.distance, 0);
}

}  // namespace
}  // namespace zu::verify::internal
