// The path model's copies, frees and row operations. Under the sanitizer
// build every test also proves that what it made is freed exactly once.
#include "host/path_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "host/math.h"
#include "host/path_geom_io.h"
#include "host/row_ops.h"
#include "hostapp/testing/test_paths.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// A straight move of segment kind `kind` (its attributes a and c; b stays
// 0).
tool_block* Line(const XYZ& from, const XYZ& to, int kind = 4) {
  int a = 0, b = 0, c = 7;
  SegKindToAttrs(kind, a, b, c);
  return zuhost::testing::LineMove(from, to, a, c);
}

tool_block* Arc(const XYZ& centre, double radius, double sweep) {
  tool_block* move = NcNewRow();
  move->kind = kMoveArc;
  nc_arc* arc = NcNewArcGeom();
  arc->centre = centre;
  arc->second = {centre.x + 10, centre.y, centre.z};
  arc->third = {centre.x, centre.y + 10, centre.z};
  arc->fourth = {centre.x + radius, centre.y, centre.z};
  arc->end = {centre.x + radius * std::cos(sweep), centre.y + radius * std::sin(sweep), centre.z};
  arc->radius = radius;
  arc->sweep = sweep;
  move->geometry = arc;
  return move;
}

// A milling path with one row: a line and an arc.
OrvoPath2d* MakeMillPath() {
  PathFactory* factory = nullptr;
  HostGetPathFactory(factory);
  OrvoPath2d* path = factory->CreatePath(7);
  path->name = "p";
  path->rows = new tool_row;
  path->rows->first = Line({0, 0, 0}, {10, 0, 0});
  path->rows->first->next = Arc({10, 5, 0}, 5, kPi / 2);
  auto para = std::make_unique<SubPara62>();
  para->side = 1;
  path->sub_para = std::move(para);
  path->geometry->curves = {{{0, 0, 0}, {10, 0, 0}}};
  path->UpdatePath();
  return path;
}

void ExpectNear(const XYZ& a, const XYZ& b, double tolerance = 1e-9) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

TEST(SegmentKinds, AttributesAndKindsInvertEachOther) {
  for (int kind = -128; kind <= 127; ++kind) {
    int a = 0, b = 0, c = 7;
    SegKindToAttrs(kind, a, b, c);
    EXPECT_EQ(c, 7) << kind;  // the caller's preset stays
    int back = 2;
    SegAttrsToKind(static_cast<std::int8_t>(a), static_cast<std::int8_t>(b), c, back);
    EXPECT_EQ(back, kind);
  }
  int kind = 2;
  SegAttrsToKind(4, 1, 7, kind);  // an encoding the host does not make
  EXPECT_EQ(kind, 2);
}

TEST(PathModel, FactoryMakesDrillingPathsReachableByCrossCast) {
  PathFactory* factory = nullptr;
  HostGetPathFactory(factory);
  std::unique_ptr<OrvoPath2d> drill(factory->CreatePath(67));
  auto* parameters = dynamic_cast<OrvoPath_DRILL*>(drill.get());
  ASSERT_NE(parameters, nullptr);
  EXPECT_EQ(drill->PathKind, 67);
  EXPECT_EQ(drill->GetSubPara(), &parameters->drill);
  ASSERT_NE(drill->geometry, nullptr);

  std::unique_ptr<OrvoPath2d> mill(factory->CreatePath(7));
  EXPECT_EQ(dynamic_cast<OrvoPath_DRILL*>(mill.get()), nullptr);
  EXPECT_EQ(mill->PathKind, 7);
  EXPECT_EQ(mill->GetSubPara(), nullptr);
  EXPECT_EQ(mill->rows, nullptr);
}

TEST(PathModel, DefaultWorkSystem) {
  const ncworkcoordinate wcs;
  EXPECT_STREQ(wcs.name, "");
  EXPECT_EQ(wcs.x_axis.x, 10);
  EXPECT_EQ(wcs.y_axis.y, 10);
  EXPECT_EQ(wcs.z_axis.z, 1);
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c)
      EXPECT_EQ(wcs.matrix.m[r][c], r == c ? 1.0 : 0.0);
  }
}

