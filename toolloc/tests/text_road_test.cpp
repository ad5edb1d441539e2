// What the text road's writers decide: which blocks follow which move, the
// fixture retracts, the holes, the five-axis approach, link and retract
// moves, and that a file never depends on an earlier one. The records are
// looked at as short lines (record_log.h); the file's bytes are checked
// against golden files elsewhere.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/row_ops.h"
#include "hostapp/host_session.h"
#include "hostapp/testing/long_rows.h"
#include "hostapp/testing/test_paths.h"
#include "pathinput/working_copy.h"
#include "toolloc/path_records.h"
#include "toolloc/tests/record_log.h"
#include "toolloc/text_road.h"

namespace zu {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using zuhost::testing::FiveAxisRowsPath;
using zuhost::testing::LineMove;

// A quarter arc about `centre` in the XY plane from angle 0, radius 5.
tool_block* Arc(const XYZ& centre, int c = 7) {
  tool_block* move = NcNewRow();
  move->kind = kMoveArc;
  move->a = 4;
  move->c = c;
  nc_arc* arc = NcNewArcGeom();
  arc->centre = centre;
  arc->second = {centre.x + 10, centre.y, centre.z};
  arc->third = {centre.x, centre.y + 10, centre.z};
  arc->fourth = {centre.x + 5, centre.y, centre.z};
  arc->end = {centre.x, centre.y + 5, centre.z};
  arc->radius = 5;
  arc->sweep = 1.5707963267948966;
  move->geometry = arc;
  return move;
}

// A milling path of `kind` with one row of `moves`.
std::unique_ptr<OrvoPath2d> MillPath(int kind, std::vector<tool_block*> moves,
                                     std::unique_ptr<OrvoPathSubPara> record = nullptr) {
  return zuhost::testing::MillRowsPath(kind, {moves}, std::move(record));
}

class TextRoad : public ::testing::Test {
 protected:
  void SetUp() override {
    session().SetDocument(std::make_unique<zuhost::PartDocument>());
    g_roughblock = CRoughBlock{};
  }
  static zuhost::HostSession& session() { return zuhost::HostSession::Current(); }

  // The blocks WriteMillPath writes for `path`'s working copy.
  std::vector<std::string> MillBlocks(OrvoPath& path, TextRoadState& state) {
    RecordLog log;
    auto copy = MakeWorkingCopy(path);
    WriteMillPath(log, *copy, state, ncworkcoordinate{}, options_);
    return log.Blocks();
  }
  std::vector<std::string> MillBlocks(OrvoPath& path) {
    TextRoadState state;
    return MillBlocks(path, state);
  }

