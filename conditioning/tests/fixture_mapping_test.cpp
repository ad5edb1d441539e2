// The fixture mapping: there and back gives the point again, and retract
// points move along the chosen fixture axis only.
#include "conditioning/fixture_mapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "host/math.h"

namespace zu {
namespace {

void ExpectNear(const XYZ& a, const XYZ& b, double tolerance = 1e-9) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

// A work system's matrix from an origin and a rotation about Z and then X.
TRANSF SystemMatrix(const XYZ& origin, double about_z, double about_x) {
  const XYZ x{std::cos(about_z), std::sin(about_z), 0};
  const XYZ y{-std::sin(about_z) * std::cos(about_x), std::cos(about_z) * std::cos(about_x),
              std::sin(about_x)};
  TRANSF m;
  EXPECT_EQ(CoordSysMatrix(origin, x, y, m), 1);
  return m;
}

TEST(FixtureMapping, ThereAndBackGivesThePointAgain) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> coordinate(-500, 500);
  std::uniform_real_distribution<double> angle(-3.1, 3.1);
  for (int i = 0; i < 200; ++i) {
    const FixtureMapping mapping(
        SystemMatrix({coordinate(random), coordinate(random), coordinate(random)}, angle(random),
                     angle(random)),
        SystemMatrix({coordinate(random), 0, coordinate(random)}, angle(random), angle(random)));
    const XYZ p{coordinate(random), coordinate(random), coordinate(random)};
    ExpectNear(mapping.FromFixture(mapping.ToFixture(p)), p);
    ExpectNear(mapping.ToFixture(mapping.FromFixture(p)), p);
  }
}

TEST(FixtureMapping, PointsLandWhereTheyWereWorkedOutByHand) {
  // The path's system has its origin at (100, 0, 0) of the document; the
  // fixture's at (0, 50, 0), turned a quarter about Z: its X axis is the
  // document's -Y, its Y axis the document's X.
  TRANSF path;
  path.m[0][3] = -100;
  TRANSF fixture;
  fixture.m[0][0] = 0, fixture.m[0][1] = -1, fixture.m[0][3] = 50;
  fixture.m[1][0] = 1, fixture.m[1][1] = 0;
  const FixtureMapping mapping(path, fixture);
  // (1, 2, 3) of the path is (101, 2, 3) of the document.
  ExpectNear(mapping.ToFixture({1, 2, 3}), {48, 101, 3});
  ExpectNear(mapping.FromFixture({48, 101, 3}), {1, 2, 3});
  // The fixture's origin is (-100, 50, 0) in the path's system.
  ExpectNear(mapping.FromFixture({0, 0, 0}), {-100, 50, 0});
  ExpectNear(mapping.ToFixture({-100, 50, 0}), {0, 0, 0});
  // Up to 500 along the fixture's X axis: the document's -Y.
  ExpectNear(mapping.RetractPoint({1, 2, 3}, kRetractAlongX, 500), {1, -450, 3});
}

TEST(FixtureMapping, IdenticalSystemsMapNothingAndRetractStraightUp) {
  const TRANSF tilted = SystemMatrix({10, 20, 30}, 0.3, 0.7);
  const FixtureMapping same(tilted, tilted);
  ExpectNear(same.ToFixture({1, 2, 3}), {1, 2, 3});
  ExpectNear(same.RetractPoint({1, 2, 3}, 2, 500), {1, 2, 500});
  ExpectNear(same.RetractPoint({1, 2, 3}, 5, 500), {1, 2, 500});  // any other axis is Z
  ExpectNear(same.RetractPoint({1, 2, 3}, 0, 50), {50, 2, 3});
  ExpectNear(same.RetractPoint({1, 2, 3}, 1, 60), {1, 60, 3});
}

TEST(FixtureMapping, ARetractKeepsTheOtherTwoFixtureCoordinates) {
  const FixtureMapping mapping(SystemMatrix({5, 5, 0}, 0.5, 0.4), SystemMatrix({0, 0, 0}, 0, 0));
  const XYZ p{3, 4, 5};
  const XYZ up = mapping.RetractPoint(p, 2, 123);
  const XYZ p_fixture = mapping.ToFixture(p);
  const XYZ up_fixture = mapping.ToFixture(up);
  EXPECT_NEAR(up_fixture.x, p_fixture.x, 1e-9);
  EXPECT_NEAR(up_fixture.y, p_fixture.y, 1e-9);
  EXPECT_NEAR(up_fixture.z, 123, 1e-9);
}

TEST(FixtureMapping, ASingularMatrixActsAsTheIdentity) {
  TRANSF flat;
  flat.m[2][2] = 0;
  const FixtureMapping mapping(flat, TRANSF{});
  ExpectNear(mapping.ToFixture({1, 2, 3}), {1, 2, 3});
}

}  // namespace
}  // namespace zu