TEST(PathModel, ClonesAreDeepAndIndependent) {
  std::unique_ptr<OrvoPath> original(MakeMillPath());
  std::unique_ptr<OrvoPath> copy(original->ClonePath());
  ASSERT_NE(copy->rows, original->rows);
  ASSERT_NE(copy->rows->first, original->rows->first);
  EXPECT_NE(copy->rows->first->geometry, original->rows->first->geometry);
  EXPECT_NE(copy->GetSubPara(), original->GetSubPara());
  EXPECT_EQ(dynamic_cast<SubPara62*>(copy->GetSubPara())->side, 1);
  EXPECT_EQ(copy->MoveCount(), 2);
  copy->rows->first->line()[1].point.x = 99;
  dynamic_cast<SubPara62*>(copy->GetSubPara())->side = 0;
  copy->geometry->curves.clear();
  EXPECT_EQ(original->rows->first->line()[1].point.x, 10);
  EXPECT_EQ(dynamic_cast<SubPara62*>(original->GetSubPara())->side, 1);
  EXPECT_EQ(original->geometry->curves.size(), 1u);

  OrvoDrillPath drill;
  drill.drill.hole_depth = 12;
  drill.has_drill_record = false;
  std::unique_ptr<OrvoPath> drill_copy(drill.ClonePath());
  auto* drill_parameters = dynamic_cast<OrvoPath_DRILL*>(drill_copy.get());
  ASSERT_NE(drill_parameters, nullptr);
  EXPECT_EQ(drill_parameters->drill.hole_depth, 12);
  EXPECT_EQ(drill_copy->GetSubPara(), nullptr);
}

// Every field of two paths, rows and five-axis points included, is equal.
void ExpectSamePath(const OrvoPath& a, const OrvoPath& b) {
  EXPECT_STREQ(a.wcs.name, b.wcs.name);
  EXPECT_EQ(a.wcs.origin, b.wcs.origin);
  EXPECT_EQ(a.wcs.x_axis, b.wcs.x_axis);
  EXPECT_EQ(a.wcs.y_axis, b.wcs.y_axis);
  EXPECT_EQ(a.wcs.z_axis, b.wcs.z_axis);
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c)
      EXPECT_EQ(a.wcs.matrix.m[r][c], b.wcs.matrix.m[r][c]) << r << c;
  }
  EXPECT_EQ(a.MultiAxisKind, b.MultiAxisKind);
  EXPECT_EQ(a.PathKind, b.PathKind);
  EXPECT_EQ(a.PathClassCode, b.PathClassCode);
  EXPECT_EQ(a.Tool.int1, b.Tool.int1);
  EXPECT_EQ(a.Tool.int2, b.Tool.int2);
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(a.Tool.dims[i], b.Tool.dims[i]) << i;
  EXPECT_EQ(a.Tool.name, b.Tool.name);
  EXPECT_EQ(a.rows_extra, b.rows_extra);
  const double fa[] = {a.feed.spindle_speed, a.feed.feed_a,  a.feed.feed_b, a.feed.feed_c,
                       a.feed.feed_d,        a.feed.unused1, a.feed.unused2};
  const double fb[] = {b.feed.spindle_speed, b.feed.feed_a,  b.feed.feed_b, b.feed.feed_c,
                       b.feed.feed_d,        b.feed.unused1, b.feed.unused2};
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(fa[i], fb[i]) << "feed " << i;
  EXPECT_EQ(a.safe_height, b.safe_height);
  EXPECT_EQ(a.safe_height_mode, b.safe_height_mode);
  EXPECT_EQ(a.approach_height, b.approach_height);
  EXPECT_EQ(a.approach_height_mode, b.approach_height_mode);
  EXPECT_EQ(a.five_safe_height, b.five_safe_height);
  EXPECT_EQ(a.five_link_height, b.five_link_height);
  EXPECT_EQ(a.five_approach_distance, b.five_approach_distance);
  EXPECT_EQ(a.name, b.name);
  EXPECT_EQ(a.MoveCount(), b.MoveCount());
  ASSERT_EQ(a.geometry == nullptr, b.geometry == nullptr);
  if (a.geometry) {
    EXPECT_EQ(a.geometry->drill_points, b.geometry->drill_points);
    EXPECT_EQ(a.geometry->curves, b.geometry->curves);
  }
  const tool_row* ra = a.rows;
  const tool_row* rb = b.rows;
  for (; ra && rb; ra = ra->next, rb = rb->next) {
    const tool_block* ma = ra->first;
    const tool_block* mb = rb->first;
    for (; ma && mb; ma = ma->next, mb = mb->next) {
      EXPECT_EQ(ma->kind, mb->kind);
      EXPECT_EQ(ma->a, mb->a);
      EXPECT_EQ(ma->b, mb->b);
      EXPECT_EQ(ma->c, mb->c);
      EXPECT_EQ(ma->host_int1, mb->host_int1);
      EXPECT_EQ(ma->host_int2, mb->host_int2);
      EXPECT_EQ(ma->host_byte_a1, mb->host_byte_a1);
      EXPECT_EQ(ma->host_byte_a2, mb->host_byte_a2);
      EXPECT_EQ(ma->host_byte_b, mb->host_byte_b);
      XYZ sa, ea, sb, eb;
      HostGetHomePoint(ma, sa, ea);
      HostGetHomePoint(mb, sb, eb);
      EXPECT_EQ(sa, sb);
      EXPECT_EQ(ea, eb);
      if (ma->kind == kMoveArc) {
        EXPECT_EQ(ma->arc()->centre, mb->arc()->centre);
        EXPECT_EQ(ma->arc()->second, mb->arc()->second);
        EXPECT_EQ(ma->arc()->third, mb->arc()->third);
        EXPECT_EQ(ma->arc()->radius, mb->arc()->radius);
        EXPECT_EQ(ma->arc()->sweep, mb->arc()->sweep);
      }
    }
    EXPECT_EQ(ma, nullptr);
    EXPECT_EQ(mb, nullptr);
  }
  EXPECT_EQ(ra, nullptr);
  EXPECT_EQ(rb, nullptr);
  const nc_row_5* pa = a.rows5;
  const nc_row_5* pb = b.rows5;
  for (; pa && pb; pa = pa->next, pb = pb->next) {
    EXPECT_EQ(pa->host_int, pb->host_int);
    ASSERT_EQ(pa->last, pb->last);
    for (int i = 0; i <= pa->last; ++i) {
      EXPECT_EQ(pa->points[i].point, pb->points[i].point);
      EXPECT_EQ(pa->points[i].axis, pb->points[i].axis);
      EXPECT_EQ(pa->points[i].flag, pb->points[i].flag);
    }
  }
  EXPECT_EQ(pa, nullptr);
  EXPECT_EQ(pb, nullptr);
}

