// The main road's conversions, watched through a post-path writer that
// keeps what it is told: the records, the blocks and their fields, and the
// orientation conversion checked by its properties (points on their arcs,
// unit tool axes, nothing moved when the fixture system is the path's own).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "conditioning/fixture_mapping.h"
#include "host/math.h"
#include "host/row_ops.h"
#include "hostapp/host_session.h"
#include "hostapp/testing/long_rows.h"
#include "hostapp/testing/test_paths.h"
#include "pathinput/working_copy.h"
#include "postpath/conversions.h"
#include "postpath/post_path_output.h"

namespace zu {
namespace {

using ::testing::ElementsAre;
using zuhost::testing::LineMove;

constexpr double kPi = 3.14159265358979323846;

// A post-path writer that keeps every bracket and block instead of writing.
class KeepingWriter final : public CPostPathWrite {
 public:
  struct Bracket {
    PATHTYPE type = PATHTYPE_MILL;
    CPostPathMill3DPara mill;
    CPostPathDrill3DPara drill;
    std::vector<CPostPathBlock> blocks;
  };
  std::vector<Bracket> brackets;

  int FileWrite(const char*) override { return 0; }
  int StartProcess() override { return 0; }
  int StartToolPath(PATHTYPE type, CPostPathPara* para) override {
    Bracket bracket;
    bracket.type = type;
    if (auto* mill = dynamic_cast<CPostPathMill3DPara*>(para))
      bracket.mill = *mill;
    if (auto* drill = dynamic_cast<CPostPathDrill3DPara*>(para))
      bracket.drill = *drill;
    brackets.push_back(bracket);
    return 0;
  }
  int WriteBlock(CPostPathBlock* block) override {
    brackets.back().blocks.push_back(*block);
    return 0;
  }
  int EndToolPath() override { return 0; }
  int EndProcess() override { return 0; }
  int FileClose() override { return 0; }

  // The blocks of the last bracket, each as "kind feed comp dwell mark x,y,z".
  std::vector<std::string> Blocks() const {
    std::vector<std::string> lines;
    for (const auto& b : brackets.back().blocks) {
      char text[160];
      std::snprintf(text, sizeof text, "%d f%d c%d d%d m%d %g,%g,%g", b.kind, b.feed_type,
                    b.compensation, b.dwell, b.position_mark, b.end_point.x, b.end_point.y,
                    b.end_point.z);
      lines.push_back(text);
    }
    return lines;
  }
};

// A quarter arc of radius 5 about `centre` in a plane parallel to XY.
tool_block* Arc(const XYZ& centre, double sweep = kPi / 2) {
  tool_block* move = NcNewRow();
  move->kind = kMoveArc;
  move->a = 4;
  nc_arc* arc = NcNewArcGeom();
  arc->centre = centre;
  arc->second = {centre.x + 10, centre.y, centre.z};
  arc->third = {centre.x, centre.y + 10, centre.z};
  arc->fourth = {centre.x + 5, centre.y, centre.z};
  arc->end = {centre.x + 5 * std::cos(sweep), centre.y + 5 * std::sin(sweep), centre.z};
  arc->radius = 5;
  arc->sweep = sweep;
  move->geometry = arc;
  return move;
}

// A milling path of `kind` with rows of `moves`: approach height 5, safe
// height 50, feeds 3000, 800, 1200, 400 and 600.
std::unique_ptr<OrvoPath2d> MillPath(int kind, std::vector<std::vector<tool_block*>> rows,
                                     std::unique_ptr<OrvoPathSubPara> record = nullptr) {
  auto path = zuhost::testing::MillRowsPath(kind, rows, std::move(record));
  path->approach_height = 5;
  path->safe_height = 50;
  path->feed = {3000, 800, 1200, 400, 600, 0, 0};
  return path;
}

class Conversions : public ::testing::Test {
 protected:
  void SetUp() override {
    session().SetDocument(std::make_unique<zuhost::PartDocument>());
    g_roughblock = CRoughBlock{};
    g_roughblock.corner = {-10, -10, -30};
    g_roughblock.size = {140, 100, 30};
  }
  static zuhost::HostSession& session() { return zuhost::HostSession::Current(); }