  TextRoadOptions options_;
};

TEST_F(TextRoad, FeedTypesFollowTheMovesWhereTheyChange) {
  auto path = MillPath(7, {LineMove({0, 0, 0}, {1, 0, 0}), LineMove({1, 0, 0}, {2, 0, 0}),
                           LineMove({2, 0, 0}, {2, 0, 9}, 9)});
  EXPECT_THAT(MillBlocks(*path),
              ElementsAre("line 1,0,0", "feed 5", "line 2,0,0", "line 2,0,9", "feed 1"));
}

TEST_F(TextRoad, TheLastFeedTypeCarriesFromPathToPathOfOneFile) {
  auto first = MillPath(7, {LineMove({0, 0, 0}, {0, 0, 9}, 9)});
  auto second = MillPath(7, {LineMove({0, 0, 9}, {5, 0, 9}, 9), LineMove({5, 0, 9}, {5, 0, 0})});
  TextRoadState state;
  EXPECT_THAT(MillBlocks(*first, state), ElementsAre("line 0,0,9", "feed 1"));
  EXPECT_THAT(MillBlocks(*second, state), ElementsAre("line 5,0,9", "line 5,0,0", "feed 5"));
}

TEST_F(TextRoad, Kind63DwellsComeBeforeAndAfterTheirMove) {
  auto record = std::make_unique<SubPara63>();
  record->dwell_before = 1;
  record->dwell_after = 1;
  record->dwell_text = "G04 X1";
  auto path = MillPath(63, {LineMove({0, 0, 0}, {10, 0, 0}), LineMove({10, 0, 0}, {10, 5, 0})},
                       std::move(record));
  path->geometry->curves = {{{0, 0, 0}, {10, 0, 0}}};
  EXPECT_THAT(MillBlocks(*path),
              ElementsAre("dwell 0", "line 10,0,0", "feed 5", "dwell 2", "line 10,5,0"));
}

TEST_F(TextRoad, Kind63DwellsAfterAMoveWithoutOneBeforeAreFlaggedOne) {
  auto record = std::make_unique<SubPara63>();
  record->dwell_after = 1;
  auto path = MillPath(63, {LineMove({0, 0, 0}, {10, 0, 0})}, std::move(record));
  path->geometry->curves = {{{0, 0, 0}, {10, 0, 0}}};
  EXPECT_THAT(MillBlocks(*path), ElementsAre("line 10,0,0", "feed 5", "dwell 1"));
}

TEST_F(TextRoad, Kind65DwellsAfterTheFeedTypeOfMovesOfAttributes5And2) {
  auto record = [](int dwell) {
    auto r = std::make_unique<SubPara65>();
    r->dwell_text = "P2";
    r->dwell = dwell;
    return r;
  };
  auto on = MillPath(65, {LineMove({0, 0, 0}, {1, 0, 0}, 5, 7, 2)}, record(1));
  auto off = MillPath(65, {LineMove({0, 0, 0}, {1, 0, 0}, 5, 7, 2)}, record(0));
  EXPECT_THAT(MillBlocks(*on), ElementsAre("line 1,0,0", "feed 3", "dwell 1"));
  EXPECT_THAT(MillBlocks(*off), ElementsAre("line 1,0,0", "feed 3"));
}

TEST_F(TextRoad, CompensationFollowsTheMarksOfLinesOnly) {
  auto side = [](int selector) {
    auto r = std::make_unique<SubPara7>();
    r->side_selector = selector;
    return r;
  };
  auto path = MillPath(7,
                       {LineMove({0, 0, 0}, {0, 0, -1}, 4, kCompensationEnd),  // nothing armed
                        Arc({0, 0, -1}, kCompensationStart),                   // arcs are ignored
                        LineMove({0, 5, -1}, {1, 5, -1}, 4, kCompensationStart),
                        LineMove({1, 5, -1}, {2, 5, -1}, 4, kCompensationEnd)},
                       side(2));
  EXPECT_THAT(MillBlocks(*path), ElementsAre("line 0,0,-1", "feed 5", "arc 0,5,-1 0,0,-1 0,0,100",
                                             "line 1,5,-1", "comp 2", "line 2,5,-1", "comp 0"));
  auto without = MillPath(7,
                          {LineMove({0, 0, 0}, {1, 0, 0}, 4, kCompensationStart),
                           LineMove({1, 0, 0}, {2, 0, 0}, 4, kCompensationEnd)},
                          side(9));
  EXPECT_THAT(MillBlocks(*without), ElementsAre("line 1,0,0", "feed 5", "line 2,0,0"));
}

TEST_F(TextRoad, ACompensationEndsOnceForEachStart) {
  auto record = std::make_unique<SubPara7>();
  record->side_selector = 1;
  auto path = MillPath(7,
                       {LineMove({0, 0, 0}, {1, 0, 0}, 4, kCompensationStart),
                        LineMove({1, 0, 0}, {2, 0, 0}, 4, kCompensationEnd),
                        LineMove({2, 0, 0}, {3, 0, 0}, 4, kCompensationEnd)},
                       std::move(record));
  EXPECT_THAT(MillBlocks(*path),
              ElementsAre("line 1,0,0", "comp 1", "feed 5", "line 2,0,0", "comp 0", "line 3,0,0"));
}

TEST_F(TextRoad, Kind62PassesOverItsFirstCompensationStarts) {
  auto record = std::make_unique<SubPara62>();
  record->side = 0;  // side 1 for kind 62
  record->compensation = 1;
  record->skip_switch = 1;
  record->skip_count = 3;
  std::vector<tool_block*> moves;
  for (int i = 0; i < 3; ++i) {
    moves.push_back(LineMove({0, 0, 0}, {1, 0, 0}, 4, kCompensationStart));
    moves.push_back(LineMove({1, 0, 0}, {0, 0, 0}, 4, kCompensationEnd));
  }
  auto path = MillPath(62, moves, std::move(record));
  const auto blocks = MillBlocks(*path);
  EXPECT_THAT(blocks, ElementsAre("line 1,0,0", "feed 5", "line 0,0,0", "line 1,0,0", "line 0,0,0",
                                  "line 1,0,0", "comp 2", "line 0,0,0", "comp 0"));
}

TEST_F(TextRoad, FixtureRetractsFrameThePathAboveWhereItStarts) {
  options_.use_jig_coord = 1;
  options_.jig_tool_axis = 2;
  options_.jig_tool_up_height = 500;
  // The first move is an arc: the retract is above its start, not its centre.
  auto path = MillPath(7, {Arc({10, 10, -2}), LineMove({10, 15, -2}, {0, 15, -2}, 9)});
  EXPECT_THAT(MillBlocks(*path),
              ElementsAre("line 15,10,500", "feed 5", "arc 10,15,-2 10,10,-2 0,0,100", "feed 5",
                          "line 0,15,-2", "feed 1", "line 0,15,500"));
}

TEST_F(TextRoad, APathWhoseFirstRowHasNoMovesStartsAtItsFirstMove) {
  options_.use_jig_coord = 1;
  options_.jig_tool_up_height = 500;
  auto path = zuhost::testing::MillRowsPath(7, {{}, {LineMove({3, 4, -2}, {9, 4, -2}, 2)}});
  TextRoadState state;
  RecordLog log;
  WriteMillPath(log, *MakeWorkingCopy(*path), state, ncworkcoordinate{}, options_);
  EXPECT_THAT(log.lines, ::testing::Contains("home 3,4,-2"));
  EXPECT_THAT(log.Blocks(),
              ElementsAre("line 3,4,500", "feed 3", "line 9,4,-2", "feed 3", "line 9,4,500"));
}

TEST_F(TextRoad, WithoutLinesOrArcsTheEndRetractRepeatsTheStartOne) {
  options_.use_jig_coord = 1;
  options_.jig_tool_up_height = 80;
  tool_block* other = LineMove({3, 4, 5}, {6, 7, 8}, 4);
  other->kind = 7;
  auto path = MillPath(7, {other});
  EXPECT_THAT(MillBlocks(*path), ElementsAre("line 3,4,80", "feed 5", "feed 5", "line 3,4,80"));
}

TEST_F(TextRoad, HolesLieAtTheHeightOfTheWorkSystemsOrigin) {
  OrvoDrillPath drill;
  drill.name = "drill";
  drill.wcs.origin = {100, 0, 20};
  drill.geometry = new Node;
  drill.geometry->drill_points = {{5, 7, -3}, {1, 2, 3}};
  drill.drill.drill_mode = 4;
  TextRoadState state;
  RecordLog log;
  WriteDrillPath(log, drill, state);
  EXPECT_THAT(log.lines, ElementsAre("path drill 0", "home 0,0,0", "drill 4", "holes 2",
                                     "hole 5,7,20", "hole 1,2,20", "end"));
  drill.has_drill_record = false;
  drill.geometry->drill_points.clear();
  RecordLog without;
  WriteDrillPath(without, drill, state);
  EXPECT_THAT(without.lines, ElementsAre("path drill 1", "home 0,0,0", "holes 0", "end"));
}

std::vector<std::string> FiveAxisBlocks(const OrvoPath& path, TextRoadState& state) {
  RecordLog log;
  WriteFiveAxisPath(log, path, state);
  return log.Blocks();
}

const std::vector<std::string> kStartAtOrigin = {"axis 0,0,80 0,0,1", "feed 2", "axis 0,0,5 0,0,1",
                                                 "axis 0,0,0 0,0,1", "feed 3"};

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(TextRoad, AFiveAxisStretchIsApproachedCutAndLeftAlongTheAxis) {
  auto path = FiveAxisRowsPath({{0, 1, 1, 0}});
  TextRoadState state;
  // Point 0 repeats the plunge and is dropped with its feed type; the move
  // back to point 3 repeats it too.
  EXPECT_THAT(
      FiveAxisBlocks(*path, state),
      ElementsAreArray(Joined(kStartAtOrigin, {"axis 1,0,0 0,0,1", "feed 5", "axis 2,0,0 0,0,1",
                                               "axis 3,0,0 0,0,1", "axis 3,0,5 0,0,1", "feed 8"})));
}

TEST_F(TextRoad, StretchesAreLinkedAtTheLinkHeight) {
  auto path = FiveAxisRowsPath({{0, 0, 1, 0, 0}});
  TextRoadState state;
  EXPECT_THAT(FiveAxisBlocks(*path, state),
              ElementsAreArray(Joined(
                  kStartAtOrigin, {"axis 1,0,0 0,0,1", "feed 5", "axis 1,0,5 0,0,1", "feed 8",
                                   "axis 1,0,30 0,0,1", "feed 9", "axis 3,0,30 0,0,1", "feed 1",
                                   "axis 3,0,5 0,0,1", "feed 2", "axis 3,0,0 0,0,1", "feed 3",
                                   "axis 4,0,0 0,0,1", "feed 5", "axis 4,0,5 0,0,1", "feed 8"})));
}

TEST_F(TextRoad, AStretchEndingBeforeItsRowRetractsFromItsLastPoint) {
  // Nothing sets the end point here; the retract starts where the tool is.
  auto path = FiveAxisRowsPath({{0, 0, 1}});
  TextRoadState state;
  EXPECT_THAT(FiveAxisBlocks(*path, state),
              ElementsAreArray(Joined(
                  kStartAtOrigin, {"axis 1,0,0 0,0,1", "feed 5", "axis 1,0,5 0,0,1", "feed 8"})));
}

TEST_F(TextRoad, AfterALinkThePathRetractsFromTheEndOfItsLastStretch) {
  // The link to row 2 starts its stretch at point 3; the stretch ends at 4,
  // and the retract starts there, not back at 3.
  auto path = FiveAxisRowsPath({{0, 0, 1}, {0, 0, 1}});
  TextRoadState state;
  EXPECT_THAT(FiveAxisBlocks(*path, state),
              ElementsAreArray(Joined(
                  kStartAtOrigin, {"axis 1,0,0 0,0,1", "feed 5", "axis 1,0,5 0,0,1", "feed 8",
                                   "axis 1,0,30 0,0,1", "feed 9", "axis 3,0,30 0,0,1", "feed 1",
                                   "axis 3,0,5 0,0,1", "feed 2", "axis 3,0,0 0,0,1", "feed 3",
                                   "axis 4,0,0 0,0,1", "feed 5", "axis 4,0,5 0,0,1", "feed 8"})));
}

TEST_F(TextRoad, ALaterRowStartingWithALinkingPointIsPlungedIntoThenLinked) {
  auto path = FiveAxisRowsPath({{0, 0}, {1, 0}});
  TextRoadState state;
  EXPECT_THAT(
      FiveAxisBlocks(*path, state),
      ElementsAreArray(Joined(
          kStartAtOrigin, {"axis 1,0,0 0,0,1", "feed 5", "axis 2,0,0 0,0,1", "feed 3",
                           "axis 1,0,0 0,0,1", "axis 1,0,5 0,0,1", "feed 8", "axis 1,0,30 0,0,1",
                           "feed 9", "axis 3,0,30 0,0,1", "feed 1", "axis 3,0,5 0,0,1", "feed 2",
                           "axis 3,0,0 0,0,1", "feed 3", "axis 3,0,5 0,0,1", "feed 8"})));
}

TEST_F(TextRoad, PointsThatAreNoPathPointsAreSkippedWhenARowStarts) {
  auto path = FiveAxisRowsPath({{0, 0}, {255, 1, 0}});
  TextRoadState state;
  EXPECT_THAT(FiveAxisBlocks(*path, state),
              ElementsAreArray(Joined(
                  kStartAtOrigin,
                  {"axis 1,0,0 0,0,1", "feed 5", "axis 1,0,5 0,0,1", "feed 8", "axis 1,0,30 0,0,1",
                   "feed 9", "axis 4,0,30 0,0,1", "feed 1", "axis 4,0,5 0,0,1", "feed 2",
                   "axis 4,0,0 0,0,1", "feed 3", "axis 4,0,5 0,0,1", "feed 8"})));
}

// The blocks of a five-axis path of one row along X that cuts `runs`, worked
// out from the runs alone: down from the safe height onto the first run's
// start, every further point of each run cut, a link at the link height
// between runs, and the retract from the last run's end.
std::vector<std::string> StretchBlocks(const std::vector<std::pair<int, int>>& runs) {
  auto at = [](int x, int z) {
    return "axis " + std::to_string(x) + ",0," + std::to_string(z) + " 0,0,1";
  };
  std::vector<std::string> lines;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const auto [first, last] = runs[r];
    if (r == 0) {
      lines.insert(lines.end(), {at(first, 80), "feed 2", at(first, 5)});
    } else {
      const int before = runs[r - 1].second;
      lines.insert(lines.end(), {at(before, 5), "feed 8", at(before, 30), "feed 9", at(first, 30),
                                 "feed 1", at(first, 5), "feed 2"});
    }
    lines.insert(lines.end(), {at(first, 0), "feed 3"});
    for (int k = first + 1; k <= last; ++k) {
      lines.push_back(at(k, 0));
      if (k == first + 1)
        lines.push_back("feed 5");
    }
  }
  lines.insert(lines.end(), {at(runs.back().second, 5), "feed 8"});
  return lines;
}

