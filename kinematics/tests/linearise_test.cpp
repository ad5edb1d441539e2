#include "kinematics/linearise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "kinematics/tests/layouts.h"

namespace zu::kin {
namespace {

using testing::AngleBetween;
using testing::Distance;
using testing::Layouts;
using testing::NamedLayout;
using testing::RandomPositions;

// The distance of `p` from the segment ab, worked out apart from the
// library's own: the distance to a point of the segment is convex along it,
// so a search by thirds finds its least value.
double SegmentDistance(Vec3 p, Vec3 a, Vec3 b) {
  double low = 0;
  double high = 1;
  for (int k = 0; k < 60; ++k) {
    const double m1 = low + (high - low) / 3;
    const double m2 = high - (high - low) / 3;
    if (Distance(p, a + m1 * (b - a)) < Distance(p, a + m2 * (b - a)))
      high = m2;
    else
      low = m1;
  }
  return Distance(p, a + low * (b - a));
}

constexpr int kMoves = 90;

// Moves between random neighbouring positions of every layout, split; then
// the machine's motion through the pieces, sampled densely through the
// forward kinematics, keeps the tip within the tolerance of the straight
// line and the axis within its tolerance of the plane of the end axes.
TEST(Linearise, TheTipStaysNearTheStraightLine) {
  std::vector<NamedLayout> layouts = Layouts();
  // And each with the loosest tip tolerance, so that the axis's drives the
  // splitting.
  for (NamedLayout named : Layouts()) {
    named.name += ", axis-driven";
    named.layout.linearise_tolerance = 1;
    layouts.push_back(named);
  }
  for (const NamedLayout& named : layouts) {
    const Kinematics kinematics(named.layout);
    const double tolerance = named.layout.linearise_tolerance;
    RandomPositions positions(named.layout, 5);
    std::uniform_real_distribution<double> step(-1, 1);
    double worst_tip = 0;
    double worst_axis = 0;
    std::size_t pieces = 0;
    for (int move = 0; move < kMoves; ++move) {
      MachinePosition from = positions.Next();
      // Clear of the singular band (a move that crosses it is the next
      // test's) and of the nutating axis's edge of reach at 180 degrees.
      if (std::fabs(from.secondary) < 20)
        from.secondary += from.secondary < 0 ? -20 : 20;
      if (std::fabs(from.secondary) > 160)
        from.secondary -= from.secondary < 0 ? -20 : 20;
      const double size = move % 3 == 0 ? 1 : 15;  // degrees and ten times that in mm
      MachinePosition to = from;
      to.x += 10 * size * step(positions.random());
      to.y += 10 * size * step(positions.random());
      to.z += 10 * size * step(positions.random());
      to.primary += size * step(positions.random());
      to.secondary += size * step(positions.random());
      const ToolPose a = kinematics.Forward(from);
      const ToolPose b = kinematics.Forward(to);
      std::vector<MachinePosition> between;
      const LinearisedMove result = Linearise(kinematics, a, b, from, to, between);
      ASSERT_TRUE(result.within) << named.name << " move " << move << ": " << from.x << " "
                                 << from.y << " " << from.z << " " << from.primary << " "
                                 << from.secondary << " to " << to.x << " " << to.y << " " << to.z
                                 << " " << to.primary << " " << to.secondary;
      ASSERT_EQ(result.added, between.size());
      between.insert(between.begin(), from);
      between.push_back(to);
      pieces += between.size() - 1;
      const Vec3 normal = Unit(Cross(a.axis, b.axis));
      for (std::size_t i = 0; i + 1 < between.size(); ++i) {
        for (int k = 0; k <= 32; ++k) {
          const ToolPose at = kinematics.Forward(Between(between[i], between[i + 1], k / 32.0));
          worst_tip = std::max(worst_tip, SegmentDistance(at.tip, a.tip, b.tip));
          worst_axis = std::max(worst_axis, 90 - AngleBetween(at.axis, normal) > 0
                                                ? 90 - AngleBetween(at.axis, normal)
                                                : AngleBetween(at.axis, normal) - 90);
        }
      }
    }
    EXPECT_LE(worst_tip, tolerance) << named.name;
    EXPECT_LE(worst_axis, named.layout.linearise_axis_degrees) << named.name;
    EXPECT_GT(pieces, std::size_t{kMoves} * 3) << named.name;  // the large moves were split
    std::printf("%s: %zu pieces for %d moves, tip within %.7f mm, axis %.6f deg\n",
                named.name.c_str(), pieces, kMoves, worst_tip, worst_axis);
  }
}

// The end axes on either side of the pole, off its great circle: following
// the circle would need the primary to swing half a turn at one point of
// the move, which no splitting gives. Said at once, not after a million
// pieces.
TEST(Linearise, AMoveThatMustSwingAtAPointIsReported) {
  const Kinematics kinematics(Layouts()[0].layout);
  const MachinePosition from{-172, 139, -296, -15.8, -5.2};
  const MachinePosition to{-23, 106, -432, -1.5, 8.6};
  std::vector<MachinePosition> between;
  const LinearisedMove result =
      Linearise(kinematics, kinematics.Forward(from), kinematics.Forward(to), from, to, between);
  EXPECT_FALSE(result.within);
  EXPECT_LT(between.size(), 5000u);
}

// A move of the linear axes alone needs no piece; nor does one that turns
// the primary about the tip when the tip lies on the primary axis.
TEST(Linearise, StraightMotionIsNotSplit) {
  const Kinematics kinematics(Layouts()[0].layout);  // C's pivot (12, -7, 3)
  struct Case {
    MachinePosition from;
    ToolPose to_pose_of;  // unused
  };
  const MachinePosition from{0, 0, 0, 10, 20};
  for (const MachinePosition& to :
       {MachinePosition{50, -30, 20, 10, 20}, MachinePosition{0, 0, 0, 10, 20}}) {
    std::vector<MachinePosition> between;
    const LinearisedMove result =
        Linearise(kinematics, kinematics.Forward(from), kinematics.Forward(to), from, to, between);
    EXPECT_TRUE(result.within);
    EXPECT_EQ(result.added, 0u);
  }
  // The tip on the primary axis: turning C leaves it where it is.
  const ToolPose on_axis{{12, -7, 50}, {0, 0, 1}};
  const MachinePosition a = kinematics.Place(on_axis.tip, 0, 0);
  const MachinePosition b = kinematics.Place(on_axis.tip, 90, 0);
  std::vector<MachinePosition> between;
  EXPECT_EQ(Linearise(kinematics, on_axis, on_axis, a, b, between).added, 0u);
}

// The pieces' ends lie on the line and the great circle: each is the
// solution of a pose between the two asked for.
TEST(Linearise, PiecesEndOnTheLine) {
  const Kinematics kinematics(Layouts()[3].layout);  // head-head
  const MachinePosition from{10, 20, 30, 0, 10};
  const MachinePosition to{40, 20, 30, 40, 35};
  const ToolPose a = kinematics.Forward(from);
  const ToolPose b = kinematics.Forward(to);
  std::vector<MachinePosition> between;
  ASSERT_TRUE(Linearise(kinematics, a, b, from, to, between).within);
  ASSERT_GT(between.size(), 10u);
  const Vec3 normal = Unit(Cross(a.axis, b.axis));
  for (const MachinePosition& m : between) {
    const ToolPose at = kinematics.Forward(m);
    EXPECT_LE(SegmentDistance(at.tip, a.tip, b.tip), 1e-8);
    EXPECT_NEAR(AngleBetween(at.axis, normal), 90, 1e-7);
  }
}

}  // namespace
}  // namespace zu::kin
