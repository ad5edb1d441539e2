// Arcs as chord points: how many, and that every chord keeps within the
// tolerance of its arc, checked against the arc itself.
#include "conditioning/arc_chords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "host/math.h"

namespace zu {
namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(ArcChords, CountsAtTheEdges) {
  struct Case {
    double radius, sweep, tolerance;
    int count;
  } const cases[] = {
      {10, kPi / 2, 0.01, 18},
      {10, kPi / 2, 0.005, 25},
      {10, kPi / 2, 0, 25},  // not above zero: the default 0.005
      {10, kPi / 2, -1, 25},
      {10, -kPi / 2, 0.005, 25},  // the sweep's sign does not count
      {10, kPi / 2, 20, 1},       // twice the radius: half a turn per chord
      {10, 3 * kPi / 2, 20, 1},   // a sagitta of 17 is within 20
      {10, kPi / 2, 25, 1},       // more than twice the radius
      {0, kPi / 2, 0.005, 0},     // no radius: no chord
      {-1, kPi / 2, 0.005, 0},
      // far too fine: bounded, never overflowing or asking for millions
      {10, kPi / 2, 1e-14, kMaxChordCount},
      {10, kPi / 2, 1e-17, kMaxChordCount},  // 1 - t/R rounds to 1: h is 0
      {10, 0, 1e-17, 1},                     // no sweep, h 0: one chord, the end
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChordCount(c.radius, c.sweep, c.tolerance), c.count)
        << c.radius << " " << c.sweep << " " << c.tolerance;
  }
}

// An arc about `centre` in a plane spanned by unit vectors `u` and `v`,
// starting at angle 0, turning `sweep`.
nc_arc ArcIn(const XYZ& centre, const XYZ& u, const XYZ& v, double radius, double sweep) {
  auto at = [&](double angle, double r) {
    return XYZ{centre.x + r * (std::cos(angle) * u.x + std::sin(angle) * v.x),
               centre.y + r * (std::cos(angle) * u.y + std::sin(angle) * v.y),
               centre.z + r * (std::cos(angle) * u.z + std::sin(angle) * v.z)};
  };
  nc_arc arc;
  arc.centre = centre;
  arc.second = at(0, 10);
  arc.third = at(kPi / 2, 10);
  arc.fourth = at(0, radius);
  arc.end = at(sweep, radius);
  arc.radius = radius;
  arc.sweep = sweep;
  return arc;
}

// The largest distance of the chord from `a` to `b` from the arc: at its
// middle, the radius less the distance of the middle from the centre.
double Sagitta(const XYZ& centre, double radius, const XYZ& a, const XYZ& b) {
  const XYZ middle{(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2};
  return radius - PointDistance(centre, middle);
}

TEST(ArcChords, EveryPointIsOnTheArcAndEveryChordWithinTheTolerance) {
  std::mt19937 random(5);
  std::uniform_real_distribution<double> unit(-1, 1);
  std::uniform_real_distribution<double> radius(0.05, 500);
  std::uniform_real_distribution<double> sweep(-2 * kPi, 2 * kPi);
  std::uniform_real_distribution<double> tolerance(0.0005, 0.5);
  int chords = 0;
  for (int i = 0; i < 300; ++i) {
    XYZ u{unit(random), unit(random), unit(random)};
    MathSplitVector(u.x, u.y, u.z);
    XYZ w{unit(random), unit(random), unit(random)}, v;
    CrossProduct(u, w, v);
    MathSplitVector(v.x, v.y, v.z);
    const XYZ centre{unit(random) * 100, unit(random) * 100, unit(random) * 100};
    const nc_arc arc = ArcIn(centre, u, v, radius(random), sweep(random));
    const double tol = tolerance(random);
    const auto points = ArcChordPoints(arc, tol);
    ASSERT_EQ(static_cast<int>(points.size()), ChordCount(arc.radius, arc.sweep, tol));
    XYZ from = arc.fourth;
    for (const XYZ& p : points) {
      EXPECT_NEAR(PointDistance(p, arc.centre), arc.radius, 1e-9 * (1 + arc.radius));
      EXPECT_LE(Sagitta(arc.centre, arc.radius, from, p), tol + 1e-9) << i;
      from = p;
      ++chords;
    }
    EXPECT_LT(PointDistance(points.back(), arc.end), 1e-9 * (1 + arc.radius)) << i;
  }
  EXPECT_GT(chords, 1000);
}

TEST(ArcChords, AnArcWithoutRadiusOrPlaneGivesItsEndAlone) {
  nc_arc flat = ArcIn({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0, kPi);
  flat.end = {3, 4, 5};
  EXPECT_EQ(ArcChordPoints(flat, 0.005), std::vector<XYZ>{flat.end});
  nc_arc no_plane = ArcIn({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 5, kPi);
  no_plane.third = no_plane.second;  // both axis points on one line
  EXPECT_EQ(ArcChordPoints(no_plane, 0.005), std::vector<XYZ>{no_plane.end});
}

}  // namespace
}  // namespace zu