  KeepingWriter writer_;
  MainRoadOptions options_;
};

TEST_F(Conversions, AMillPathIsItsRecordAnApproachAndOneBlockPerMove) {
  auto side = std::make_unique<SubPara7>();
  side->side_selector = 2;
  auto path = MillPath(7,
                       {{LineMove({0, 0, 50}, {0, 0, -5}, 9),
                         LineMove({0, 0, -5}, {10, 0, -5}, 2, kCompensationStart),
                         Arc({10, 5, -5}, kPi / 2), LineMove({15, 5, -5}, {15, 9, -5}),
                         LineMove({15, 9, -5}, {0, 9, -5}, 5, kCompensationEnd)}},
                       std::move(side));
  ASSERT_EQ(ConvertMillOrDrillPath(writer_, *path, 0, options_), 1);
  const auto& record = writer_.brackets.back().mill;
  EXPECT_EQ(writer_.brackets.back().type, PATHTYPE_MILL);
  EXPECT_EQ(record.path_name, "mill");
  EXPECT_EQ(record.home_point, (XYZ{0, 0, 50}));
  EXPECT_FALSE(record.has_tool_axis);
  EXPECT_EQ(record.approach_height, 5);
  EXPECT_EQ(record.stock_max, (XYZ{130, 90, 0}));
  const double feeds[10] = {800, -1, -1, 600, 1200, 800, 1200, 1200, 400, -1};
  EXPECT_TRUE(std::equal(feeds, feeds + 10, record.feeds));
  // The approach block keeps the block's first feed type; the compensation
  // flag holds from its start to its end.
  EXPECT_THAT(writer_.Blocks(), ElementsAre("1 f1 c0 d-1 m0 0,0,50", "1 f1 c0 d-1 m0 0,0,-5",
                                            "1 f3 c2 d-1 m0 10,0,-5", "2 f5 c2 d-1 m0 10,10,-5",
                                            "1 f5 c2 d-1 m0 15,9,-5", "1 f6 c0 d-1 m0 0,9,-5"));
  const CPostPathBlock& arc = writer_.brackets.back().blocks[3];
  EXPECT_EQ(arc.centre, (XYZ{10, 5, -5}));
  EXPECT_EQ(arc.vector, (XYZ{0, 0, 100}));
}

TEST_F(Conversions, AMacroPathWritesItsFirstRowOnlyAndItsPairs) {
  auto macro = std::make_unique<OrvoPath_MacroMachining>();
  macro->parameters["#101"] = {"depth", "mm", "-5", 1};
  macro->parameters["#102"] = {"feed", "", "800", 2};
  auto path = MillPath(90, {{LineMove({0, 0, 0}, {1, 0, 0})}, {LineMove({1, 0, 0}, {2, 0, 0})}},
                       std::move(macro));
  ConvertMillOrDrillPath(writer_, *path, 0, options_);
  EXPECT_EQ(writer_.brackets.back().blocks.size(), 2u);  // the approach and one move
  const auto& pairs = writer_.brackets.back().mill.macro_pairs;
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].first, "#101");
  EXPECT_EQ(pairs[0].second, "-5");
  EXPECT_EQ(pairs[1].second, "800");
}

TEST_F(Conversions, Kind62WithSkipCountTwoSetsTheFlagAtItsSecondStart) {
  auto record = std::make_unique<SubPara62>();
  record->side = 1;  // side 0 for kind 62: flag 1
  record->compensation = 1;
  record->skip_switch = 1;
  record->skip_count = 2;
  auto path = MillPath(62,
                       {{LineMove({0, 0, 0}, {1, 0, 0}, 4, kCompensationStart),
                         LineMove({1, 0, 0}, {2, 0, 0}, 4, kCompensationStart)}},
                       std::move(record));
  ConvertMillOrDrillPath(writer_, *path, 0, options_);
  const auto& blocks = writer_.brackets.back().blocks;
  EXPECT_EQ(blocks[1].compensation, 0);
  EXPECT_EQ(blocks[2].compensation, 1);
}

