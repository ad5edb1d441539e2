// The path builder of reverse reading: moves, arcs, feeds, tools and holes
// as the host's document receives them.
#include "readback/read_back_path_builder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>

#include "host/math.h"
#include "host/row_ops.h"
#include "hostapp/host_session.h"

namespace zu {
namespace {

constexpr double kPi = 3.141592653589793;

class Builder : public ::testing::Test {
 protected:
  void SetUp() override { session().SetDocument(std::make_unique<zuhost::PartDocument>()); }
  static zuhost::HostSession& session() { return zuhost::HostSession::Current(); }
  // The paths the builder handed to the document (which owns them).
  static std::vector<OrvoPath*> Added() { return session().TakeAddedPaths(); }

  static int KindOf(const tool_block* move) {
    int kind = -1;
    SegAttrsToKind(move->a, move->b, move->c, kind);
    return kind;
  }
  static std::vector<int> Kinds(const OrvoPath& path) {
    std::vector<int> kinds;
    for (const tool_block* m = path.rows->first; m; m = m->next)
      kinds.push_back(KindOf(m));
    return kinds;
  }

  ReadBackPathBuilder builder_;
};

TEST_F(Builder, TheFirstPointOnlyPlacesTheToolAndRepeatsMakeNoMove) {
  builder_.StartPath();
  builder_.RapidTo(0, 0, 50);         // where the tool starts
  builder_.RapidTo(0, 0, 50 + 5e-8);  // the same point within 1e-7
  builder_.RapidTo(0, 0, 5);
  builder_.SetFeedRate(300);
  builder_.FeedTo(10, 0, 5, 1);
  builder_.FeedTo(10, 10, 5, 0);
  builder_.EndPath();
  const auto added = Added();
  ASSERT_EQ(added.size(), 1u);
  const OrvoPath& path = *added[0];
  EXPECT_EQ(path.PathKind, 7);
  EXPECT_EQ(path.MoveCount(), 3);
  const tool_block* rapid = path.rows->first;
  EXPECT_EQ(rapid->host_int1, 1);
  EXPECT_EQ(rapid->line()[0].point, (XYZ{0, 0, 50}));
  EXPECT_EQ(rapid->line()[1].point, (XYZ{0, 0, 5}));
  const tool_block* start = rapid->next;
  EXPECT_EQ(start->host_int1, 0);
  EXPECT_EQ(start->c, kCompensationStart);
  EXPECT_EQ(start->next->c, kCompensationEnd);
  // The side of the compensation goes with the path: selector 1, left.
  auto* side = dynamic_cast<SubPara7*>(added[0]->GetSubPara());
  ASSERT_NE(side, nullptr);
  EXPECT_EQ(side->side_selector, 1);
  EXPECT_EQ(builder_.open_path(), nullptr);
}

TEST_F(Builder, FeedsFillTheFeedTableAndTheMovesTakeTheirKinds) {
  struct Case {
    std::vector<double> feeds;
    std::vector<int> kinds;  // of one move at each feed
    double a, b, c, d;       // feed values A to D after the path ends
  } const cases[] = {
      {{500}, {4}, 500, 0, 0, 0},
      {{100, 500}, {2, 4}, 500, 0, 0, 100},
      {{100, 500, 50}, {2, 4, 7}, 500, 0, 50, 100},
      {{100, 800, 500, 50}, {2, 5, 4, 7}, 500, 800, 50, 100},
      // a repeated feed takes its first entry
      {{100, 500, 100}, {2, 4, 2}, 500, 0, 0, 100},
  };
  for (const auto& c : cases) {
    ReadBackPathBuilder builder;
    builder.StartPath();
    builder.RapidTo(0, 0, 0);
    double x = 0;
    for (double feed : c.feeds) {
      builder.SetFeedRate(feed);
      builder.FeedTo(x += 1, 0, 0, -1);
    }
    builder.EndPath();
    const auto added = Added();
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(Kinds(*added[0]), c.kinds) << c.feeds.size();
    const OrvoMillFeedRate& f = added[0]->feed;
    EXPECT_EQ(f.feed_a, c.a);
    EXPECT_EQ(f.feed_b, c.b);
    EXPECT_EQ(f.feed_c, c.c);
    EXPECT_EQ(f.feed_d, c.d);
  }
}

TEST_F(Builder, FeedMovesBeforeAnyFeedRateAreFeedMovesAndALaterPathKeepsTheLastKind) {
  builder_.StartPath();
  builder_.RapidTo(0, 0, 0);
  builder_.FeedTo(1, 0, 0, -1);  // no feed rate yet: entry 0's kind, not the rapid kind
  builder_.SetFeedRate(100);
  builder_.SetFeedRate(200);  // entry 1: kind 3
  builder_.FeedTo(2, 0, 0, -1);
  builder_.NextPath(0);
  builder_.RapidTo(2, 0, 5);
  builder_.FeedTo(3, 0, 5, -1);  // before its own feed rate: the kind last set
  builder_.EndPath();
  const auto added = Added();
  ASSERT_EQ(added.size(), 2u);
  EXPECT_EQ(Kinds(*added[0]), (std::vector<int>{2, 4}));  // D (100) and A (200)
  EXPECT_EQ(added[0]->rows->first->host_int1, 0);         // a feed move
  // The second path's table is empty: its move keeps kind 3.
  EXPECT_EQ(Kinds(*added[1]), (std::vector<int>{3}));
}

TEST_F(Builder, AFifthFeedGoesOnInANewPathAndEveryMoveKeepsItsFeed) {
  builder_.StartPath();
  builder_.SetToolInteger1(4);
  builder_.SetToolName("END MILL");
  builder_.SetSpindleSpeed(3000);
  builder_.RapidTo(0, 0, 0);
  double x = 0;
  for (double feed : {100.0, 200.0, 300.0, 400.0}) {
    builder_.SetFeedRate(feed);
    x += 1;
    builder_.FeedTo(x, 0, 0, x == 1 ? 1 : -1);
  }
  builder_.SetFeedRate(500);  // a fifth: the four above stay in a path
  builder_.FeedTo(5, 0, 0, -1);
  builder_.SetFeedRate(200);  // in the new path, a second feed
  builder_.FeedTo(6, 0, 0, -1);
  builder_.EndPath();
  const auto added = Added();
  ASSERT_EQ(added.size(), 2u);
  const OrvoMillFeedRate& first = added[0]->feed;
  EXPECT_EQ((std::vector<double>{first.feed_d, first.feed_b, first.feed_a, first.feed_c}),
            (std::vector<double>{100, 200, 300, 400}));
  EXPECT_EQ(Kinds(*added[0]), (std::vector<int>{2, 5, 4, 7}));
  const OrvoPath& second = *added[1];
  EXPECT_EQ(second.feed.feed_d, 500);
  EXPECT_EQ(second.feed.feed_a, 200);
  EXPECT_EQ(Kinds(second), (std::vector<int>{2, 4}));
  // It goes on from where the tool is, with the tool, speed and compensation.
  EXPECT_EQ(second.rows->first->line()[0].point, (XYZ{4, 0, 0}));
  EXPECT_EQ(second.rows->first->line()[1].point, (XYZ{5, 0, 0}));
  EXPECT_EQ(second.rows->first->c, kCompensationStart);
  EXPECT_EQ(second.Tool.int1, 4);
  EXPECT_EQ(second.Tool.name, "END MILL");
  EXPECT_EQ(second.feed.spindle_speed, 3000);
  auto* side = dynamic_cast<SubPara7*>(added[1]->GetSubPara());
  ASSERT_NE(side, nullptr);
  EXPECT_EQ(side->side_selector, 1);
}

TEST_F(Builder, AFifthFeedBeforeAnyMoveStartsTheTableAfresh) {
  builder_.StartPath();
  for (double feed : {10.0, 20.0, 30.0, 40.0, 50.0})
    builder_.SetFeedRate(feed);
  builder_.RapidTo(0, 0, 0);
  builder_.FeedTo(1, 0, 0, -1);
  builder_.EndPath();
  const auto added = Added();
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(added[0]->feed.feed_a, 50);  // one value counted: entry 0 is A
  EXPECT_EQ(Kinds(*added[0]), (std::vector<int>{4}));
}

TEST_F(Builder, ASpindleStopBeforeThePathEndsKeepsTheSpeedItCutAt) {
  struct Case {
    std::vector<double> speeds;
    double kept;
  } const cases[] = {{{4500, 0}, 4500}, {{4500, 0, 6000}, 6000}, {{0}, 0}, {{0, 800}, 800}};
  for (const auto& c : cases) {
    ReadBackPathBuilder builder;
    builder.StartPath();
    builder.RapidTo(0, 0, 0);
    for (double speed : c.speeds) {
      builder.SetSpindleSpeed(speed);
      builder.FeedTo(builder.current_point().x + 1, 0, 0, -1);
    }
    EXPECT_EQ(builder.open_path()->feed.spindle_speed, c.kept) << c.speeds.size();
  }
}

// The arc the builder made last, in the open path.
const nc_arc& LastArc(const ReadBackPathBuilder& builder) {
  const tool_block* m = builder.moves();
  while (m->next)
    m = m->next;
  return *m->arc();
}

TEST_F(Builder, ArcsRunCounterClockwiseAboutTheirAxis) {
  struct Case {
    XYZ end, centre, axis;
    double sweep;
  } const cases[] = {
      {{0, 10, 0}, {0, 0, 0}, {0, 0, 1}, kPi / 2},       // G3 quarter
      {{0, 10, 0}, {0, 0, 0}, {0, 0, -1}, 3 * kPi / 2},  // G2 the long way
      {{-10, 0, 0}, {0, 0, 0}, {0, 0, 1}, kPi},          // a semicircle: π either way
      {{-10, 0, 0}, {0, 0, 0}, {0, 0, -1}, kPi},
      {{10, 0, 0}, {0, 0, 0}, {0, 0, -1}, 2 * kPi},  // end on start: a full circle
      {{0, 0, -10}, {0, 0, 0}, {0, 1, 0}, kPi / 2},  // in the XZ plane
      // helices: the sweep about the axis, whatever the rise
      {{-10, 0, -5}, {0, 0, 0}, {0, 0, 1}, kPi},
      {{-10, 0, 3}, {0, 0, 0}, {0, 0, -1}, kPi},
      {{0, 10, -2}, {0, 0, 0}, {0, 0, -1}, 3 * kPi / 2},
      {{10, 0, -4}, {0, 0, 0}, {0, 0, 1}, 2 * kPi},  // a full turn down
      {{10, 6, 0}, {0, 0, 0}, {0, -1, 0}, 2 * kPi},  // a full turn along Y, in the XZ plane
  };
  for (const auto& c : cases) {
    ReadBackPathBuilder builder;
    builder.StartPath();
    builder.RapidTo(10, 0, 0);
    builder.SetFeedRate(100);
    builder.ArcTo(c.end.x, c.end.y, c.end.z, c.centre.x, c.centre.y, c.centre.z, c.axis.x, c.axis.y,
                  c.axis.z);
    const nc_arc& arc = LastArc(builder);
    EXPECT_NEAR(arc.sweep, c.sweep, 1e-12) << c.end.x << "," << c.end.y << " " << c.axis.z;
    EXPECT_EQ(arc.fourth, (XYZ{10, 0, 0}));
    EXPECT_EQ(arc.radius, 10);
    // The X-axis point 10 from the centre towards the start, the Y-axis point
    // a quarter turn on, so that their cross product lies along the axis.
    EXPECT_NEAR(PointDistance(arc.second, {10, 0, 0}), 0, 1e-9);
    XYZ u, v, n;
    MathSub(arc.second, arc.centre, u);
    MathSub(arc.third, arc.centre, v);
    CrossProduct(u, v, n);
    double angle = 0;
    MathVectorAngle(n, c.axis, angle);
    EXPECT_NEAR(angle, 0, 1e-9);
    EXPECT_EQ(builder.current_point(), c.end);
  }
}

TEST_F(Builder, AnArcWithoutAPlaneMakesNoMove) {
  builder_.StartPath();
  builder_.RapidTo(5, 5, 5);
  builder_.ArcTo(6, 6, 6, 5, 5, 5, 0, 0, 1);  // the centre on the start
  EXPECT_EQ(builder_.moves(), nullptr);
  EXPECT_EQ(builder_.current_point(), (XYZ{5, 5, 5}));
}

TEST_F(Builder, APathWithoutMovesStaysOpen) {
  builder_.StartPath();
  builder_.EndPath();
  EXPECT_NE(builder_.open_path(), nullptr);
  EXPECT_TRUE(Added().empty());
}

TEST_F(Builder, ToolValuesGoToTheOpenPath) {
  builder_.SetToolName("ignored: no path open");
  builder_.StartPath();
  builder_.SetToolName("T1234567890ABCDEFGHI");  // 20 characters: the first 15
  builder_.SetToolInteger1(12);
  builder_.SetToolInteger2(3);
  builder_.SetToolDimension1(10);
  builder_.SetToolDimension2(0.5);
  builder_.SetToolDimension3(75);
  builder_.SetToolDimension5(2);
  builder_.SetToolDimension6(6);
  builder_.SetToolDimension7(7);
  builder_.SetSpindleSpeed(3000);
  const OrvoPath& path = *builder_.open_path();
  EXPECT_EQ(path.Tool.name, "T1234567890ABCD");
  EXPECT_EQ(path.Tool.int1, 12);
  EXPECT_EQ(path.Tool.int2, 3);
  const double dims[7] = {10, 0.5, 75, 0, 2, 6, 7};
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(path.Tool.dims[i], dims[i]) << i;
  EXPECT_EQ(path.feed.spindle_speed, 3000);
  // A double-byte character is not cut in two.
  builder_.SetToolName("ABCDEFGHIJKLMN\xB5\xB6X");
  EXPECT_EQ(path.Tool.name, "ABCDEFGHIJKLMN");
}

TEST_F(Builder, HolesOfADrillingPathReachTheDocumentInItsCoordinates) {
  // The NC work system lies 100 along X from the document's origin.
  session().document()->current_system.matrix.m[0][3] = -100;
  builder_.StartDrillPath(1, 2, 0.5, 2.5, 15, 3, 0, 80.9, 1200.7);
  builder_.AddDrillPoint(10, 10, 0);
  builder_.AddDrillPoint(30, 10, 0);
  builder_.FlushDrillPoints();
  builder_.EndPath();  // only holes, no moves: kept all the same
  const auto added = Added();
  ASSERT_EQ(added.size(), 1u);
  auto* drill = dynamic_cast<OrvoDrillPath*>(added[0]);
  ASSERT_NE(drill, nullptr);
  EXPECT_EQ(drill->drill.drill_feed, 80);
  EXPECT_EQ(drill->drill.spindle_speed, 1200);
  EXPECT_EQ(drill->drill.hole_depth, 15);
  EXPECT_THAT(drill->geometry->drill_points,
              ::testing::ElementsAre(XYZ{110, 10, 0}, XYZ{130, 10, 0}));
}

TEST_F(Builder, MovesReachTheDocumentInItsCoordinates) {
  session().document()->current_system.matrix.m[1][3] = -20;  // work = document - 20 in Y
  builder_.StartPath();
  builder_.RapidTo(0, 0, 5);
  builder_.RapidTo(1, 2, 3);
  builder_.EndPath();
  const auto added = Added();
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(added[0]->rows->first->line()[1].point, (XYZ{1, 22, 3}));
  EXPECT_EQ(added[0]->wcs.matrix.m[1][3], -20);
  EXPECT_THAT(session().events(), ::testing::Contains(::testing::HasSubstr("path shown")));
}

TEST_F(Builder, EmptyFlushesAndSettersWithoutAPathDoNothingHarmful) {
  builder_.FlushDrillPoints();
  builder_.SetSpindleSpeed(1);
  builder_.StartDrillPath(0, 0, 0, 0, 0, 0, 0, 1e300, -1e300);  // feeds out of int's range
  builder_.FlushDrillPoints();
  EXPECT_TRUE(builder_.open_path()->geometry->drill_points.empty());
  EXPECT_EQ(dynamic_cast<const OrvoDrillPath*>(builder_.open_path())->drill.drill_feed, INT_MAX);
}

}  // namespace
}  // namespace zu