TEST_F(TextRoad, LongRowsTheHostSplitsAreCutAndLinkedAsWholeRows) {
  for (const auto& row : zuhost::testing::LongRows()) {
    auto path = FiveAxisRowsPath({zuhost::testing::FlagsOf(row)});
    TextRoadState state;
    EXPECT_EQ(
        zuhost::testing::FirstDifference(FiveAxisBlocks(*path, state), StretchBlocks(row.runs)), "")
        << row.what;
  }
}

TEST_F(TextRoad, RowsPassOverLeadingSkippedPointsAndPlungeOntoAnInnerFirstPoint) {
  // Rows of points 0-3, 4-7 and 8-11. The path starts on its first path
  // point, 2; row two's stretch goes on after its skipped points 4 and 5;
  // row three starts inside a stretch, with a plunge.
  auto path = FiveAxisRowsPath({{255, 255, 0, 1}, {255, 255, 1, 1}, {1, 0, 1, 0}});
  TextRoadState state;
  EXPECT_THAT(FiveAxisBlocks(*path, state),
              ElementsAre("axis 2,0,80 0,0,1", "feed 2", "axis 2,0,5 0,0,1", "axis 2,0,0 0,0,1",
                          "feed 3", "axis 3,0,0 0,0,1", "feed 5", "axis 6,0,0 0,0,1",
                          "axis 7,0,0 0,0,1", "axis 8,0,0 0,0,1", "feed 3", "axis 9,0,0 0,0,1",
                          "feed 5", "axis 9,0,5 0,0,1", "feed 8", "axis 9,0,30 0,0,1", "feed 9",
                          "axis 11,0,30 0,0,1", "feed 1", "axis 11,0,5 0,0,1", "feed 2",
                          "axis 11,0,0 0,0,1", "feed 3", "axis 11,0,5 0,0,1", "feed 8"));
}

