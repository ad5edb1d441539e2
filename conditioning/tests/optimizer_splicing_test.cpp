// The optimisation step's side of the work, watched through an optimiser
// object that records what it is handed and delivers scripted elements:
// which runs are found, what each optimiser is given, how the new moves are
// made and spliced in, and when a run is kept as it is.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "conditioning/fitted_moves.h"
#include "conditioning/path_optimization.h"
#include "conditioning/straight_runs.h"
#include "framework/testing/test_folder.h"
#include "host/math.h"
#include "host/path_optimizer.h"
#include "host/row_ops.h"
#include "hostapp/testing/test_paths.h"

namespace zu {
namespace {

using ::testing::ElementsAre;
using zuhost::testing::LineMove;

constexpr int kRapid = 9;
constexpr double kFullTurn = 6.283185307179586;
constexpr double kPi = 3.14159265358979323846;

// A two-axis path of one row through `moves`.
std::unique_ptr<OrvoPath> PathOf(std::vector<tool_block*> moves) {
  auto path = std::make_unique<OrvoPath2d>();
  path->rows = new tool_row;
  tool_block** tail = &path->rows->first;
  for (tool_block* move : moves) {
    *tail = move;
    tail = &move->next;
  }
  path->UpdatePath();
  return path;
}

// The row's moves, each as "kind segment c x,y,z" (the end point).
std::vector<std::string> Moves(const OrvoPath& path) {
  std::vector<std::string> lines;
  for (const tool_block* move = path.rows->first; move; move = move->next) {
    XYZ start;
    XYZ end;
    HostGetHomePoint(move, start, end);
    int segment = 2;
    SegAttrsToKind(move->a, move->b, move->c, segment);
    std::ostringstream text;
    text << (move->kind == kMoveArc ? "arc" : "line") << ' ' << segment << ' ' << move->c << ' '
         << end.x << ',' << end.y << ',' << end.z;
    lines.push_back(text.str());
  }
  return lines;
}

// An optimiser object that keeps what it is handed and delivers the
// elements it was given, in order, after each Run.
class ScriptedOptimizer final : public CPathOptimize {
 public:
  struct Element {
    XYZ start;
    XYZ end;
    XYZ centre;
    VECTOR normal;
    int kind = 0;
  };
  std::vector<Element> script;
  std::vector<std::vector<XYZ>> runs;  // the points of every run, as set

  void Prepare(int point_count, int) override { runs.emplace_back(point_count); }
  void SetPoint(int index, double x, double y, double z) override {
    runs.back().at(static_cast<std::size_t>(index)) = {x, y, z};
  }
  int PointCount() const override { return static_cast<int>(runs.back().size()); }
  void SetLimits(double, double, double) override {}
  int ElementCount() const override { return static_cast<int>(script.size()); }
  int Run(double tolerance, double reserved, double epsilon) override {
    EXPECT_EQ(reserved, 0.0);
    EXPECT_EQ(epsilon, 1e-6);
    tolerance_ = tolerance;
    next_ = 0;
    return static_cast<int>(script.size());
  }
  int NextElement(XYZ& start, XYZ& end, XYZ& centre, XYZ& normal, double& radius,
                  int& kind) override {
    if (next_ >= script.size())
      return 0;
    const Element& e = script[next_++];
    start = e.start;
    end = e.end;
    centre = e.centre;
    normal = e.normal;
    radius = PointDistance(e.start, e.centre);
    kind = e.kind;
    return static_cast<int>(next_);
  }
  double tolerance_ = 0;

