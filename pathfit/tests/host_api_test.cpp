// The host's entry points to the fitter: PathOptRun hangs moves that follow
// the host's line and arc conventions after a holder, NcRowOf gives the move
// an element stands for, and CPathOptimize takes points one by one (as the
// plug-in hands them, each move's start and end) and delivers the elements.
// The moves and elements are read back into chains for the checker.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "host/path_optimizer.h"
#include "host/row_ops.h"
#include "pathfit/fit.h"
#include "pathfit/testing/fit_checker.h"
#include "pathfit/testing/fit_shapes.h"

namespace zu::pathfit {
namespace {

constexpr double kPi = 3.14159265358979323846;

XYZ Minus(const XYZ& a, const XYZ& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double Dot(const XYZ& a, const XYZ& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
XYZ Cross(const XYZ& a, const XYZ& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Length(const XYZ& a) {
  return std::sqrt(Dot(a, a));
}

// Half a circle of radius 5 in ZX, then a straight run and a quarter turn
// in XY at another height: lines and arcs in two planes.
std::vector<XYZ> TwoPlaneRun() {
  shapes::ArcShape arc;
  arc.centre = {0, 0, 0};
  arc.radius = 5;
  arc.sweep = kPi;
  arc.axis = 1;
  std::vector<XYZ> points = shapes::SampleArc(arc, {shapes::Sampling::Mode::kStep, 0.05});
  const XYZ last = points.back();
  for (int k = 1; k <= 20; ++k)
    points.push_back({last.x, last.y + 0.5 * k, last.z});
  shapes::ArcShape turn;
  turn.centre = {points.back().x + 3, points.back().y, points.back().z};
  turn.radius = 3;
  turn.start = kPi;
  turn.sweep = -kPi / 2;
  const std::vector<XYZ> more = shapes::SampleArc(turn, {shapes::Sampling::Mode::kStep, 0.05});
  points.insert(points.end(), more.begin() + 1, more.end());
  return points;
}

// The host's defaults, set again when a test that changed them ends.
struct DefaultLimits {
  DefaultLimits() { Set(); }
  ~DefaultLimits() { Set(); }
  static void Set() {
    PathOptSetMaxArcRadius(9999);
    PathOptSetMinArcRadius(0.01);
    PathOptSetMinSectionLine(1e-7);
  }
};

// A move read back as an element, checking the host's arc conventions on
// the way: axis points 10 from the centre, a quarter turn apart about the
// normal, the start at the radius, the end where the sweep takes it.
FitElement ElementOf(const tool_block& move) {
  FitElement e;
  if (move.kind != kMoveArc) {
    EXPECT_EQ(move.kind, kMoveLine);
    e.start = move.line()[0].point;
    e.end = move.line()[1].point;
    return e;
  }
  const nc_arc& arc = *move.arc();
  EXPECT_EQ(move.host_byte_a1, 245);
  const XYZ x = Minus(arc.second, arc.centre);
  const XYZ y = Minus(arc.third, arc.centre);
  EXPECT_NEAR(Length(x), 10, 1e-9);
  EXPECT_NEAR(Length(y), 10, 1e-9);
  EXPECT_NEAR(Dot(x, y), 0, 1e-9);
  EXPECT_GT(arc.sweep, 0);
  // The normal as the plug-in takes it: (second - centre) x (third - centre),
  // turned over for a negative sweep.
  const XYZ n = Cross(x, y);
  EXPECT_NEAR(Length(n), 100, 1e-7);
  e.kind = FitElement::Kind::Arc;
  e.centre = arc.centre;
  e.normal = {std::round(n.x / 100), std::round(n.y / 100), std::round(n.z / 100)};
  EXPECT_NEAR(Length(Minus(n, {100 * e.normal.x, 100 * e.normal.y, 100 * e.normal.z})), 0, 1e-7);
  e.start = arc.fourth;
  e.end = arc.end;
  e.radius = arc.radius;
  e.sweep = arc.sweep;
  EXPECT_NEAR(Length(Minus(arc.fourth, arc.centre)), arc.radius, 1e-9);
  // Along x towards the start: the start lies on the positive x axis.
  EXPECT_NEAR(Dot(Minus(arc.fourth, arc.centre), x) / 10, arc.radius, 1e-9);
  const double c = std::cos(arc.sweep), s = std::sin(arc.sweep);
  const XYZ end = {arc.centre.x + arc.radius * (c * x.x + s * y.x) / 10,
                   arc.centre.y + arc.radius * (c * x.y + s * y.y) / 10,
                   arc.centre.z + arc.radius * (c * x.z + s * y.z) / 10};
  EXPECT_NEAR(Length(Minus(end, arc.end)), 0, 1e-9);
  return e;
}

TEST(PathOptRun, HangsMovesThatPassTheCheckerAfterTheHolder) {
  DefaultLimits defaults;
  const std::vector<XYZ> points = TwoPlaneRun();
  tool_block holder;
  tool_block* after = NcNewRow();  // what followed the holder stays after the new moves
  holder.next = after;
  ASSERT_EQ(PathOptRun(points.data(), static_cast<int>(points.size()), 0.005, &holder), 0);

  std::vector<FitElement> chain;
  std::size_t arcs_xy = 0, arcs_zx = 0;
  tool_block* move = holder.next;
  for (; move && move != after; move = move->next) {
    ASSERT_EQ(NcRowOf(move), move);
    chain.push_back(ElementOf(*NcRowOf(move)));
    if (chain.back().kind == FitElement::Kind::Arc) {
      arcs_xy += chain.back().normal.z != 0;
      arcs_zx += chain.back().normal.y != 0;
    }
  }
  EXPECT_EQ(move, after);
  EXPECT_EQ(arcs_zx, 1u);
  EXPECT_EQ(arcs_xy, 1u);
  FitLimits limits;
  limits.tolerance = 0.005;
  const check::CheckReport report = check::CheckFit(points, chain, limits);
  EXPECT_TRUE(report.ok()) << report.first_problem;
  // The same elements as the fitter gives.
  const FitResult direct = FitPolyline(points, limits);
  ASSERT_EQ(direct.elements.size(), chain.size());
  for (std::size_t k = 0; k < chain.size(); ++k) {
    EXPECT_EQ(chain[k].kind, direct.elements[k].kind);
    EXPECT_EQ(chain[k].start, direct.elements[k].start);
    EXPECT_EQ(chain[k].end, direct.elements[k].end);
  }
  EXPECT_EQ(NcRowOf(nullptr), nullptr);
  NcFreeRows(holder.next);
}

TEST(PathOptRun, ReadsTheHostLimits) {
  DefaultLimits defaults;
  const std::vector<XYZ> points = TwoPlaneRun();
  // The moves' count and their arcs' radii, the least and the largest.
  struct Fitted {
    std::size_t moves = 0, arcs = 0;
    double least = INFINITY, largest = 0;
  };
  const auto fit = [&points] {
    tool_block holder;
    EXPECT_EQ(PathOptRun(points.data(), static_cast<int>(points.size()), 0.005, &holder), 0);
    Fitted fitted;
    for (tool_block* move = holder.next; move; move = move->next) {
      ++fitted.moves;
      if (move->kind == kMoveArc) {
        ++fitted.arcs;
        fitted.least = std::min(fitted.least, move->arc()->radius);
        fitted.largest = std::max(fitted.largest, move->arc()->radius);
      }
    }
    NcFreeRows(holder.next);
    return fitted;
  };
  const Fitted free = fit();
  EXPECT_EQ(free.arcs, 2u);  // radius 5 in ZX, radius 3 in XY
  EXPECT_NEAR(free.least, 3, 0.01);
  EXPECT_NEAR(free.largest, 5, 0.01);
  // Below radius 4 only: the half circle of radius 5 takes many short
  // elements (arcs of radius 4 or less follow it for a while).
  PathOptSetMaxArcRadius(4);
  const Fitted small = fit();
  EXPECT_GT(small.moves, free.moves + 5);
  EXPECT_LE(small.largest, 4);
  // Between 4.5 and 9999: the quarter turn of radius 3 no longer one arc.
  DefaultLimits::Set();
  PathOptSetMinArcRadius(4.5);
  const Fitted large = fit();
  EXPECT_GT(large.moves, free.moves + 5);
  EXPECT_GE(large.least, 4.5);
  // A minimum section line of half the tolerance or more is refused.
  DefaultLimits::Set();
  PathOptSetMinSectionLine(0.0025);
  tool_block holder;
  EXPECT_EQ(PathOptRun(points.data(), static_cast<int>(points.size()), 0.005, &holder), 2);
  EXPECT_EQ(holder.next, nullptr);
}

TEST(PathOptRun, FailsWithNothingHung) {
  DefaultLimits defaults;
  const std::vector<XYZ> points = {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}};
  const std::vector<XYZ> one_place = {{3, 3, 3}, {3, 3, 3}};
  const std::vector<XYZ> not_a_number = {{0, 0, 0}, {NAN, 0, 0}};
  struct Case {
    const char* what;
    const XYZ* points;
    int count;
    double tolerance;
    bool holder;
    int code;
  };
  const Case cases[] = {
      {"no points", nullptr, 3, 0.01, true, 1},
      {"one point", points.data(), 1, 0.01, true, 1},
      {"negative count", points.data(), -4, 0.01, true, 1},
      {"no holder", points.data(), 3, 0.01, false, 1},
      {"zero tolerance", points.data(), 3, 0, true, 2},
      {"not a number", not_a_number.data(), 2, 0.01, true, 2},
      {"all in one place", one_place.data(), 2, 0.01, true, 3},
  };
  for (const Case& c : cases) {
    tool_block holder;
    tool_block* after = NcNewRow();
    holder.next = after;
    EXPECT_EQ(PathOptRun(c.points, c.count, c.tolerance, c.holder ? &holder : nullptr), c.code)
        << c.what;
    EXPECT_EQ(holder.next, after) << c.what;
    NcFreeRows(holder.next);
  }
}

// The plug-in calls the operations by their place in the table; this calls
// each one, in that order, through the base class.
TEST(CPathOptimize, DeliversTheElementsOfTheMovesItWasGiven) {
  DefaultLimits defaults;
  const std::vector<XYZ> points = TwoPlaneRun();
  CPathOptimize* optimizer = CPathOptimize::CreateObject();
  ASSERT_NE(optimizer, nullptr);
  // Each move's start and end: 2k points for k moves, repeats included.
  const int moves = static_cast<int>(points.size()) - 1;
  optimizer->Prepare(2 * moves, 0);
  for (int k = 0; k < moves; ++k) {
    const XYZ& a = points[static_cast<std::size_t>(k)];
    const XYZ& b = points[static_cast<std::size_t>(k) + 1];
    optimizer->SetPoint(2 * k, a.x, a.y, a.z);
    optimizer->SetPoint(2 * k + 1, b.x, b.y, b.z);
  }
  optimizer->SetPoint(-1, 9, 9, 9);  // out of range: ignored
  optimizer->SetPoint(2 * moves, 9, 9, 9);
  EXPECT_EQ(optimizer->PointCount(), 2 * moves);
  optimizer->SetLimits(0.01, 9999, 1e-7);
  EXPECT_EQ(optimizer->ElementCount(), 0);
  const int count = optimizer->Run(0.005, 0.0, 1e-6);
  ASSERT_GT(count, 0);
  EXPECT_EQ(optimizer->ElementCount(), count);

  std::vector<FitElement> chain;
  XYZ start, end, centre, normal;
  double radius = -1;
  int kind = -1;
  for (int k = 1; k <= count; ++k) {
    ASSERT_EQ(optimizer->NextElement(start, end, centre, normal, radius, kind), k);
    FitElement e;
    e.start = start;
    e.end = end;
    if (kind == 1) {
      e.kind = FitElement::Kind::Arc;
      e.centre = centre;
      e.normal = normal;
      e.radius = radius;
      // The sweep from the ends, counter-clockwise about the normal.
      const XYZ a = Minus(start, centre), b = Minus(end, centre);
      e.sweep = std::atan2(Dot(Cross(a, b), normal), Dot(a, b));
      if (e.sweep <= 0)
        e.sweep += 2 * kPi;
    } else {
      EXPECT_EQ(kind, 0);
      EXPECT_EQ(centre, XYZ{});
      EXPECT_EQ(normal, XYZ{});
      EXPECT_EQ(radius, 0);
    }
    chain.push_back(e);
  }
  EXPECT_EQ(optimizer->NextElement(start, end, centre, normal, radius, kind), 0);
  FitLimits limits;
  limits.tolerance = 0.005;
  const check::CheckReport report = check::CheckFit(points, chain, limits);
  EXPECT_TRUE(report.ok()) << report.first_problem;
  EXPECT_EQ(static_cast<std::size_t>(count), FitPolyline(points, limits).elements.size());

  // Its own limits: no arc below radius 10.
  optimizer->SetLimits(10, 9999, 1e-7);
  const int more = optimizer->Run(0.005, 0.0, 1e-6);
  ASSERT_GT(more, count);
  for (int k = 0; k < more; ++k) {
    optimizer->NextElement(start, end, centre, normal, radius, kind);
    if (kind == 1) {
      EXPECT_GE(radius, 10);
    }
  }
  // Run again: reading starts over.
  optimizer->Run(0.005, 0.0, 1e-6);
  EXPECT_EQ(optimizer->NextElement(start, end, centre, normal, radius, kind), 1);
  EXPECT_EQ(start, points.front());
  CPathOptimize::FreeObject(optimizer);
}

TEST(CPathOptimize, FailsOnRunsItCannotFit) {
  DefaultLimits defaults;
  CPathOptimize* optimizer = CPathOptimize::CreateObject();
  XYZ start, end, centre, normal;
  double radius;
  int kind;
  optimizer->Prepare(3, 0);
  optimizer->SetPoint(0, 0, 0, 0);
  optimizer->SetPoint(2, 1, 0, 0);
  EXPECT_EQ(optimizer->Run(0.01, 0, 1e-6), 0);  // point 1 never set
  EXPECT_EQ(optimizer->NextElement(start, end, centre, normal, radius, kind), 0);
  optimizer->SetPoint(1, 0.5, 0, 0);
  EXPECT_EQ(optimizer->Run(0.01, 0, 1e-6), 1);
  EXPECT_EQ(optimizer->Run(-1, 0, 1e-6), 0);  // no tolerance
  EXPECT_EQ(optimizer->ElementCount(), 0);
  optimizer->Prepare(2, 0);  // everything forgotten
  EXPECT_EQ(optimizer->Run(0.01, 0, 1e-6), 0);
  optimizer->SetPoint(0, 2, 2, 2);
  optimizer->SetPoint(1, 2, 2, 2 + 5e-7);  // within epsilon
  EXPECT_EQ(optimizer->Run(0.01, 0, 1e-6), 0);
  EXPECT_EQ(optimizer->Run(0.01, 0, 1e-7), 1);
  optimizer->Prepare(-5, 0);
  EXPECT_EQ(optimizer->PointCount(), 0);
  EXPECT_EQ(optimizer->Run(0.01, 0, 1e-6), 0);
  delete optimizer;  // the virtual destructor frees it as FreeObject does
}

}  // namespace
}  // namespace zu::pathfit