// A path with a value other than the default in every field.
void FillEveryField(OrvoPath& path) {
  std::snprintf(path.wcs.name, sizeof path.wcs.name, "%s", "wcs-name");
  path.wcs.origin = {1, 2, 3};
  path.wcs.x_axis = {0, 10, 0};
  path.wcs.y_axis = {-10, 0, 0};
  path.wcs.z_axis = {0, 0, 2};
  path.wcs.matrix.m[0][3] = -1;
  path.wcs.matrix.m[1][2] = 0.5;
  path.PathClassCode = 2303;
  path.Tool = {3, 4, {1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5}, "T,1"};
  path.rows_extra = 9;
  path.feed = {1000, 11, 12, 13, 14, 15, 16};
  path.safe_height = 21;
  path.safe_height_mode = 22;
  path.approach_height = 23;
  path.approach_height_mode = 24;
  path.five_safe_height = 25;
  path.five_link_height = 26;
  path.five_approach_distance = 27;
  path.name = "every field";
  path.geometry->drill_points = {{1, 1, 1}};
  path.geometry->curves = {{{2, 2, 2}, {3, 3, 3}}};
}

TEST(PathModel, ClonesCopyEveryField) {
  std::unique_ptr<OrvoPath> mill(MakeMillPath());
  FillEveryField(*mill);
  mill->rows->first->host_int1 = 31;
  mill->rows->first->host_byte_b = 32;
  mill->rows->first->b = 3;
  mill->UpdatePath();
  std::unique_ptr<OrvoPath> mill_copy(mill->ClonePath());
  ExpectSamePath(*mill_copy, *mill);

  PathFactory* factory = nullptr;
  HostGetPathFactory(factory);
  std::unique_ptr<OrvoPath> five(factory->CreateFiveAxisPath());
  FillEveryField(*five);
  five->rows5 = new nc_row_5;
  five->rows5->host_int = 41;
  five->rows5->last = 1;
  five->rows5->points = new nc_point5[2];
  five->rows5->points[0] = {{1, 2, 3}, {0, 0, 1}, kPointInner};
  five->rows5->points[1] = {{4, 5, 6}, {0, 0.6, 0.8}, kPointStretchEnd};
  five->rows5->next = new nc_row_5;  // an empty row
  five->UpdatePath();
  std::unique_ptr<OrvoPath> five_copy(five->ClonePath());
  EXPECT_NE(dynamic_cast<OrvoPath5Axis*>(five_copy.get()), nullptr);
  ExpectSamePath(*five_copy, *five);
  EXPECT_EQ(five_copy->five_link_height, 26);
}