TEST_F(Conversions, DwellsAreFlaggedOnTheirMoves) {
  auto record = std::make_unique<SubPara63>();
  record->dwell_before = 1;
  record->dwell_after = 1;
  record->dwell_text = "G04 P1000";
  auto path = MillPath(63, {{LineMove({0, 0, 0}, {10, 0, 0}), LineMove({10, 0, 0}, {10, 5, 0})}},
                       std::move(record));
  path->geometry->curves = {{{0, 0, 0}, {10, 0, 0}}};
  ConvertMillOrDrillPath(writer_, *path, 0, options_);
  EXPECT_EQ(writer_.brackets.back().mill.dwell_text, "G04 P1000");
  const auto& blocks = writer_.brackets.back().blocks;
  EXPECT_EQ(blocks[1].dwell, 2);   // dwells before and after
  EXPECT_EQ(blocks[2].dwell, -1);  // reset for every move
}

TEST_F(Conversions, ADrillingPathIsItsHolesAtTheWorkSystemsHeight) {
  OrvoDrillPath drill;
  drill.name = "drill";
  drill.wcs.origin = {100, 0, 20};
  drill.geometry = new Node;
  drill.geometry->drill_points = {{5, 7, -3}, {1, 2, 3}, {0, 0, 0}};
  drill.drill.spindle_speed = 1200;
  drill.drill.drill_feed = 80;
  drill.drill.hole_depth = 15;
  drill.drill.user[19] = "u20";
  ASSERT_EQ(ConvertMillOrDrillPath(writer_, drill, 0, options_), 1);
  const auto& bracket = writer_.brackets.back();
  EXPECT_EQ(bracket.type, PATHTYPE_DRILL);
  EXPECT_TRUE(bracket.blocks.empty());
  EXPECT_THAT(bracket.drill.holes, ElementsAre(XYZ{5, 7, 20}, XYZ{1, 2, 20}, XYZ{0, 0, 20}));
  EXPECT_EQ(bracket.drill.spindle_speed, 1200);
  EXPECT_EQ(bracket.drill.drill_values[0], 80);
  EXPECT_EQ(bracket.drill.drill_values[3], 15);
  EXPECT_EQ(bracket.drill.user[19], "u20");
  drill.has_drill_record = false;
  EXPECT_EQ(ConvertMillOrDrillPath(writer_, drill, 0, options_), 0);
  EXPECT_EQ(writer_.brackets.size(), 1u);  // no bracket without its record
}

TEST_F(Conversions, FixtureRetractsFrameATiltedPlanePath) {
  options_.use_jig_coord = 1;
  options_.fix_mill_mode = 1;
  options_.jig_tool_up_height = 500;
  auto path = MillPath(7, {{Arc({10, 10, -2}), LineMove({10, 15, -2}, {0, 15, -2}, 9)}});
  path->wcs.z_axis = {0, 0, 1};
  const std::size_t prompts = session().events().size();
  ConvertMillOrDrillPath(writer_, *path, 3, options_);
  const auto& record = writer_.brackets.back().mill;
  // Above where the path starts (the arc's start, not its centre).
  EXPECT_EQ(record.home_point, (XYZ{15, 10, 500}));
  EXPECT_TRUE(record.has_tool_axis);
  EXPECT_EQ(record.tool_axis, (XYZ{0, 0, 1}));
  EXPECT_THAT(writer_.Blocks(), ElementsAre("1 f5 c0 d-1 m0 15,10,500", "1 f5 c0 d-1 m0 15,10,-2",
                                            "2 f5 c0 d-1 m0 10,15,-2", "1 f1 c0 d-1 m0 0,15,-2",
                                            "1 f1 c0 d-1 m0 0,15,500"));
  // The retract counts as the path's first move in the prompt.
  EXPECT_EQ(session().events()[prompts], "prompt \"生成刀位文件 2/3\"");
}

