// Both optimisers with the host's real fitter: the moves that replace a run
// are cutting lines and arcs of the host's path model, joined end to end,
// and the independent checker finds them within the tolerance of the run
// they replace; what lies around the run is left as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "conditioning/path_optimization.h"
#include "hostapp/testing/test_paths.h"
#include "host/math.h"
#include "host/row_ops.h"
#include "pathfit/testing/fit_checker.h"
#include "pathfit/testing/move_elements.h"

namespace zu {
namespace {

using zuhost::testing::LineMove;
using zuhost::testing::MillRowsPath;

constexpr double kPi = 3.14159265358979323846;
constexpr int kRapid = 9;
constexpr int kSelectorLineRuns = 0;  // Optimizepath2d through PathOptRun
constexpr int kSelectorObject = 1;    // OptimizePathBySegments through CPathOptimize

struct Row {
  std::vector<XYZ> run;  // the run's first start and every end
  std::unique_ptr<OrvoPath> path;
};

// rapid in, compensation start, the cuts through `points`, compensation
// end, rapid out: one row of a two-axis path.
Row PathThrough(const std::vector<XYZ>& points) {
  std::vector<tool_block*> moves;
  const XYZ above{-5, -5, 50};
  const XYZ aside{-5, -5, points.front().z};
  moves.push_back(LineMove(above, aside, kRapid));
  moves.push_back(LineMove(aside, points.front(), 2, kCompensationStart));
  for (std::size_t i = 1; i < points.size(); ++i)
    moves.push_back(LineMove(points[i - 1], points[i]));
  moves.push_back(LineMove(points.back(), aside, 5, kCompensationEnd));
  moves.push_back(LineMove(aside, above, kRapid));
  return {points, MillRowsPath(7, {moves})};
}

// A circle of radius 20 about (50, 50) in XY, then a straight stretch and a
// quarter circle in XZ: every 0.1 mm.
std::vector<XYZ> SampledRun() {
  std::vector<XYZ> points;
  for (int i = 0; i <= 1256; ++i) {
    const double a = 2 * kPi * i / 1256;
    points.push_back({50 + 20 * std::cos(a), 50 + 20 * std::sin(a), -2});
  }
  for (int i = 1; i <= 100; ++i)
    points.push_back({70 + 0.1 * i, 50, -2});
  for (int i = 1; i <= 157; ++i) {
    const double a = kPi / 2 * i / 157;
    points.push_back({80 + 10 * std::sin(a), 50, -12 + 10 * std::cos(a)});
  }
  return points;
}

std::string Segment(const tool_block& move) {
  int segment = 2;
  SegAttrsToKind(move.a, move.b, move.c, segment);
  return std::to_string(segment) + "/" + std::to_string(move.c);
}

TEST(OptimisersWithTheHostFitter, ReplaceARunByFewerLinesAndArcsWithinTheTolerance) {
  const double tolerance = 0.005;
  pathfit::FitLimits limits;
  limits.tolerance = tolerance;
  std::size_t counts[2] = {};
  for (const int selector : {kSelectorLineRuns, kSelectorObject}) {
    SCOPED_TRACE(selector);
    Row row = PathThrough(SampledRun());
    OptimizeWorkingCopy(row.path, tolerance, selector);

    std::vector<const tool_block*> moves;
    for (const tool_block* move = row.path->rows->first; move; move = move->next)
      moves.push_back(move);
    ASSERT_GE(moves.size(), 5u);
    // Around the run: the moves as they were.
    EXPECT_EQ(Segment(*moves[0]), "9/7");
    EXPECT_EQ(Segment(*moves[1]), "2/" + std::to_string(kCompensationStart));
    EXPECT_EQ(Segment(*moves[moves.size() - 2]), "5/" + std::to_string(kCompensationEnd));
    EXPECT_EQ(Segment(*moves.back()), "9/7");

    std::vector<pathfit::FitElement> elements;
    int arcs = 0;
    for (std::size_t i = 2; i + 2 < moves.size(); ++i) {
      const tool_block& move = *moves[i];
      // Cutting moves; the object's arcs are made with attribute c preset
      // to 1, everything else with 7.
      const bool c_one = move.kind == kMoveArc && selector == kSelectorObject;
      EXPECT_EQ(Segment(move), c_one ? "4/1" : "4/7");
      ASSERT_NE(move.geometry, nullptr);
      arcs += move.kind == kMoveArc;
      elements.push_back(pathfit::ElementOfMove(move));
    }
    // The joins, exactly: the compensation move's end, each move's end the
    // next one's start, the last end the compensation end move's start.
    XYZ start;
    XYZ end;
    HostGetHomePoint(moves[1], start, end);
    EXPECT_EQ(elements.front().start, end);
    for (std::size_t i = 1; i < elements.size(); ++i)
      EXPECT_EQ(elements[i].start, elements[i - 1].end) << i;
    HostGetHomePoint(moves[moves.size() - 2], start, end);
    EXPECT_EQ(elements.back().end, start);

    const auto report = pathfit::check::CheckFit(row.run, elements, limits);
    EXPECT_TRUE(report.ok()) << report.first_problem;
    // Two half circles (no arc sweeps a whole turn), a line, a quarter
    // circle in ZX: a handful of moves for 1513 cuts.
    EXPECT_GE(arcs, 3);
    EXPECT_LE(elements.size(), 8u);
    counts[selector] = elements.size();
  }
  // One fitter behind both roads.
  EXPECT_EQ(counts[0], counts[1]);
}

TEST(OptimisersWithTheHostFitter, ARunTheFitterCannotStandForIsKept) {
  // Every point within the minimum section line of the first: no element.
  const std::vector<XYZ> points = {{1, 1, 0}, {1, 1, 0}, {1, 1 + 1e-9, 0}, {1, 1, 0}};
  for (const int selector : {kSelectorLineRuns, kSelectorObject}) {
    SCOPED_TRACE(selector);
    Row row = PathThrough(points);
    OptimizeWorkingCopy(row.path, 0.005, selector);
    int count = 0;
    for (const tool_block* move = row.path->rows->first; move; move = move->next)
      ++count;
    EXPECT_EQ(count, 4 + 3);
  }
}

}  // namespace
}  // namespace zu
