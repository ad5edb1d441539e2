#include "kinematics/kinematics.h"

#include <gtest/gtest.h>

#include "kinematics/tests/layouts.h"

namespace zu::kin {
namespace {

using testing::AngleBetween;
using testing::Distance;
using testing::Layouts;
using testing::NamedLayout;
using testing::RandomPositions;
using testing::TurnDifference;

constexpr int kSamples = 20000;

// Every position within the limits: its pose solved back gives that
// position among the solutions, and every solution forwards to the pose.
TEST(Kinematics, InverseOfForwardGivesThePoseBackOnEverySolution) {
  for (const NamedLayout& named : Layouts()) {
    ASSERT_EQ(CheckLayout(named.layout), "") << named.name;
    const Kinematics kinematics(named.layout);
    RandomPositions positions(named.layout, 17);
    double worst_tip = 0;
    double worst_axis = 0;
    int two = 0;
    for (int i = 0; i < kSamples; ++i) {
      const MachinePosition m = positions.Next();
      const ToolPose pose = kinematics.Forward(m);
      ASSERT_NEAR(Length(pose.axis), 1, 1e-12);
      Angles solutions[2];
      const int count = kinematics.Orientations(pose.axis, m.primary, solutions);
      ASSERT_GE(count, 1) << named.name << " sample " << i;
      two += count == 2;
      bool found = false;
      for (int k = 0; k < count; ++k) {
        const MachinePosition placed =
            kinematics.Place(pose.tip, solutions[k].primary, solutions[k].secondary);
        const ToolPose back = kinematics.Forward(placed);
        worst_tip = std::max(worst_tip, Distance(back.tip, pose.tip));
        worst_axis = std::max(worst_axis, Distance(back.axis, pose.axis));
        if (TurnDifference(placed.primary, m.primary) < 1e-7 &&
            TurnDifference(placed.secondary, m.secondary) < 1e-7) {
          found = true;
          if (TurnDifference(m.primary, 0) < 1e-6 || TurnDifference(m.secondary, 0) < 1e-6)
            continue;  // the linear axes of the same angles a turn apart agree too
          EXPECT_NEAR(Distance({placed.x, placed.y, placed.z}, {m.x, m.y, m.z}), 0, 1e-9);
        }
      }
      EXPECT_TRUE(found) << named.name << " sample " << i;
    }
    EXPECT_LE(worst_tip, 1e-9) << named.name;
    EXPECT_LE(worst_axis, 1e-9) << named.name;
    // Away from the singular band every orientation has two solutions.
    EXPECT_EQ(two, kSamples) << named.name;
  }
}

// The two solutions of one tool axis: distinct, both giving the axis.
TEST(Kinematics, BothSolutionsOfATiltedAxis) {
  struct Case {
    std::size_t layout;
    Vec3 axis;
    Angles one;  // expected, each up to whole turns, in either order
    Angles other;
  };
  const double s = std::sqrt(0.5);
  const Case cases[] = {
      // A/C table: A 45 lifts the part's +Y side, so the tool leans towards
      // +Y in the part; or C half a turn and A -45.
      {0, {0, s, s}, {0, 45}, {180, -45}},
      // B reversed: B 45 turns the table by -45 about +Y, lifting its -X
      // side, so the tool leans towards +X in the part.
      {1, {s, 0, s}, {0, 45}, {180, -45}},
      // Head B/C: B tilts the spindle about +Y, so +X needs B 45.
      {3, {s, 0, s}, {0, 45}, {180, -45}},
  };
  const auto layouts = Layouts();
  for (const Case& c : cases) {
    const Kinematics kinematics(layouts[c.layout].layout);
    Angles solutions[2];
    ASSERT_EQ(kinematics.Orientations(c.axis, 0, solutions), 2) << layouts[c.layout].name;
    const auto matches = [](Angles got, Angles want) {
      return TurnDifference(got.primary, want.primary) < 1e-9 &&
             TurnDifference(got.secondary, want.secondary) < 1e-9;
    };
    EXPECT_TRUE((matches(solutions[0], c.one) && matches(solutions[1], c.other)) ||
                (matches(solutions[1], c.one) && matches(solutions[0], c.other)))
        << layouts[c.layout].name << ": " << solutions[0].primary << " " << solutions[0].secondary
        << " / " << solutions[1].primary << " " << solutions[1].secondary;
  }
}

// On the primary axis and within the band the primary keeps the angle it
// had; just outside the band both solutions come back.
TEST(Kinematics, SingularBandKeepsThePrimaryAngle) {
  const auto layouts = Layouts();
  for (const std::size_t index : {0u, 3u, 5u}) {
    MachineLayout layout = layouts[index].layout;
    layout.singular_degrees = 0.01;
    const Kinematics kinematics(layout);
    const double band = layout.singular_degrees * 3.14159265358979323846 / 180;
    for (const double tilt : {0.0, 0.5 * band, 0.99 * band, 1.01 * band, 2 * band}) {
      const Vec3 axis{std::sin(tilt) * std::cos(0.3), std::sin(tilt) * std::sin(0.3),
                      std::cos(tilt)};
      Angles solutions[2];
      const int count = kinematics.Orientations(axis, 37, solutions);
      const bool singular = tilt < band;
      EXPECT_EQ(count, singular ? 1 : 2) << layouts[index].name << " tilt " << tilt;
      if (!singular)
        continue;
      EXPECT_DOUBLE_EQ(solutions[0].primary, 37) << layouts[index].name;
      const ToolPose at = kinematics.Forward(
          kinematics.Place({1, 2, 3}, solutions[0].primary, solutions[0].secondary));
      EXPECT_LE(AngleBetween(at.axis, axis), layout.singular_degrees * 1.0001)
          << layouts[index].name << " tilt " << tilt;
      EXPECT_NEAR(Distance(at.tip, {1, 2, 3}), 0, 1e-9);
    }
  }
}

// A nutating 45-degree axis reaches only half the sphere of tool axes.
TEST(Kinematics, OrientationsBeyondReachHaveNoSolution) {
  const Kinematics kinematics(Layouts()[2].layout);
  Angles solutions[2];
  EXPECT_EQ(kinematics.Orientations(Unit({1, 0, 0.01}), 0, solutions), 2);
  EXPECT_EQ(kinematics.Orientations({1, 0, 0}, 0, solutions), 1);  // the edge: B half a turn
  EXPECT_EQ(kinematics.Orientations(Unit({1, 0, -0.01}), 0, solutions), 0);
  EXPECT_EQ(kinematics.Orientations({0, 0, -1}, 0, solutions), 0);  // along C, yet out of reach
}

// The nearest solution turns the shortest way round, and by whole turns.
TEST(Kinematics, NearestTurnsTheShortestWay) {
  const Kinematics kinematics(Layouts()[0].layout);  // C continuous
  const MachinePosition previous{0, 0, 0, 710, 30};
  const ToolPose pose = kinematics.Forward({5, 6, 7, -5, 31});
  const auto next = kinematics.Nearest(pose, previous);
  ASSERT_TRUE(next);
  EXPECT_NEAR(next->primary, 715, 1e-9);
  EXPECT_NEAR(next->secondary, 31, 1e-9);
  EXPECT_NEAR(Distance(kinematics.Forward(*next).tip, pose.tip), 0, 1e-9);
}

// The first position honours the preferred signs, the secondary's first.
TEST(Kinematics, FirstPositionTakesThePreferredSign) {
  struct Case {
    int primary_sign;
    int secondary_sign;
    double primary;  // expected
    double secondary;
  };
  const Case cases[] = {
      {0, 0, 0, 30},       // nearest zero: C 0, A 30 (not C 180, A -30)
      {0, -1, -180, -30},  // A negative; C -180 and 180 as near zero, the first kept
      {1, -1, 180, -30},  {-1, -1, -180, -30}, {-1, 1, 0, 30},  // C 0 breaks no sign
  };
  for (const Case& c : cases) {
    MachineLayout layout = Layouts()[0].layout;
    layout.primary.preferred_sign = c.primary_sign;
    layout.secondary.preferred_sign = c.secondary_sign;
    const Kinematics kinematics(layout);
    const ToolPose pose = kinematics.Forward({0, 0, 0, 0, 30});
    const auto first = kinematics.First(pose);
    ASSERT_TRUE(first);
    EXPECT_NEAR(first->primary, c.primary, 1e-9) << c.primary_sign << " " << c.secondary_sign;
    EXPECT_NEAR(first->secondary, c.secondary, 1e-9) << c.primary_sign << " " << c.secondary_sign;
  }
}

TEST(Kinematics, NearestWithinTheLimitsTakesTheOtherSolution) {
  MachineLayout layout = Layouts()[0].layout;
  layout.secondary.min = -30;
  layout.secondary.max = 110;
  const Kinematics kinematics(layout);
  const ToolPose pose = kinematics.Forward({0, 0, 0, 10, -40});
  EXPECT_FALSE(kinematics.WithinLimits(*kinematics.Nearest(pose, {0, 0, 0, 10, -39})));
  const auto within = kinematics.NearestWithin(pose, {0, 0, 0, 10, -39});
  ASSERT_TRUE(within);
  EXPECT_NEAR(testing::TurnDifference(within->primary, -170), 0, 1e-9);
  EXPECT_NEAR(within->secondary, 40, 1e-9);
  layout.secondary.max = 39.5;
  EXPECT_FALSE(Kinematics(layout).NearestWithin(pose, {0, 0, 0, 10, -39}));
}

struct LayoutCase {
  const char* what;
  void (*change)(MachineLayout&);
  const char* error;
};

const LayoutCase kLayoutCases[] = {
    {"usable", [](MachineLayout&) {}, ""},
    {"zero direction", [](MachineLayout& l) { l.primary.direction = {}; },
     "primary.direction: has no length"},
    {"parallel",
     [](MachineLayout& l) {
       l.secondary.direction = {0, 0, -2};
     },
     "secondary.direction: is parallel to the primary's"},
    {"along the tool",
     [](MachineLayout& l) {
       l.primary.direction = {1, 0, 0};
       l.secondary.direction = {0, 0, 1};
     },
     "secondary.direction: lies along the tool axis, so it cannot tilt the tool"},
    {"min above max",
     [](MachineLayout& l) {
       l.secondary.min = 10;
       l.secondary.max = 5;
     },
     "secondary.min: 10 is above max 5"},
    {"min equal max",
     [](MachineLayout& l) {
       l.secondary.min = 5;
       l.secondary.max = 5;
     },
     ""},
    {"continuous below a turn",
     [](MachineLayout& l) {
       l.primary.continuous = true;
       l.primary.min = -180;
       l.primary.max = 179.5;
     },
     "primary.max: a continuous axis's range -180..179.5 spans less than 360 degrees"},
    {"continuous of a turn",
     [](MachineLayout& l) {
       l.primary.continuous = true;
       l.primary.min = -180;
       l.primary.max = 180;
     },
     ""},
    {"same letter", [](MachineLayout& l) { l.secondary.letter = 'C'; },
     "secondary.letter: C is the primary's too"},
    {"letter", [](MachineLayout& l) { l.secondary.letter = 'X'; },
     "secondary.letter: must be A, B or C"},
    {"head without pivot length", [](MachineLayout& l) { l.layout = Layout::kHeadTable; },
     "pivot_length: a layout with an axis in the head needs a pivot length above 0"},
    {"head with pivot length",
     [](MachineLayout& l) {
       l.layout = Layout::kHeadHead;
       l.pivot_length = 0.001;
     },
     ""},
    {"band", [](MachineLayout& l) { l.singular_degrees = 0; },
     "singular_degrees: must lie above 0 and below 90"},
    {"tolerance", [](MachineLayout& l) { l.linearise_tolerance = 0; },
     "linearise_tolerance: must be above 0"},
    {"nan", [](MachineLayout& l) { l.primary.pivot.x = std::nan(""); },
     "primary.pivot: must be finite"},
};

TEST(Kinematics, ContradictoryLayoutsAreRefused) {
  for (const LayoutCase& c : kLayoutCases) {
    MachineLayout layout;
    c.change(layout);
    EXPECT_EQ(CheckLayout(layout), c.error) << c.what;
  }
}

}  // namespace
}  // namespace zu::kin