TEST_F(Conversions, APathWhoseFirstRowHasNoMovesStartsAtItsFirstMove) {
  auto path = MillPath(7, {{}, {LineMove({3, 4, -2}, {9, 4, -2}, 2)}});
  options_.use_jig_coord = 1;
  options_.fix_mill_mode = 1;
  options_.jig_tool_up_height = 500;
  ConvertMillOrDrillPath(writer_, *path, 0, options_);
  EXPECT_EQ(writer_.brackets.back().mill.home_point, (XYZ{3, 4, 500}));
  // The retract takes the first move's feed type (-1 would be refused).
  EXPECT_THAT(writer_.Blocks(), ElementsAre("1 f3 c0 d-1 m0 3,4,500", "1 f3 c0 d-1 m0 3,4,-2",
                                            "1 f3 c0 d-1 m0 9,4,-2", "1 f3 c0 d-1 m0 9,4,500"));
  options_.fix_mill_mode = 0;
  AxisBlockWriter blocks(writer_);
  ConvertToFiveAxisOrientation(blocks, *path, 0, options_);
  EXPECT_EQ(writer_.brackets.back().mill.home_point, (XYZ{3, 4, -2}));
  EXPECT_EQ(writer_.Blocks().front(), "1 f1 c0 d-1 m2 3,4,-2");
}

// A path whose work system and the fixture system are both `matrix`.
std::unique_ptr<OrvoPath2d> InSystem(const TRANSF& matrix) {
  auto path = MillPath(7, {{LineMove({0, 0, 0}, {20, 0, 0}), Arc({20, 5, 0}, kPi),
                            LineMove({20, 10, 0}, {0, 10, 0})}});
  path->wcs.matrix = matrix;
  return path;
}

TEST_F(Conversions, InItsOwnFixtureSystemAFiveAxisOrientationPathIsUnchanged) {
  TRANSF tilted;
  CoordSysMatrix({10, 20, 30}, {1, 0, 0}, {0, std::sqrt(0.5), std::sqrt(0.5)}, tilted);
  session().document()->current_system.matrix = tilted;
  auto path = InSystem(tilted);
  options_.use_jig_coord = 1;
  options_.fix_mill_mode = 0;
  options_.jig_tolerance = 0.01;
  AxisBlockWriter blocks(writer_);
  ASSERT_EQ(ConvertToFiveAxisOrientation(blocks, *path, 0, options_), 1);
  const auto& bracket = writer_.brackets.back();
  EXPECT_EQ(bracket.type, PATHTYPE_FIVEAXIS);
  EXPECT_EQ(bracket.mill.safe_height, 500);
  EXPECT_NEAR(bracket.mill.approach_height, 500.0 / 3, 1e-12);
  // The path's own Z direction in its own system: (0, 0, 1).
  EXPECT_NEAR(bracket.mill.tool_axis.z, 1, 1e-12);
  for (const auto& block : bracket.blocks) {
    EXPECT_NEAR(PointDistance(block.vector, {0, 0, 0}), 1, 1e-12);  // unit axes
    EXPECT_NEAR(block.end_point.z, 0, 1e-9);
  }
  // Lines keep their ends; the half turn's chords stay on its circle.
  EXPECT_NEAR(PointDistance(bracket.blocks[1].end_point, {20, 0, 0}), 0, 1e-9);
  for (std::size_t i = 2; i + 2 < bracket.blocks.size(); ++i)
    EXPECT_NEAR(PointDistance(bracket.blocks[i].end_point, {20, 5, 0}), 5, 1e-9) << i;
  EXPECT_EQ(bracket.blocks.front().position_mark, kMarkApproach);
  // The closing block would repeat the last line's end: it is dropped.
  EXPECT_EQ(bracket.blocks.back().position_mark, kMarkNone);
  EXPECT_NEAR(PointDistance(bracket.blocks.back().end_point, {0, 10, 0}), 0, 1e-9);
}

