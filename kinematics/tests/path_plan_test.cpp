#include "kinematics/path_plan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "kinematics/tests/layouts.h"

namespace zu::kin {
namespace {

using testing::AngleBetween;
using testing::Distance;
using testing::Layouts;

constexpr double kPi = std::numbers::pi;

// A tool axis `tilt` degrees from +Z, leaning towards the azimuth `turn`.
Vec3 Axis(double tilt, double turn) {
  const double t = tilt * kPi / 180;
  const double a = turn * kPi / 180;
  return {std::sin(t) * std::cos(a), std::sin(t) * std::sin(a), std::cos(t)};
}

// Every planned position gives its pose; the re-entries too.
void ExpectPosesKept(const Kinematics& kinematics, const std::vector<ToolPose>& poses,
                     const PathPlan& plan) {
  ASSERT_EQ(plan.positions.size(), poses.size()) << plan.error;
  for (std::size_t i = 0; i < poses.size(); ++i) {
    const ToolPose at = kinematics.Forward(plan.positions[i]);
    EXPECT_LE(Distance(at.tip, poses[i].tip), 1e-9) << i;
    EXPECT_LE(AngleBetween(at.axis, poses[i].axis), 1e-7) << i;
    EXPECT_TRUE(kinematics.WithinLimits(plan.positions[i])) << i;
  }
  for (const Reposition& r : plan.repositions) {
    const ToolPose at = kinematics.Forward(r.enter);
    EXPECT_LE(Distance(at.tip, poses[r.index].tip), 1e-9);
    EXPECT_LE(AngleBetween(at.axis, poses[r.index].axis), 1e-7);
    EXPECT_TRUE(kinematics.WithinLimits(r.enter));
  }
}

// The largest turn of each rotary axis between neighbours, repositions
// aside (the move after one starts from its re-entry).
std::pair<double, double> LargestTurns(const PathPlan& plan) {
  double primary = 0;
  double secondary = 0;
  std::size_t next = 0;
  for (std::size_t i = 1; i < plan.positions.size(); ++i) {
    MachinePosition from = plan.positions[i - 1];
    if (next < plan.repositions.size() && plan.repositions[next].index == i - 1)
      from = plan.repositions[next++].enter;
    primary = std::max(primary, std::fabs(plan.positions[i].primary - from.primary));
    secondary = std::max(secondary, std::fabs(plan.positions[i].secondary - from.secondary));
  }
  return {primary, secondary};
}

// A meridian through the pole, for each layout: the primary does not spin
// at the pole, the secondary goes through zero, nothing jumps.
TEST(PathPlan, ThroughThePoleWithoutSpin) {
  for (const auto& named : Layouts()) {
    if (named.name.find("nutating") != std::string::npos)
      continue;  // its pole is at the edge of what it reaches
    const Kinematics kinematics(named.layout);
    std::vector<ToolPose> poses;
    for (int k = -200; k <= 200; ++k)  // -40 to 40 degrees through the pole
      poses.push_back({{k * 0.1, 0.05 * k, 0}, Axis(std::fabs(k) * 0.2, k < 0 ? 210 : 30)});
    const PathPlan plan = PlanPath(kinematics, poses);
    EXPECT_EQ(plan.error, "") << named.name;
    EXPECT_TRUE(plan.repositions.empty()) << named.name;
    ExpectPosesKept(kinematics, poses, plan);
    const auto [primary, secondary] = LargestTurns(plan);
    EXPECT_LE(primary, 1e-6) << named.name;
    EXPECT_LE(secondary, 0.21) << named.name;
  }
}

// Round the pole at 20 degrees' tilt, 1.5 turns: the primary follows
// without a jump of a whole turn, past 180 degrees.
TEST(PathPlan, AnglesStayContinuousPastHalfATurn) {
  const Kinematics kinematics(Layouts()[5].layout);  // head-table, C continuous
  std::vector<ToolPose> poses;
  for (int k = 0; k <= 540; ++k)
    poses.push_back({{0, 0, 0}, Axis(20, k)});
  const PathPlan plan = PlanPath(kinematics, poses);
  ASSERT_EQ(plan.error, "");
  ExpectPosesKept(kinematics, poses, plan);
  EXPECT_LE(LargestTurns(plan).first, 1.0 + 1e-9);
  EXPECT_NEAR(std::fabs(plan.positions.back().primary - plan.positions.front().primary), 540, 1e-6);
}

// The tilt grows past the secondary's limit: the path leaves the part at
// the last point within it and comes back on the other solution.
TEST(PathPlan, ALimitForcesTheOtherSolution) {
  MachineLayout layout = Layouts()[0].layout;  // table A/C
  layout.secondary.min = -30;
  layout.secondary.max = 110;
  const Kinematics kinematics(layout);
  std::vector<ToolPose> poses;
  for (int k = 0; k <= 40; ++k)  // A from -20 towards -40 on the first solution
    poses.push_back(kinematics.Forward({k * 1.0, 0, 0, 10, -20.0 - k * 0.5}));
  const MachinePosition start{0, 0, 0, 10, -20};
  const PathPlan plan = PlanPath(kinematics, poses, &start);
  ASSERT_EQ(plan.error, "");
  ExpectPosesKept(kinematics, poses, plan);
  ASSERT_EQ(plan.repositions.size(), 1u);
  const Reposition& r = plan.repositions[0];
  EXPECT_EQ(r.axis, 'A');
  EXPECT_EQ(r.why, Reposition::Why::kLimit);
  EXPECT_EQ(r.index, 20u);  // A -30 is the last within the limit
  EXPECT_NEAR(r.leave.secondary, -30, 1e-9);
  EXPECT_NEAR(r.enter.secondary, 30, 1e-9);
  EXPECT_NEAR(testing::TurnDifference(r.enter.primary, r.leave.primary), 180, 1e-9);
}

// One and a half turns round the pole: the continuous C runs out of its range and is
// unwound towards zero, at the same point, by whole turns.
TEST(PathPlan, AContinuousAxisIsUnwound) {
  MachineLayout layout = Layouts()[0].layout;  // table A/C, C continuous
  layout.primary.min = -400;
  layout.primary.max = 400;
  const Kinematics kinematics(layout);
  std::vector<ToolPose> poses;
  for (int k = 0; k <= 540; k += 2)
    poses.push_back({{0, 0, 0}, Axis(30, -k)});
  const PathPlan plan = PlanPath(kinematics, poses);
  ASSERT_EQ(plan.error, "");
  ExpectPosesKept(kinematics, poses, plan);
  ASSERT_EQ(plan.repositions.size(), 1u);
  const Reposition& r = plan.repositions[0];
  EXPECT_EQ(r.axis, 'C');
  EXPECT_EQ(r.why, Reposition::Why::kUnwind);
  EXPECT_LE(r.leave.primary, 400);
  EXPECT_GT(r.leave.primary, 396);
  EXPECT_NEAR(r.leave.primary - r.enter.primary, 360, 1e-9);
  EXPECT_NEAR(r.leave.secondary, r.enter.secondary, 1e-9);
  EXPECT_LE(LargestTurns(plan).first, 2 + 1e-9);
}

TEST(PathPlan, WhatCannotBeReachedIsSaid) {
  struct Case {
    const char* what;
    double secondary_min;
    double secondary_max;
    bool c_within_quarter_turns;  // else C continuous
    std::vector<Vec3> axes;
    std::size_t planned;
    const char* error;
  };
  const Case cases[] = {
      {"beyond the limit from the start",
       0,
       10,
       false,
       {Axis(30, 90)},
       0,
       "point 0: no position of the rotary axes within their limits gives this tool axis"},
      {"beyond the limit later",
       0,
       10,
       false,
       {Axis(5, 90), Axis(8, 90), Axis(12, 90)},
       2,
       "point 2: no position of the rotary axes within their limits gives this tool axis"},
      // C 91 is beyond C's limit, and the other solution of the first point
      // (C -90, A -6) beyond A's: the move is refused rather than cut through.
      {"no way between",
       -5,
       30,
       true,
       {Axis(6, 0), Axis(4, -1)},
       1,
       "point 1: the move from the point before cannot stay within the limits of C"},
      {"the other solution at both", -6, 30, true, {Axis(6, 0), Axis(4, -1)}, 2, ""},
  };
  for (const Case& c : cases) {
    MachineLayout layout = Layouts()[0].layout;
    layout.secondary.min = c.secondary_min;
    layout.secondary.max = c.secondary_max;
    if (c.c_within_quarter_turns)
      layout.primary = testing::Axis('C', {0, 0, 1}, {}, -90, 90);
    const Kinematics kinematics(layout);
    std::vector<ToolPose> poses;
    for (const Vec3& axis : c.axes)
      poses.push_back({{0, 0, 0}, axis});
    const PathPlan plan = PlanPath(kinematics, poses);
    EXPECT_EQ(plan.error, c.error) << c.what;
    EXPECT_EQ(plan.positions.size(), c.planned) << c.what;
  }
}

}  // namespace
}  // namespace zu::kin