 private:
  std::size_t next_ = 0;
};

TEST(StraightRuns, OnlyRunsOfTwoOrMoreCuttingLinesReachAnOptimiser) {
  ScriptedOptimizer optimizer;
  // A rapid, two cuts, a rapid: the run's four points.
  auto path = PathOf({LineMove({0, 0, 9}, {0, 0, 0}, kRapid), LineMove({0, 0, 0}, {1, 0, 0}),
                      LineMove({1, 0, 0}, {2, 0, 0}), LineMove({2, 0, 0}, {2, 0, 9}, kRapid)});
  optimizer.script = {{{0, 0, 0}, {2, 0, 0}, {}, {}, 0}};
  EXPECT_EQ(OptimizePathBySegments(path, 0.005, optimizer), 1);
  ASSERT_EQ(optimizer.runs.size(), 1u);
  EXPECT_THAT(optimizer.runs[0],
              ElementsAre(XYZ{0, 0, 0}, XYZ{1, 0, 0}, XYZ{1, 0, 0}, XYZ{2, 0, 0}));
  EXPECT_EQ(optimizer.tolerance_, 0.005);
  EXPECT_THAT(Moves(*path), ElementsAre("line 9 7 0,0,0", "line 4 7 2,0,0", "line 9 7 2,0,9"));

  // A single cut between rapids, arcs, other feeds and compensation marks
  // are never handed over.
  ScriptedOptimizer untouched;
  auto arc_between = PathOf(
      {LineMove({0, 0, 9}, {0, 0, 0}, kRapid), LineMove({0, 0, 0}, {1, 0, 0}),
       MakeArcRow({1, 0, 0}, {3, 0, 0}, {2, 0, 0}, {0, 0, 1}), LineMove({3, 0, 0}, {4, 0, 0}),
       LineMove({4, 0, 0}, {5, 0, 0}, 3), LineMove({5, 0, 0}, {6, 0, 0}, 4, kCompensationStart),
       LineMove({6, 0, 0}, {7, 0, 0}), LineMove({7, 0, 0}, {8, 0, 0}, 4, kCompensationEnd),
       LineMove({8, 0, 0}, {8, 0, 9}, kRapid)});
  const auto before = Moves(*arc_between);
  EXPECT_EQ(OptimizePathBySegments(arc_between, 0.005, untouched), 0);
  EXPECT_TRUE(untouched.runs.empty());
  EXPECT_EQ(Moves(*arc_between), before);
}

// Each run becomes one line from its first start to its last end.
MoveChain OneLine(const tool_block* first, int count) {
  XYZ start;
  XYZ end;
  XYZ last_start;
  XYZ last_end;
  HostGetHomePoint(first, start, end);
  const tool_block* last = first;
  for (int i = 1; i < count; ++i)
    last = last->next;
  HostGetHomePoint(last, last_start, last_end);
  MoveChain chain;
  chain.Append(MakeLineRow(start, last_end));
  return chain;
}

TEST(StraightRuns, RunsAtTheRowsStartAndEndAreReplacedToo) {
  auto path = PathOf({LineMove({0, 0, 0}, {1, 0, 0}), LineMove({1, 0, 0}, {2, 0, 0}),
                      LineMove({2, 0, 0}, {2, 0, 9}, kRapid), LineMove({2, 0, 9}, {3, 0, 9}),
                      LineMove({3, 0, 9}, {4, 0, 9}), LineMove({4, 0, 9}, {5, 0, 9})});
  std::vector<int> found;
  const int replaced =
      ReplaceStraightRuns(*path->rows, [&](const tool_block* first, int count, int index) {
        found.push_back(index);
        found.push_back(count);
        return OneLine(first, count);
      });
  EXPECT_EQ(replaced, 2);
  // The second run is found at its index in the row as it then stands.
  EXPECT_THAT(found, ElementsAre(0, 2, 2, 3));
  EXPECT_THAT(Moves(*path), ElementsAre("line 4 7 2,0,0", "line 9 7 2,0,9", "line 4 7 5,0,9"));
}

TEST(StraightRuns, ARunIsKeptWhenTheFitGivesNothingWholeToPutInItsPlace) {
  const auto make = [] {
    return PathOf({LineMove({0, 0, 9}, {0, 0, 0}, kRapid), LineMove({0, 0, 0}, {1, 1, 0}),
                   LineMove({1, 1, 0}, {2, 0, 0}), LineMove({2, 0, 0}, {2, 0, 9}, kRapid)});
  };
  const std::vector<std::vector<ScriptedOptimizer::Element>> scripts = {
      {},                                                 // no element
      {{{0, 0, 0}, {2, 0, 0}, {1, 0, 0}, {0, 0, 1}, 7}},  // a kind no one knows
      {{{0, 0, 0}, {2, 0, 0}, {0, 0, 0}, {0, 0, 1}, 1}},  // an arc about its own start
      {{{0, 0, 0}, {2, 0, 0}, {1, 0, 0}, {1, 0, 0}, 1}},  // a normal along the radius
      {{{0, 0, 0}, {1, 0, 0}, {}, {}, 0}},                // stops short of the end
      {{{0, 0, 0}, {1, 1, 0}, {}, {}, 0}, {{1.5, 1, 0}, {2, 0, 0}, {}, {}, 0}},  // a gap
  };
  for (std::size_t i = 0; i < scripts.size(); ++i) {
    SCOPED_TRACE(i);
    auto path = make();
    const auto before = Moves(*path);
    ScriptedOptimizer optimizer;
    optimizer.script = scripts[i];
    EXPECT_EQ(OptimizePathBySegments(path, 0.005, optimizer), 0);
    EXPECT_EQ(optimizer.runs.size(), 1u);
    EXPECT_EQ(Moves(*path), before);
  }
}

TEST(FittedMoves, LinesAndArcsCarryTheFieldsOfNewCuttingMoves) {
  ScriptedOptimizer optimizer;
  auto path = PathOf({LineMove({0, 0, 0}, {1, 0, 0}), LineMove({1, 0, 0}, {1, 1, 0}),
                      LineMove({1, 1, 0}, {0, 2, 0})});
  // A line, a half circle about (1, 0.5, 0) and a line back to the run's end.
  optimizer.script = {{{0, 0, 0}, {1, 0, 0}, {}, {}, 0},
                      {{1, 0, 0}, {1, 1, 0}, {1, 0.5, 0}, {0, 0, 1}, 1},
                      {{1, 1, 0}, {0, 2, 0}, {}, {}, 0}};
  ASSERT_EQ(OptimizePathBySegments(path, 0.005, optimizer), 1);
  const tool_block* line = path->rows->first;
  const tool_block* arc = line->next;
  ASSERT_NE(arc, nullptr);
  EXPECT_EQ(line->kind, kMoveLine);
  EXPECT_EQ(line->a, 4);
  EXPECT_EQ(line->b, 0);
  EXPECT_EQ(line->c, 7);
  EXPECT_EQ(line->host_byte_a1, 5);
  EXPECT_EQ(line->host_byte_a2, 1);
  EXPECT_EQ(line->host_byte_b, 5);
  EXPECT_EQ(line->host_int1, 0);
  EXPECT_EQ(line->host_int2, 1);
  EXPECT_EQ(line->line()[0].set, 1);
  EXPECT_EQ(line->line()[1].set, 1);
  EXPECT_EQ(arc->kind, kMoveArc);
  EXPECT_EQ(arc->a, 4);
  EXPECT_EQ(arc->c, 1);
  EXPECT_EQ(arc->host_byte_a1, 245);
  EXPECT_EQ(arc->host_int1, 0);
  EXPECT_NEAR(arc->arc()->radius, 0.5, 1e-12);
  EXPECT_NEAR(arc->arc()->sweep, kPi, 1e-12);
}

// The arc's axis points: 10 from the centre towards the start, and 10 from
// the centre a quarter turn on about the normal; the sweep is the
// counter-clockwise angle about the normal.
TEST(FittedMoves, MakeArcRowBuildsTheArcsFrameAndSweepAboutItsNormal) {
  struct Case {
    XYZ start, end, centre;
    VECTOR normal;
    double sweep;
  } const cases[] = {
      {{5, 0, 0}, {0, 5, 0}, {0, 0, 0}, {0, 0, 1}, kPi / 2},
      {{5, 0, 0}, {0, 5, 0}, {0, 0, 0}, {0, 0, -1}, 3 * kPi / 2},
      {{5, 0, 0}, {-5, 0, 0}, {0, 0, 0}, {0, 0, 1}, kPi},
      {{1, 7, 3}, {1, 7, 3}, {1, 2, 3}, {1, 0, 0}, kFullTurn},    // full circle in YZ
      {{3, 2, 1}, {2, 2, 2}, {2, 2, 1}, {0, 1, 0}, 3 * kPi / 2},  // in ZX, about +Y
      {{3, 2, 1}, {2, 2, 2}, {2, 2, 1}, {0, -1, 0}, kPi / 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start.x << ',' << c.start.y << ',' << c.start.z);
    tool_block* move = MakeArcRow(c.start, c.end, c.centre, c.normal);
    ASSERT_NE(move, nullptr);
    const nc_arc& arc = *move->arc();
    EXPECT_NEAR(arc.sweep, c.sweep, 1e-12);
    EXPECT_EQ(arc.fourth, c.start);
    EXPECT_EQ(arc.end, c.end);
    EXPECT_EQ(arc.centre, c.centre);
    EXPECT_NEAR(arc.radius, PointDistance(c.start, c.centre), 1e-15);
    EXPECT_NEAR(PointDistance(arc.second, c.centre), 10, 1e-9);
    EXPECT_NEAR(PointDistance(arc.third, c.centre), 10, 1e-9);
    VECTOR toward_start;
    VECTOR toward_second;
    ASSERT_TRUE(UnitDirection(c.centre, c.start, toward_start));
    ASSERT_TRUE(UnitDirection(c.centre, arc.second, toward_second));
    EXPECT_NEAR(PointDistance(toward_start, toward_second), 0, 1e-9);
    VECTOR u;
    VECTOR v;
    MathSub(arc.second, arc.centre, u);
    MathSub(arc.third, arc.centre, v);
    VECTOR n;
    CrossProduct(u, v, n);
    EXPECT_NEAR(n.x, 100 * c.normal.x, 1e-7);
    EXPECT_NEAR(n.y, 100 * c.normal.y, 1e-7);
    EXPECT_NEAR(n.z, 100 * c.normal.z, 1e-7);
    // The end lies at the sweep from the start, counter-clockwise in the
    // (second, third) frame.
    const double r = arc.radius;
    const XYZ at{c.centre.x + r * (std::cos(arc.sweep) * u.x + std::sin(arc.sweep) * v.x) / 10,
                 c.centre.y + r * (std::cos(arc.sweep) * u.y + std::sin(arc.sweep) * v.y) / 10,
                 c.centre.z + r * (std::cos(arc.sweep) * u.z + std::sin(arc.sweep) * v.z) / 10};
    EXPECT_NEAR(PointDistance(at, c.end), 0, 1e-9);
    NcFreeRows(move);
  }
  EXPECT_EQ(MakeArcRow({1, 1, 1}, {2, 1, 1}, {1, 1, 1}, {0, 0, 1}), nullptr);
}

TEST(OptimizerTrace, TheLineRunOptimiserWritesItsTraceOnlyWhenAskedTo) {
  const TestFolder folder;
  const std::string log = folder.File("trace.log");
  const auto post = [] {
    auto path = PathOf({LineMove({0, 0, 9}, {0, 0, 0}, kRapid), LineMove({0, 0, 0}, {1, 0, 0}),
                        LineMove({1, 0, 0}, {2, 0, 0}), LineMove({2, 0, 0}, {2, 0, 9}, kRapid)});
    EXPECT_EQ(Optimizepath2d(path, 0.005), 1);
    EXPECT_THAT(Moves(*path), ElementsAre("line 9 7 0,0,0", "line 4 7 2,0,0", "line 9 7 2,0,9"));
  };
#ifdef _WIN32
  _putenv_s("ZU_TRACE", "");
#else
  unsetenv("ZU_TRACE");
#endif
  post();
  EXPECT_FALSE(std::ifstream(log).good());
#ifdef _WIN32
  _putenv_s("ZU_TRACE", log.c_str());
#else
  setenv("ZU_TRACE", log.c_str(), 1);
#endif
  post();
#ifdef _WIN32
  _putenv_s("ZU_TRACE", "");
#else
  unsetenv("ZU_TRACE");
#endif
  std::ifstream in(log, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text,
            "Optimizepath2d_kvt,started.\r\niNum=3,pStart:1\r\niIndex=0,pEnd->next:3\r\n"
            "\xD3\xC5\xBB\xAF\xB3\xC9\xB9\xA6\r\n");
}

}  // namespace
}  // namespace zu