TEST_F(Conversions, OrientationPointsGoToTheFixtureSystemAndBack) {
  TRANSF path_system, fixture_system;
  CoordSysMatrix({5, 0, 0}, {std::sqrt(0.5), std::sqrt(0.5), 0},
                 {-std::sqrt(0.5), std::sqrt(0.5), 0}, path_system);
  CoordSysMatrix({0, 0, 10}, {1, 0, 0}, {0, 0.6, 0.8}, fixture_system);
  ncworkcoordinate& fixture = session().document()->current_system;
  fixture.matrix = fixture_system;
  fixture.origin = {0, 0, 10};
  fixture.x_axis = {1, 0, 0};
  fixture.y_axis = {0, 0.6, 0.8};
  fixture.z_axis = {0, -0.8, 0.6};
  auto path = InSystem(path_system);
  path->wcs.origin = {5, 0, 0};
  path->wcs.x_axis = {7, 7, 0};
  path->wcs.y_axis = {-7, 7, 0};
  options_.use_jig_coord = 1;
  options_.jig_tolerance = 0.005;
  AxisBlockWriter blocks(writer_);
  ConvertToFiveAxisOrientation(blocks, *path, 0, options_);
  const FixtureMapping mapping(path_system, fixture_system);
  const auto& bracket = writer_.brackets.back();
  // The record is in the fixture system, not the path's.
  EXPECT_EQ(bracket.mill.origin, fixture.origin);
  EXPECT_EQ(bracket.mill.x_axis, fixture.x_axis);
  EXPECT_EQ(bracket.mill.y_axis, fixture.y_axis);
  EXPECT_EQ(bracket.mill.z_axis, fixture.z_axis);
  // Worked out by hand: the path's (0, 0, 0) is (5, 0, 0) of the document,
  // (5, -8, -6) of the fixture; its (20, 0, 0) is (5 + 20s, 20s, 0) with
  // s = sqrt(1/2); its Z axis is the fixture's (0, 0.8, 0.6).
  const double s = std::sqrt(0.5);
  EXPECT_NEAR(PointDistance(bracket.mill.home_point, {5, -8, -6}), 0, 1e-12);
  EXPECT_NEAR(PointDistance(bracket.blocks[0].end_point, {5, -8, -6}), 0, 1e-12);
  EXPECT_NEAR(PointDistance(bracket.blocks[1].end_point, {5 + 20 * s, 12 * s - 8, -16 * s - 6}), 0,
              1e-12);
  EXPECT_NEAR(PointDistance(bracket.mill.tool_axis, {0, 0.8, 0.6}), 0, 1e-15);
  XYZ axis;
  UnitDirection(mapping.ToFixture({0, 0, 0}), mapping.ToFixture({0, 0, 10}), axis);
  for (std::size_t i = 0; i < bracket.blocks.size(); ++i) {
    const XYZ back = mapping.FromFixture(bracket.blocks[i].end_point);
    EXPECT_NEAR(back.z, 0, 1e-9) << i;  // every point back in the path's plane
    EXPECT_NEAR(PointDistance(bracket.blocks[i].vector, axis), 0, 1e-12);
  }
  // Every chord of the half turn within the tolerance of its arc.
  for (std::size_t i = 2; i + 2 < bracket.blocks.size(); ++i) {
    const XYZ a = mapping.FromFixture(bracket.blocks[i].end_point);
    const XYZ b = mapping.FromFixture(bracket.blocks[i + 1].end_point);
    const XYZ middle{(a.x + b.x) / 2, (a.y + b.y) / 2, 0};
    EXPECT_LE(5 - PointDistance(middle, {20, 5, 0}), 0.005 + 1e-9) << i;
  }
}

