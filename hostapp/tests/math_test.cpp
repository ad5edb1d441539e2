// Properties of the host's math, on seeded random inputs: inverses give
// points back, frames are orthonormal, angles stay within 0 to pi.
#include "host/math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

constexpr double kPi = 3.14159265358979323846;

class RandomGeometry {
 public:
  explicit RandomGeometry(unsigned seed) : engine_(seed) {}
  double Number(double range = 100) {
    return std::uniform_real_distribution<double>(-range, range)(engine_);
  }
  XYZ Point(double range = 100) { return {Number(range), Number(range), Number(range)}; }

 private:
  std::mt19937 engine_;
};

double Dot(const XYZ& a, const XYZ& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

void ExpectNear(const XYZ& a, const XYZ& b, double tolerance) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

TEST(HostMath, InverseMatrixGivesPointsBack) {
  RandomGeometry random(7);
  int inverted = 0;
  for (int i = 0; i < 500; ++i) {
    TRANSF m;
    for (auto& row : m.m) {
      for (double& v : row)
        v = random.Number(2);
    }
    m.m[3][0] = m.m[3][1] = m.m[3][2] = 0;
    m.m[3][3] = 1;
    TRANSF inverse;
    if (!MatInverse(m, inverse))
      continue;
    ++inverted;
    const XYZ p = random.Point();
    XYZ there;
    XYZ back;
    PointTransform(p, m, there);
    PointTransform(there, inverse, back);
    // Random matrices can be badly conditioned: scale the tolerance by the size.
    ExpectNear(back, p, 1e-6 * (1 + std::fabs(there.x) + std::fabs(there.y) + std::fabs(there.z)));
  }
  EXPECT_GT(inverted, 450);
}

TEST(HostMath, AQuarterTurnAboutZInvertsExactly) {
  // The first pivot is 0: inverting needs a row exchange.
  TRANSF turn;
  turn.m[0][0] = 0;
  turn.m[0][1] = -1;
  turn.m[1][0] = 1;
  turn.m[1][1] = 0;
  turn.m[0][3] = 5;
  turn.m[1][3] = 6;
  turn.m[2][3] = 7;
  TRANSF inverse;
  ASSERT_EQ(MatInverse(turn, inverse), 1);
  const double expected[4][4] = {{0, 1, 0, -6}, {-1, 0, 0, 5}, {0, 0, 1, -7}, {0, 0, 0, 1}};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c)
      EXPECT_NEAR(inverse.m[r][c], expected[r][c], 1e-15) << r << "," << c;
  }
  XYZ there;
  PointTransform({1, 0, 0}, turn, there);
  ExpectNear(there, {5, 7, 7}, 1e-15);
}

TEST(HostMath, SingularMatrixIsRefusedAndOutputLeftAlone) {
  TRANSF singular;
  singular.m[2][0] = singular.m[2][1] = singular.m[2][2] = 0;  // flattens z
  TRANSF out;
  out.m[0][3] = 42;
  EXPECT_EQ(MatInverse(singular, out), 0);
  EXPECT_EQ(out.m[0][3], 42);
}

TEST(HostMath, AnglesLieBetweenZeroAndPi) {
  RandomGeometry random(11);
  for (int i = 0; i < 1000; ++i) {
    const XYZ u = random.Point();
    const XYZ v = random.Point();
    double angle = -1;
    MathVectorAngle(u, v, angle);
    EXPECT_GE(angle, 0);
    EXPECT_LE(angle, kPi);
    double reverse = -1;
    MathVectorAngle(v, u, reverse);
    EXPECT_NEAR(angle, reverse, 1e-12);
    // Independent check through the cosine.
    const double cosine = Dot(u, v) / std::sqrt(Dot(u, u) * Dot(v, v));
    EXPECT_NEAR(std::cos(angle), cosine, 1e-9);
    const XYZ c = random.Point();
    const XYZ s{c.x + u.x, c.y + u.y, c.z + u.z};
    const XYZ e{c.x + v.x, c.y + v.y, c.z + v.z};
    double arc = -1;
    MathArcAngle(c, s, e, arc);
    EXPECT_NEAR(arc, angle, 1e-9);
  }
  double angle = -1;
  MathVectorAngle({1, 0, 0}, {-2, 0, 0}, angle);
  EXPECT_DOUBLE_EQ(angle, kPi);
  MathVectorAngle({1, 2, 3}, {2, 4, 6}, angle);
  EXPECT_NEAR(angle, 0, 1e-12);
  MathVectorAngle({0, 0, 0}, {1, 0, 0}, angle);
  EXPECT_EQ(angle, 0);
}