TEST_F(TextRoad, FiveAxisPointsAxesAndHomeAreInTheTurnedWorkSystem) {
  // Worked out by hand: point i is (-10, -i, -5) in the work system, every
  // axis (0, -0.6, 0.8); raised to a height z along it from height h, a
  // point moves by (z - h) * (0, -0.6, 0.8).
  auto path = zuhost::testing::TurnedFiveAxisRowsPath({{0, 1, 0}, {0, 1, 0}});
  TextRoadState state;
  RecordLog log;
  WriteFiveAxisPath(log, *path, state);
  EXPECT_THAT(log.lines, ::testing::Contains("home -10,-3,80"));
  auto at = [](const char* point) { return std::string("axis ") + point + " 0,-0.6,0.8"; };
  EXPECT_THAT(log.Blocks(),
              ElementsAre(at("-10,-51.6,63.8"), "feed 2", at("-10,-3,-1"), at("-10,0,-5"), "feed 3",
                          at("-10,-1,-5"), "feed 5", at("-10,-2,-5"), at("-10,-5,-1"), "feed 8",
                          at("-10,-23.6,23.8"), "feed 9", at("-10,-24.6,23.8"), "feed 1",
                          at("-10,-6,-1"), "feed 2", at("-10,-3,-5"), "feed 3", at("-10,-4,-5"),
                          "feed 5", at("-10,-5,-5"), at("-10,-8,-1"), "feed 8"));
}