TEST_F(Conversions, ADrillingPathInFiveAxisOrientationIsAnnouncedAndWrittenInThreeAxes) {
  std::vector<std::string> shown;
  options_.use_jig_coord = 1;
  options_.show_message = [&](const char* text) { shown.emplace_back(text); };
  OrvoDrillPath drill;
  drill.geometry = new Node;
  AxisBlockWriter blocks(writer_);
  EXPECT_EQ(ConvertToFiveAxisOrientation(blocks, drill, 0, options_), 0);
  EXPECT_THAT(shown, ElementsAre("定向加工中不支持固定循环的输出。"));
  EXPECT_EQ(writer_.brackets.back().type, PATHTYPE_DRILL);
}

// A multi-axis path of class `class_code` of FiveAxisRowsPath's rows: points
// along X at z = 0 with axis (0, 0, 1), given by their flags; link height
// 30, approach 5, safe height 80.
std::unique_ptr<OrvoPath5Axis> MultiAxisPath(int class_code,
                                             const std::vector<std::vector<int>>& rows) {
  auto path = zuhost::testing::FiveAxisRowsPath(rows);
  path->PathClassCode = class_code;
  return path;
}

TEST_F(Conversions, RecordByRecordFlagsSetFeedTypesAndMarks) {
  // 5 and 4 mark the next point (4 wins); 2 and 3 choose this conversion.
  auto path = MultiAxisPath(2302, {{5, 2, 1, 5, 4, 3, 0, 255}});
  AxisBlockWriter blocks(writer_);
  ASSERT_EQ(ConvertMultiAxisPath(blocks, *path, 0), 1);
  EXPECT_EQ(writer_.brackets.back().type, PATHTYPE_MULTIAXIS);
  // The home is the second point, the first only marking it.
  EXPECT_EQ(writer_.brackets.back().mill.home_point, (XYZ{1, 0, 80}));
  EXPECT_EQ(writer_.brackets.back().mill.safe_height, 30);
  EXPECT_THAT(writer_.Blocks(),
              ElementsAre("1 f3 c0 d-1 m2 1,0,0", "1 f5 c0 d-1 m0 2,0,0", "1 f8 c0 d-1 m1 5,0,0",
                          "1 f1 c0 d-1 m0 6,0,0", "1 f5 c0 d-1 m0 7,0,0"));
}

TEST_F(Conversions, LinkedRunsAreJoinedByRetractApproachAndPlunge) {
  auto path = MultiAxisPath(2303, {{0, 1, 0, 1, 0, 1, 0}});
  AxisBlockWriter blocks(writer_);
  ASSERT_EQ(ConvertMultiAxisPath(blocks, *path, 0), 1);
  EXPECT_EQ(writer_.brackets.back().type, PATHTYPE_FIVEAXIS);
  EXPECT_EQ(writer_.brackets.back().mill.home_point, (XYZ{0, 0, 80}));
  EXPECT_THAT(writer_.Blocks(),
              ElementsAre("1 f2 c0 d-1 m2 0,0,5", "1 f3 c0 d-1 m0 0,0,0",
                          // the first run, 0 to 2
                          "1 f5 c0 d-1 m0 1,0,0", "1 f5 c0 d-1 m0 2,0,0",
                          // the link to the run starting at 4
                          "1 f8 c0 d-1 m1 2,0,5", "1 f2 c0 d-1 m2 4,0,5", "1 f3 c0 d-1 m0 4,0,0",
                          // that run, 4 to 6, and the final retract
                          "1 f5 c0 d-1 m0 5,0,0", "1 f5 c0 d-1 m0 6,0,0", "1 f9 c0 d-1 m0 6,0,5"));
}

TEST_F(Conversions, ARunOpenAtItsRowsEndIsCutToTheRowsLastPoint) {
  // The run starting at point 2 is not closed in its row: points 3 and 4
  // are cut, then the next row goes on.
  auto path = MultiAxisPath(2303, {{0, 0, 0, 1, 1}, {1, 0}});
  AxisBlockWriter blocks(writer_);
  ConvertMultiAxisPath(blocks, *path, 0);
  const auto lines = writer_.Blocks();
  EXPECT_THAT(lines, ::testing::Contains("1 f5 c0 d-1 m0 3,0,0"));
  EXPECT_THAT(lines, ::testing::Contains("1 f5 c0 d-1 m0 4,0,0"));
  EXPECT_EQ(lines.back(), "1 f9 c0 d-1 m0 6,0,5");
}