TEST(PathModel, TranslatingAFiveAxisPathLeavesItsToolAxes) {
  PathFactory* factory = nullptr;
  HostGetPathFactory(factory);
  std::unique_ptr<OrvoPath> five(factory->CreateFiveAxisPath());
  five->rows5 = new nc_row_5;
  five->rows5->last = 1;
  five->rows5->points = new nc_point5[2];
  five->rows5->points[0] = {{1, 2, 3}, {0, 0.6, 0.8}, kPointStretchEnd};
  five->rows5->points[1] = {{4, 5, 6}, {0.36, 0.48, 0.8}, kPointStretchEnd};
  TRANSF shift;
  shift.m[0][3] = 100;
  shift.m[1][3] = -50;
  shift.m[2][3] = 7;
  std::unique_ptr<OrvoPath> moved(HostCopyPathByMatrix(five.get(), shift));
  const nc_point5* points = moved->rows5->points;
  EXPECT_EQ(points[0].point, (XYZ{101, -48, 10}));
  EXPECT_EQ(points[1].point, (XYZ{104, -45, 13}));
  EXPECT_EQ(points[0].axis, (XYZ{0, 0.6, 0.8}));
  EXPECT_EQ(points[1].axis, (XYZ{0.36, 0.48, 0.8}));
}

TEST(PathModel, CopyByMatrixMapsMovesAndLeavesTheOriginal) {
  std::unique_ptr<OrvoPath> original(MakeMillPath());
  TRANSF m;  // swaps X and Y (a mirror) and moves by (5, 6, 7)
  m.m[0][0] = 0;
  m.m[0][1] = 1;
  m.m[1][0] = 1;
  m.m[1][1] = 0;
  m.m[0][3] = 5;
  m.m[1][3] = 6;
  m.m[2][3] = 7;
  std::unique_ptr<OrvoPath> copy(HostCopyPathByMatrix(original.get(), m));
  XYZ expected;
  PointTransform({10, 0, 0}, m, expected);
  ExpectNear(copy->rows->first->line()[1].point, expected);
  const nc_arc& arc = *copy->rows->first->next->arc();
  PointTransform({10, 5, 0}, m, expected);
  ExpectNear(arc.centre, expected);
  EXPECT_EQ(arc.radius, 5);
  EXPECT_EQ(arc.sweep, -kPi / 2);
  // Every mapped arc point stays on the arc.
  for (const XYZ* p : {&arc.fourth, &arc.end})
    EXPECT_NEAR(PointDistance(*p, arc.centre), 5, 1e-9);
  EXPECT_EQ(original->rows->first->line()[1].point.x, 10);
  EXPECT_EQ(original->rows->first->next->arc()->sweep, kPi / 2);
  EXPECT_EQ(copy->geometry->curves, original->geometry->curves);
}

TEST(PathModel, WorkToSystemUndoesTheWorkMatrix) {
  std::unique_ptr<OrvoPath> original(MakeMillPath());
  original->wcs.origin = {20, 30, 40};
  ASSERT_EQ(CoordSysMatrix({20, 30, 40}, {1, 1, 0}, {-1, 1, 1}, original->wcs.matrix), 1);
  std::unique_ptr<OrvoPath> in_work(HostCopyPathByMatrix(original.get(), original->wcs.matrix));
  auto* path2d = dynamic_cast<OrvoPath2d*>(in_work.get());
  ASSERT_NE(path2d, nullptr);
  path2d->RowNCwctoSYSwc(path2d->rows);
  ExpectNear(path2d->rows->first->line()[0].point, {0, 0, 0});
  ExpectNear(path2d->rows->first->line()[1].point, {10, 0, 0});
  ExpectNear(path2d->rows->first->next->arc()->end, original->rows->first->next->arc()->end);
}