TEST_F(TextRoad, AFiveAxisPathWithoutPointsStillEndsItsRecord) {
  auto path = FiveAxisRowsPath({{}, {}});
  TextRoadState state;
  RecordLog log;
  WriteFiveAxisPath(log, *path, state);
  EXPECT_THAT(log.lines, ElementsAre("path five 0", "end"));
  auto none = FiveAxisRowsPath({});
  RecordLog none_log;
  WriteFiveAxisPath(none_log, *none, state);
  EXPECT_THAT(none_log.lines, ElementsAre("path five 1", "end"));
}

// The session's pick of `paths`, in order.
PickNode* Pick(std::vector<PickNode>& nodes, const std::vector<OrvoPath*>& paths) {
  nodes.assign(paths.size(), PickNode{});
  for (std::size_t i = 0; i < paths.size(); ++i) {
    nodes[i].kind = paths[i]->MultiAxisKind == kFiveAxis ? kPickKindFiveAxisPath : kPickKindPath;
    nodes[i].object = paths[i];
    nodes[i].next = i + 1 < paths.size() ? &nodes[i + 1] : nullptr;
  }
  return nodes.empty() ? nullptr : &nodes[0];
}

TEST_F(TextRoad, EveryPickedObjectHasAToolLineAndPathsTheirRecords) {
  auto mill = MillPath(7, {LineMove({0, 0, 0}, {1, 0, 0})});
  mill->Tool.name = "D10,R5";
  auto neither = MillPath(7, {LineMove({0, 0, 0}, {1, 0, 0})});
  neither->MultiAxisKind = 7;
  neither->name = "neither";
  auto five = FiveAxisRowsPath({{0, 0}});
  std::vector<PickNode> nodes;
  RecordLog log;
  options_.code_file = "C:\\t\\NC0001.cut";
  options_.mcf_path = "C:\\Mcf\\F.mcf";
  WriteToolLocationRecords(Pick(nodes, {mill.get(), neither.get(), five.get()}), options_, log);
  const std::vector<std::string> head(log.lines.begin(), log.lines.begin() + 9);
  EXPECT_THAT(head, ElementsAre("head 3 3", "tools", "tool 0 D10 R5", "tool 1 ", "tool 2 ", "end",
                                "machine C:\\Mcf\\F.mcf", "code C:\\t\\NC0001.cut", "jig 0 0,0,0"));
  EXPECT_THAT(log.lines, ::testing::Contains("path mill 0"));
  EXPECT_THAT(log.lines, ::testing::Contains("path five 1"));  // the next record's index
  EXPECT_THAT(log.lines, ::testing::Not(::testing::Contains("path neither 1")));
  EXPECT_EQ(log.lines.back(), "tail");
}