// The linked blocks of a path of one row along X that cuts `runs`, worked
// out from the runs alone: approach and plunge at the first run's start,
// every further point of each run cut, a retract, approach and plunge
// between runs, and the final retract from the last run's end.
std::vector<std::string> LinkedBlocks(const std::vector<std::pair<int, int>>& runs) {
  auto at = [](const char* head, int x, int z) {
    return std::string(head) + " " + std::to_string(x) + ",0," + std::to_string(z);
  };
  std::vector<std::string> lines;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const auto [first, last] = runs[r];
    if (r > 0)
      lines.push_back(at("1 f8 c0 d-1 m1", runs[r - 1].second, 5));
    lines.push_back(at("1 f2 c0 d-1 m2", first, 5));
    lines.push_back(at("1 f3 c0 d-1 m0", first, 0));
    for (int k = first + 1; k <= last; ++k)
      lines.push_back(at("1 f5 c0 d-1 m0", k, 0));
  }
  lines.push_back(at("1 f9 c0 d-1 m0", runs.back().second, 5));
  return lines;
}

TEST_F(Conversions, LongRowsTheHostSplitsAreCutAndLinkedAsWholeRows) {
  for (const auto& row : zuhost::testing::LongRows()) {
    KeepingWriter writer;
    AxisBlockWriter blocks(writer);
    auto path = MultiAxisPath(2303, {zuhost::testing::FlagsOf(row)});
    ASSERT_EQ(ConvertMultiAxisPath(blocks, *path, 0), 1);
    EXPECT_EQ(zuhost::testing::FirstDifference(writer.Blocks(), LinkedBlocks(row.runs)), "")
        << row.what;
  }
}

TEST_F(Conversions, LaterRowsPassOverLeadingSkippedPointsAndPlungeOntoAnInnerFirstPoint) {
  // Rows of points 0-3, 4-7 and 8-11. The path starts on its first path
  // point, 2; row two's run goes on after its skipped points 4 and 5; row
  // three starts inside a run, with a plunge.
  auto path = MultiAxisPath(2303, {{255, 255, 0, 1}, {255, 255, 1, 1}, {1, 0, 1, 0}});
  AxisBlockWriter blocks(writer_);
  ConvertMultiAxisPath(blocks, *path, 0);
  EXPECT_EQ(writer_.brackets.back().mill.home_point, (XYZ{2, 0, 80}));
  EXPECT_THAT(writer_.Blocks(),
              ElementsAre("1 f2 c0 d-1 m2 2,0,5", "1 f3 c0 d-1 m0 2,0,0", "1 f5 c0 d-1 m0 3,0,0",
                          "1 f5 c0 d-1 m0 6,0,0", "1 f5 c0 d-1 m0 7,0,0", "1 f3 c0 d-1 m0 8,0,0",
                          "1 f5 c0 d-1 m0 9,0,0", "1 f8 c0 d-1 m1 9,0,5", "1 f2 c0 d-1 m2 11,0,5",
                          "1 f3 c0 d-1 m0 11,0,0", "1 f9 c0 d-1 m0 11,0,5"));
}

TEST_F(Conversions, EveryMultiAxisPathStartsAfreshInAFile) {
  // The second path's approach repeats where the first path's final retract
  // left the tool; it is written all the same, as is a record-by-record
  // path's first point that repeats the last one written.
  auto first = MultiAxisPath(2303, {{0, 0}});
  auto second = MultiAxisPath(2303, {{255, 0, 1, 0}});
  auto third = MultiAxisPath(2303, {{3}});
  auto fourth = MultiAxisPath(2303, {{3}});
  AxisBlockWriter blocks(writer_);
  ConvertMultiAxisPath(blocks, *first, 0);
  ASSERT_EQ(writer_.Blocks().back(), "1 f9 c0 d-1 m0 1,0,5");
  ConvertMultiAxisPath(blocks, *second, 1);
  EXPECT_EQ(writer_.Blocks().front(), "1 f2 c0 d-1 m2 1,0,5");
  ConvertMultiAxisPath(blocks, *third, 2);
  ConvertMultiAxisPath(blocks, *fourth, 3);
  EXPECT_THAT(writer_.Blocks(), ElementsAre("1 f8 c0 d-1 m0 0,0,0"));
}

