// The shared row operations: feed types, compensation sides, dwells and arc
// normals, each at the values where a slip would change the result.
#include "pathinput/row_operations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "host/row_ops.h"

namespace zu {
namespace {

// A line move with attributes a, b, c from `from` to `to`; owned by the test.
struct Move {
  Move(int a, int b, int c, const XYZ& from = {}, const XYZ& to = {}) {
    block.a = static_cast<std::int8_t>(a);
    block.b = static_cast<std::int8_t>(b);
    block.c = c;
    line[0].point = from;
    line[1].point = to;
    block.geometry = line;
  }
  Move(const Move&) = delete;  // the block points into this very object
  tool_block block;
  tls line[2];
};

TEST(BlockFeedType, IsTheSegmentKindPlusOneWithRapidFirst) {
  struct Case {
    int a, b;
    int feed_type;
  } const cases[] = {
      {9, 0, 1},  // rapid
      {1, 0, 2},  {2, 0, 3},  {3, 0, 4}, {4, 0, 5},
      {5, 0, 6},  {7, 0, 8},  {8, 0, 9}, {0, 0, 5},  // outside 1 to 9
      {10, 0, 5}, {-1, 0, 5}, {5, 2, 3},  // an encoding the host does not make: the preset kind 2
  };
  for (const auto& c : cases) {
    const Move move(c.a, c.b, 7);
    EXPECT_EQ(BlockFeedType(&move.block), c.feed_type) << c.a << "," << c.b;
  }
  EXPECT_EQ(BlockFeedType(nullptr), -1);
}

// A path of `kind` with `record` as its parameter record.
std::unique_ptr<OrvoPath2d> PathWith(int kind, std::unique_ptr<OrvoPathSubPara> record) {
  auto path = std::make_unique<OrvoPath2d>();
  path->PathKind = kind;
  path->sub_para = std::move(record);
  return path;
}

template <typename Record>
std::unique_ptr<OrvoPathSubPara> Record2(int first, int second) {
  auto r = std::make_unique<Record>();
  r->side = first;
  r->compensation = second;
  return r;
}

TEST(CompensationSide, FollowsEachKindsRecord) {
  auto side7 = [](int selector) {
    auto r = std::make_unique<SubPara7>();
    r->side_selector = selector;
    return r;
  };
  auto side63 = [](int side, int on) {
    auto r = std::make_unique<SubPara63>();
    r->compensation_side = side;
    r->compensation = on;
    return r;
  };
  auto side71 = [](int code) {
    auto r = std::make_unique<SubPara71>();
    r->side_code = code;
    return r;
  };
  auto macro = [](int side) {
    auto r = std::make_unique<OrvoPath_MacroMachining>();
    r->machine_tool_cmp = side;
    return r;
  };
  struct Case {
    const char* what;
    int kind;
    std::unique_ptr<OrvoPathSubPara> record;
    int side;
  };
  Case cases[] = {
      {"7 selector 1", 7, side7(1), 0},
      {"7 selector 2", 7, side7(2), 1},
      {"7 selector 3", 7, side7(3), kNoCompensation},
      {"50 side 0 on", 50, Record2<SubPara50>(0, 1), 1},
      {"50 side 1 on", 50, Record2<SubPara50>(1, 1), 0},
      {"50 side 0 off", 50, Record2<SubPara50>(0, 0), kNoCompensation},
      {"62 side 0 on", 62, Record2<SubPara62>(0, 1), 1},
      {"62 side 2 on", 62, Record2<SubPara62>(2, 1), kNoCompensation},
      {"63 side 0 on", 63, side63(0, 1), 0},  // the other way round from 62
      {"63 side 1 on", 63, side63(1, 1), 1},
      {"63 side 1 off", 63, side63(1, 2), kNoCompensation},
      {"71 code 1", 71, side71(1), 0},
      {"71 code -1", 71, side71(-1), 1},
      {"71 code 7", 71, side71(7), 0},
      {"90", 90, macro(1), 1},
      {"90 none", 90, macro(kNoCompensation), kNoCompensation},
      {"65", 65, std::make_unique<SubPara65>(), kNoCompensation},
      {"7 without record", 7, nullptr, kNoCompensation},
      {"62 record on kind 50", 50, Record2<SubPara62>(0, 1), kNoCompensation},
  };
  for (auto& c : cases) {
    auto path = PathWith(c.kind, std::move(c.record));
    EXPECT_EQ(CompensationSide(*path), c.side) << c.what;
  }
}

TEST(CompensationSkipCount, OnlyAKind62SwitchOfOneCounts) {
  auto record = [](int on, int count) {
    auto r = std::make_unique<SubPara62>();
    r->skip_switch = on;
    r->skip_count = count;
    return r;
  };
  auto on = PathWith(62, record(1, 3));
  auto off = PathWith(62, record(2, 3));
  EXPECT_EQ(CompensationSkipCount(*on), 3);
  EXPECT_EQ(CompensationSkipCount(*off), 0);
}

// A kind-63 path with one source curve from (0,0,0) to (10,0,0).
std::unique_ptr<OrvoPath2d> DwellPath(int before, int after) {
  auto record = std::make_unique<SubPara63>();
  record->dwell_before = before;
  record->dwell_after = after;
  record->dwell_text = "G04 P500";
  auto path = PathWith(63, std::move(record));
  path->geometry = new Node;
  path->geometry->curves = {{{0, 0, 0}, {5, 0, 0}, {10, 0, 0}}};
  return path;
}

TEST(Dwells, AtTheStartAndEndOfSourceCurvesWithinOneThousandth) {
  auto path = DwellPath(1, 1);
  struct Case {
    const char* what;
    Move move;
    bool before, after;
  } const cases[] = {
      {"on both ends", Move(4, 0, 7, {0, 0, 0}, {10, 0, 0}), true, true},
      {"0.001 away", Move(2, 0, 7, {0.001, 0, 0}, {10, 0, 0.001}), true, true},
      {"0.0011 away", Move(2, 0, 7, {0.0011, 0, 0}, {10.0011, 0, 0}), false, false},
      {"attribute a 3", Move(3, 0, 7, {0, 0, 0}, {10, 0, 0}), false, false},
      {"attribute c 0", Move(4, 0, 0, {0, 0, 0}, {10, 0, 0}), false, false},
      {"start on the end", Move(4, 0, 7, {10, 0, 0}, {0, 0, 0}), false, false},
  };
  for (const auto& c : cases) {
    SourceCurveCache curves;
    EXPECT_EQ(DwellBeforeBlock(&c.move.block, curves, *path), c.before) << c.what;
    EXPECT_EQ(DwellAfterBlock(&c.move.block, curves, *path), c.after) << c.what;
  }
  SourceCurveCache curves;
  EXPECT_FALSE(DwellBeforeBlock(nullptr, curves, *path));
  EXPECT_FALSE(curves.fetched());  // nothing to check: the curves are not fetched
}

TEST(Dwells, EachSwitchGovernsItsOwnEnd) {
  const Move move(4, 0, 7, {0, 0, 0}, {10, 0, 0});
  auto before_only = DwellPath(1, 0);
  auto after_only = DwellPath(0, 1);
  SourceCurveCache a, b;
  EXPECT_TRUE(DwellBeforeBlock(&move.block, a, *before_only));
  EXPECT_FALSE(DwellAfterBlock(&move.block, a, *before_only));
  EXPECT_FALSE(DwellBeforeBlock(&move.block, b, *after_only));
  EXPECT_TRUE(DwellAfterBlock(&move.block, b, *after_only));
  EXPECT_EQ(DwellText(*before_only)->str(), "G04 P500");
}

TEST(Dwells, Kind65DwellsAfterMovesOfAttributes5And2WithItsSwitchOn) {
  auto record = [](int dwell) {
    auto r = std::make_unique<SubPara65>();
    r->dwell_text = "X1";
    r->dwell = dwell;
    return r;
  };
  auto on = PathWith(65, record(1));
  auto off = PathWith(65, record(0));
  EXPECT_TRUE(DwellAfterKind65Move(*on, Move(5, 2, 7).block));
  EXPECT_FALSE(DwellAfterKind65Move(*off, Move(5, 2, 7).block));
  EXPECT_FALSE(DwellAfterKind65Move(*on, Move(5, 0, 7).block));
  EXPECT_FALSE(DwellAfterKind65Move(*on, Move(4, 2, 7).block));
  EXPECT_EQ(DwellText(*on)->str(), "X1");
  auto other = PathWith(7, nullptr);
  EXPECT_EQ(DwellText(*other), nullptr);
}

TEST(ArcNormal, IsTheCrossProductTurnedBySweep) {
  nc_arc arc;
  arc.centre = {1, 1, 0};
  arc.second = {11, 1, 0};
  arc.third = {1, 11, 0};
  arc.sweep = 0.5;
  EXPECT_EQ(ArcNormal(arc), (XYZ{0, 0, 100}));  // not normalised
  arc.sweep = -0.5;
  EXPECT_EQ(ArcNormal(arc), (XYZ{0, 0, -100}));
  arc.sweep = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(ArcNormal(arc), (XYZ{0, 0, -100}));
  arc.sweep = 0;
  EXPECT_EQ(ArcNormal(arc), (XYZ{0, 0, 100}));
}

}  // namespace
}  // namespace zu