TEST_F(TextRoad, AFileDoesNotDependOnTheFileBeforeIt) {
  auto five = FiveAxisRowsPath({{0, 1, 1, 0}});
  auto mill = MillPath(7, {LineMove({0, 0, 0}, {1, 0, 0})});
  std::vector<PickNode> nodes;
  PickNode* first = Pick(nodes, {five.get(), mill.get()});
  RecordLog one, two;
  WriteToolLocationRecords(first, options_, one);
  WriteToolLocationRecords(first, options_, two);
  EXPECT_EQ(one.lines, two.lines);
  EXPECT_THAT(one.Blocks(), ::testing::Contains("feed 2"));  // the first code of each file
}

TEST_F(TextRoad, ThePromptShowsTheFirstEveryThousandthAndTheLastMove) {
  std::vector<tool_block*> moves;
  for (int i = 0; i < 2500; ++i)
    moves.push_back(LineMove({0, 0, 0}, {1, 0, 0}));
  auto path = MillPath(7, moves);
  const std::size_t before = session().events().size();
  MillBlocks(*path);
  const std::vector<std::string> shown(session().events().begin() + before,
                                       session().events().end());
  EXPECT_THAT(shown,
              ElementsAre("prompt \"生成刀位文件 1/1\"", "prompt \"生成刀位文件 1000/1\"",
                          "prompt \"生成刀位文件 2000/1\"", "prompt \"生成刀位文件 2500/1\""));
}

}  // namespace
}  // namespace zu
