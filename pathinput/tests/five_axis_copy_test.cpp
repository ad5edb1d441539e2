// The five-axis working copy: rows the host splits come back whole, and every
// point and axis lands where it was worked out by hand in a turned work
// system.
#include "pathinput/five_axis_copy.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "host/row_ops.h"

namespace zu {
namespace {

// A row of `count` points, each with its own point, axis and a flag out of
// 0, 1 and 255.
nc_row_5* Row(int count, double x0) {
  auto* row = new nc_row_5;
  row->host_int = 7;
  row->last = count - 1;
  row->points = count > 0 ? new nc_point5[static_cast<std::size_t>(count)] : nullptr;
  const std::uint8_t flags[] = {0, 1, 1, 255, 1, 0, 0};
  for (int i = 0; i < count; ++i) {
    const double d = i;
    row->points[i] = {{x0 + d, d * d, -d / 3}, {0, (i % 2) * 1.0, 1}, flags[i % 7]};
  }
  return row;
}

nc_row_5* Rows(const std::vector<int>& counts) {
  nc_row_5* head = nullptr;
  nc_row_5** tail = &head;
  double x0 = 0;
  for (int count : counts) {
    *tail = Row(count, x0);
    x0 += count;
    tail = &(*tail)->next;
  }
  return head;
}

TEST(FiveAxisCopy, RowsTheHostSplitsComeBackWhole) {
  const std::vector<std::vector<int>> cases = {
      {499}, {500}, {501}, {1000}, {1200}, {2, 1000, 0, 998, 1}, {}};
  for (const auto& counts : cases) {
    nc_row_5* source = Rows(counts);
    nc_row_5* joined = ResampledRowsJoined(source, kResampledRowPoints);
    const nc_row_5* s = source;
    const nc_row_5* j = joined;
    for (; s && j; s = s->next, j = j->next) {
      ASSERT_EQ(j->last, s->last) << counts.size();
      EXPECT_EQ(j->host_int, s->host_int);
      for (int i = 0; i <= s->last; ++i) {
        EXPECT_EQ(j->points[i].point, s->points[i].point) << i;
        EXPECT_EQ(j->points[i].axis, s->points[i].axis) << i;
        EXPECT_EQ(j->points[i].flag, s->points[i].flag) << i;
      }
    }
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(j, nullptr);
    NcFreeRows5(joined);
    NcFreeRows5(source);
  }
}

TEST(FiveAxisCopy, ARowEndingWhereTheNextStartsStaysTwoRows) {
  nc_row_5* source = Rows({600, 600});
  source->next->points[0] = source->points[599];
  nc_row_5* joined = ResampledRowsJoined(source, kResampledRowPoints);
  ASSERT_NE(joined->next, nullptr);
  EXPECT_EQ(joined->last, 599);
  EXPECT_EQ(joined->next->last, 599);
  EXPECT_EQ(joined->next->next, nullptr);
  NcFreeRows5(joined);
  NcFreeRows5(source);
}

TEST(FiveAxisCopy, PointsAndAxesGoIntoTheTurnedWorkSystem) {
  OrvoPath5Axis path;
  path.geometry = new Node;
  // Document to work system: (x, y, z) -> (y - 10, -x, z - 5), a quarter turn
  // about Z and a shift.
  TRANSF& m = path.wcs.matrix;
  m.m[0][0] = 0, m.m[0][1] = 1, m.m[0][3] = -10;
  m.m[1][0] = -1, m.m[1][1] = 0;
  m.m[2][3] = -5;
  path.rows5 = new nc_row_5;
  path.rows5->last = 1;
  path.rows5->points = new nc_point5[2];
  path.rows5->points[0] = {{1, 2, 3}, {2, 0, 0}, 0};
  path.rows5->points[1] = {{4, 5, 6}, {0, 3, 4}, 1};
  path.rows5->next = new nc_row_5;
  path.rows5->next->last = 0;
  path.rows5->next->points = new nc_point5[1];
  path.rows5->next->points[0] = {{-1, 0, 0}, {1, 1, 0}, 0};
  path.UpdatePath();
  const auto copy = MakeFiveAxisWorkingCopy(path);
  const nc_row_5* first = copy->rows5;
  ASSERT_EQ(first->last, 1);
  EXPECT_EQ(first->points[0].point, (XYZ{-8, -1, -2}));
  EXPECT_EQ(first->points[0].axis, (XYZ{0, -1, 0}));  // made a unit vector
  EXPECT_EQ(first->points[1].point, (XYZ{-5, -4, 1}));
  EXPECT_EQ(first->points[1].axis, (XYZ{0.6, 0, 0.8}));
  const nc_point5& last = first->next->points[0];
  EXPECT_EQ(last.point, (XYZ{-10, 1, -5}));
  EXPECT_NEAR(last.axis.x, 0.70710678118654752, 1e-15);
  EXPECT_NEAR(last.axis.y, -0.70710678118654752, 1e-15);
  EXPECT_EQ(path.rows5->points[1].point, (XYZ{4, 5, 6}));  // the path itself stays
}

}  // namespace
}  // namespace zu