TEST(PathModel, HomePointsOfLinesArcsAndNothing) {
  std::unique_ptr<OrvoPath> path(MakeMillPath());
  XYZ start, end;
  HostGetHomePoint(path->rows->first, start, end);
  ExpectNear(start, {0, 0, 0});
  ExpectNear(end, {10, 0, 0});
  HostGetHomePoint(path->rows->first->next, start, end);
  ExpectNear(start, {15, 5, 0});
  ExpectNear(end, {10, 10, 0});
  HostGetHomePoint(nullptr, start, end);
  ExpectNear(start, {0, 0, 0});
  EXPECT_EQ(NcPointDistance({0, 0, 0}, {3, 4, 0}), 5);
}

nc_row_5* MakeRow5(int count) {
  auto* row = new nc_row_5;
  row->last = count - 1;
  row->points = count > 0 ? new nc_point5[static_cast<std::size_t>(count)] : nullptr;
  for (int i = 0; i < count; ++i) {
    row->points[i] = {
        {double(i), 0, 0}, {0, 0, 1}, static_cast<std::uint8_t>(i % 3 == 2 ? 255 : i % 2)};
  }
  return row;
}

TEST(FiveAxisRows, ResamplingSplitsLongRowsAndKeepsEveryPoint) {
  struct Case {
    int points;
    int limit;
    std::vector<int> pieces;
  } const cases[] = {
      {0, 500, {0}},
      {1, 500, {1}},
      {500, 500, {500}},
      {501, 500, {500, 2}},
      {1200, 500, {500, 500, 202}},
      {5, 2, {2, 2, 2, 2}},
      {5, 1, {2, 2, 2, 2}},  // a limit below 2 acts as 2
  };
  for (const auto& c : cases) {
    nc_row_5* source = MakeRow5(c.points);
    source->next = MakeRow5(2);
    nc_row_5* resampled = NcResampleRows5(source, c.limit);
    std::vector<int> pieces;
    std::vector<nc_point5> joined;
    const nc_row_5* row = resampled;
    for (std::size_t piece = 0; piece < c.pieces.size(); ++piece, row = row->next) {
      ASSERT_NE(row, nullptr) << c.points;
      pieces.push_back(row->last + 1);
      for (int i = (piece == 0 ? 0 : 1); i <= row->last; ++i)
        joined.push_back(row->points[i]);
    }
    EXPECT_EQ(pieces, c.pieces) << c.points << " points, limit " << c.limit;
    ASSERT_EQ(joined.size(), static_cast<std::size_t>(c.points)) << c.points;
    for (int i = 0; i < c.points; ++i) {
      EXPECT_EQ(joined[i].point.x, source->points[i].point.x);
      EXPECT_EQ(joined[i].flag, source->points[i].flag);
    }
    ASSERT_NE(row, nullptr);  // the second source row follows, unchanged
    EXPECT_EQ(row->last, 1);
    EXPECT_EQ(row->next, nullptr);
    NcFreeRows5(resampled);
    NcFreeRows5(source);
  }
}

TEST(GeometryIO, DrillPointsAndCurves) {
  Node node;
  CPathGeomIO io;
  const XYZ holes[3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  io.SaveDrillPoints(&node, holes, 2);
  XYZ* points = nullptr;
  int count = 0;
  io.GetDrillPoints(&node, points, count);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(points[2].z, 9);
  CPathGeomIO::FreePoints(points);
  io.SaveDrillPoints(&node, holes, -1);
  io.GetDrillPoints(&node, points, count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(points, nullptr);

  node.curves = {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{5, 5, 5}}};
  curvecmp* curves = nullptr;
  ASSERT_EQ(io.GetCurvePathes(&node, curves), 2);
  XYZ start, end;
  CurveEnds(curves, start, end);
  ExpectNear(start, {0, 0, 0});
  ExpectNear(end, {1, 1, 0});
  CurveEnds(curves->next, start, end);
  ExpectNear(start, {5, 5, 5});
  ExpectNear(end, {5, 5, 5});
  EXPECT_EQ(curves->next->next, nullptr);
  CurveFree(curves);
  EXPECT_EQ(io.GetCurvePathes(nullptr, curves), 0);
  EXPECT_EQ(curves, nullptr);
}

}  // namespace