TEST_F(Conversions, MultiAxisPointsAndAxesAreWrittenInTheTurnedWorkSystem) {
  // Worked out by hand: point i is (-10, -i, -5) in the work system, every
  // axis (0, -0.6, 0.8), so 5 along it is (0, -3, 4).
  auto path = zuhost::testing::TurnedFiveAxisRowsPath({{0, 1, 0}, {0, 1, 0}});
  path->PathClassCode = 2303;
  path->wcs.origin = {0, 10, 5};
  path->wcs.x_axis = {0, 10, 0};
  path->wcs.y_axis = {-10, 0, 0};
  path->feed = {3000, 800, 1200, 400, 600, 0, 0};
  AxisBlockWriter blocks(writer_);
  ConvertMultiAxisPath(blocks, *path, 0);
  const auto& bracket = writer_.brackets.back();
  EXPECT_NEAR(PointDistance(bracket.mill.home_point, {-10, -3, 80}), 0, 1e-12);
  EXPECT_NEAR(PointDistance(bracket.mill.tool_axis, {0, -0.6, 0.8}), 0, 1e-15);
  // The record: the path's work system, its link height and approach
  // distance, its spindle speed and feeds, the stock box.
  EXPECT_EQ(bracket.mill.path_name, "five");
  EXPECT_EQ(bracket.mill.origin, (XYZ{0, 10, 5}));
  EXPECT_EQ(bracket.mill.x_axis, (XYZ{0, 10, 0}));
  EXPECT_EQ(bracket.mill.y_axis, (XYZ{-10, 0, 0}));
  EXPECT_EQ(bracket.mill.z_axis, (XYZ{0, 0, 1}));
  EXPECT_EQ(bracket.mill.safe_height, 30);
  EXPECT_EQ(bracket.mill.approach_height, 5);
  EXPECT_EQ(bracket.mill.spindle_speed, 3000);
  const double feeds[10] = {800, -1, -1, 600, 1200, 800, 1200, 1200, 400, -1};
  EXPECT_TRUE(std::equal(feeds, feeds + 10, bracket.mill.feeds));
  EXPECT_EQ(bracket.mill.stock_min, (XYZ{-10, -10, -30}));
  EXPECT_EQ(bracket.mill.stock_max, (XYZ{130, 90, 0}));
  EXPECT_THAT(writer_.Blocks(),
              ElementsAre("1 f2 c0 d-1 m2 -10,-3,-1", "1 f3 c0 d-1 m0 -10,0,-5",
                          "1 f5 c0 d-1 m0 -10,-1,-5", "1 f5 c0 d-1 m0 -10,-2,-5",
                          "1 f8 c0 d-1 m1 -10,-5,-1", "1 f2 c0 d-1 m2 -10,-6,-1",
                          "1 f3 c0 d-1 m0 -10,-3,-5", "1 f5 c0 d-1 m0 -10,-4,-5",
                          "1 f5 c0 d-1 m0 -10,-5,-5", "1 f9 c0 d-1 m0 -10,-8,-1"));
  for (const auto& block : bracket.blocks)
    EXPECT_NEAR(PointDistance(block.vector, {0, -0.6, 0.8}), 0, 1e-15);
}

TEST_F(Conversions, OtherClassesAreNotMultiAxisPaths) {
  auto path = MultiAxisPath(2300, {{0, 0}});
  AxisBlockWriter blocks(writer_);
  EXPECT_EQ(ConvertMultiAxisPath(blocks, *path, 0), 0);
  EXPECT_TRUE(writer_.brackets.empty());
}

}  // namespace
}  // namespace zu