TEST(HostMath, ArcFramesAreOrthonormalAndPlaceTheirPoints) {
  RandomGeometry random(13);
  for (int i = 0; i < 500; ++i) {
    const XYZ origin = random.Point();
    const XYZ x_point = random.Point();
    const XYZ plane_point = random.Point();
    TRANSF frame;
    ASSERT_EQ(ArcFrameMatrix(origin, x_point, plane_point, frame), 1);
    // Rows of the linear part are orthonormal and right-handed.
    const XYZ r[3] = {{frame.m[0][0], frame.m[0][1], frame.m[0][2]},
                      {frame.m[1][0], frame.m[1][1], frame.m[1][2]},
                      {frame.m[2][0], frame.m[2][1], frame.m[2][2]}};
    for (int a = 0; a < 3; ++a) {
      for (int b = 0; b < 3; ++b)
        EXPECT_NEAR(Dot(r[a], r[b]), a == b ? 1.0 : 0.0, 1e-12);
    }
    XYZ z;
    CrossProduct(r[0], r[1], z);
    ExpectNear(z, r[2], 1e-12);
    XYZ p;
    PointTransform(origin, frame, p);
    ExpectNear(p, {0, 0, 0}, 1e-9);
    PointTransform(x_point, frame, p);
    ExpectNear(p, {PointDistance(origin, x_point), 0, 0}, 1e-9);
    PointTransform(plane_point, frame, p);
    EXPECT_NEAR(p.z, 0, 1e-9);
    EXPECT_GT(p.y, 0);
  }
  TRANSF unused;
  EXPECT_EQ(ArcFrameMatrix({0, 0, 0}, {0, 0, 0}, {1, 1, 0}, unused), 0);
  EXPECT_EQ(ArcFrameMatrix({0, 0, 0}, {1, 0, 0}, {5, 0, 0}, unused), 0);
}

TEST(HostMath, CoordinateSystemMatrixMapsItsOriginAndAxes) {
  const double s = std::sqrt(0.5);
  TRANSF m;
  ASSERT_EQ(CoordSysMatrix({100, 0, 20}, {10, 0, 0}, {0, 10 * s, 10 * s}, m), 1);
  XYZ p;
  PointTransform({100, 0, 20}, m, p);
  ExpectNear(p, {0, 0, 0}, 1e-12);
  PointTransform({100, s, 20 + s}, m, p);  // one unit along the tilted Y axis
  ExpectNear(p, {0, 1, 0}, 1e-12);
  PointTransform({100, -s, 20 + s}, m, p);  // one unit along Z = X x Y
  ExpectNear(p, {0, 0, 1}, 1e-12);
}

TEST(HostMath, VectorsAndDirections) {
  RandomGeometry random(17);
  for (int i = 0; i < 500; ++i) {
    const XYZ u = random.Point();
    const XYZ v = random.Point();
    XYZ n;
    CrossProduct(u, v, n);
    EXPECT_NEAR(Dot(n, u), 0, 1e-8);
    EXPECT_NEAR(Dot(n, v), 0, 1e-8);
    XYZ d;
    ASSERT_EQ(UnitDirection(u, v, d), 1);
    EXPECT_NEAR(Dot(d, d), 1, 1e-12);
    XYZ difference;
    MathSub(v, u, difference);
    EXPECT_NEAR(Dot(d, difference), PointDistance(u, v), 1e-9);
    double x = u.x, y = u.y, z = u.z;
    MathSplitVector(x, y, z);
    EXPECT_NEAR(x * x + y * y + z * z, 1, 1e-12);
  }
  XYZ d{7, 7, 7};
  EXPECT_EQ(UnitDirection({1, 2, 3}, {1, 2, 3}, d), 0);
  ExpectNear(d, {7, 7, 7}, 0);
  double x = 0, y = 0, z = 0;
  MathSplitVector(x, y, z);
  EXPECT_EQ(x + y + z, 0);
}

TEST(HostMath, DirectionsIgnoreTranslation) {
  TRANSF m;
  ASSERT_EQ(CoordSysMatrix({50, 60, 70}, {0, 1, 0}, {-1, 0, 0}, m), 1);
  XYZ v;
  CurveTransformVector({0, 3, 0}, m, v);
  ExpectNear(v, {3, 0, 0}, 1e-12);
  MathTransformVector({0, 3, 0}, m, v);
  ExpectNear(v, {1, 0, 0}, 1e-12);
  XYZ p{0, 3, 0};
  PointTransformInPlace(p, m);
  ExpectNear(p, {3 - 60, 50, -70}, 1e-12);
}

}  // namespace
