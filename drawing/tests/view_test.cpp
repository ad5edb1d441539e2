#include "drawing/view.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zu::draw {
namespace {

TEST(ParseView, KnowsTheFourWords) {
  EXPECT_EQ(ParseView("top"), View::kTop);
  EXPECT_EQ(ParseView("front"), View::kFront);
  EXPECT_EQ(ParseView("side"), View::kSide);
  EXPECT_EQ(ParseView("iso"), View::kIso);
  for (const char* word : {"", "Top", "isometric", "top ", "xy"})
    EXPECT_EQ(ParseView(word), std::nullopt) << word;
}

double Dot(const Point& a, const Point& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Each view is orthographic: unit axes at right angles, the third their
// cross product (so no distance grows and arcs turn the way they look).
TEST(Projection, OrthonormalAndRightHanded) {
  for (View view : {View::kTop, View::kFront, View::kSide, View::kIso}) {
    const Projection p = ProjectionOf(view);
    EXPECT_NEAR(Dot(p.right, p.right), 1, 1e-15) << ViewName(view);
    EXPECT_NEAR(Dot(p.up, p.up), 1, 1e-15) << ViewName(view);
    EXPECT_NEAR(Dot(p.right, p.up), 0, 1e-15) << ViewName(view);
    const Point cross{p.right.y * p.up.z - p.right.z * p.up.y,
                      p.right.z * p.up.x - p.right.x * p.up.z,
                      p.right.x * p.up.y - p.right.y * p.up.x};
    EXPECT_NEAR(Dot(cross, p.toward), 1, 1e-15) << ViewName(view);
  }
}

struct AxisCase {
  View view;
  Point point;
  double u, v;
};
const double kR2 = std::sqrt(0.5), kR6 = 1 / std::sqrt(6.0);
const AxisCase kAxes[] = {
    {View::kTop, {1, 2, 3}, 1, 2},     {View::kFront, {1, 2, 3}, 1, 3},
    {View::kSide, {1, 2, 3}, 2, 3},    {View::kIso, {1, 0, 0}, kR2, -kR6},
    {View::kIso, {0, 1, 0}, kR2, kR6}, {View::kIso, {0, 0, 1}, 0, 2 * kR6},
};

TEST(Project, WhereTheAxesGo) {
  for (const AxisCase& c : kAxes) {
    const Flat f = Project(ProjectionOf(c.view), c.point);
    EXPECT_NEAR(f.u, c.u, 1e-15) << ViewName(c.view);
    EXPECT_NEAR(f.v, c.v, 1e-15) << ViewName(c.view);
  }
}

}  // namespace
}  // namespace zu::draw
