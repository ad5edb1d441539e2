// Working copies and the repeat filter of point-and-axis blocks.
#include "pathinput/working_copy.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "host/row_ops.h"
#include "pathinput/axis_repeat_filter.h"

namespace zu {
namespace {

TEST(WorkingCopy, MovesGoIntoTheWorkSystemWhichTheCopyKeeps) {
  OrvoPath2d path;
  std::snprintf(path.wcs.name, sizeof path.wcs.name, "%s", "w1");
  path.wcs.origin = {100, 0, 0};
  path.wcs.matrix.m[0][3] = -100;  // document to work system: shift by -100 in X
  path.rows = new tool_row;
  path.rows->first = NcNewRow();
  tls* line = NcNewLineGeom(1);
  line[0].point = {100, 2, 3};
  line[1].point = {110, 2, 3};
  path.rows->first->geometry = line;
  const auto copy = MakeWorkingCopy(path);
  EXPECT_EQ(copy->rows->first->line()[0].point, (XYZ{0, 2, 3}));
  EXPECT_EQ(StartPoint(*copy), (XYZ{0, 2, 3}));
  EXPECT_STREQ(copy->wcs.name, "w1");
  EXPECT_EQ(copy->wcs.origin, path.wcs.origin);
  EXPECT_EQ(copy->wcs.matrix.m[0][3], -100);
  EXPECT_EQ(path.rows->first->line()[0].point, (XYZ{100, 2, 3}));  // the original stays
}

TEST(WorkingCopy, APathStartsWhereItsFirstMoveStartsNotAtAnArcsCentre) {
  OrvoPath2d path;
  path.rows = new tool_row;
  path.rows->first = NcNewRow();
  path.rows->first->kind = kMoveArc;
  nc_arc* arc = NcNewArcGeom();
  arc->centre = {0, 0, 0};
  arc->fourth = {5, 0, 0};
  arc->end = {0, 5, 0};
  path.rows->first->geometry = arc;
  EXPECT_EQ(StartPoint(path), (XYZ{5, 0, 0}));
  EXPECT_EQ(FirstMove(path), path.rows->first);
  OrvoPath2d empty;
  EXPECT_EQ(StartPoint(empty), (XYZ{0, 0, 0}));
  EXPECT_EQ(FirstMove(empty), nullptr);
}

TEST(WorkingCopy, APathStartsWithTheFirstMoveOfAnyRow) {
  OrvoPath2d path;
  path.rows = new tool_row;
  path.rows->next = new tool_row;
  path.rows->next->next = new tool_row;
  path.rows->next->next->first = NcNewRow();
  tls* line = NcNewLineGeom(1);
  line[0].point = {3, 4, 5};
  line[1].point = {6, 7, 8};
  path.rows->next->next->first->geometry = line;
  EXPECT_EQ(FirstMove(path), path.rows->next->next->first);
  EXPECT_EQ(StartPoint(path), (XYZ{3, 4, 5}));
}

TEST(AxisRepeatFilter, DropsRepeatsBelowOneTrillionth) {
  AxisRepeatFilter filter;
  EXPECT_TRUE(filter.Passes({1, 2, 3}, {0, 0, 1}));
  EXPECT_FALSE(filter.Passes({1, 2, 3}, {0, 0, 1}));
  EXPECT_FALSE(filter.Passes({1 + 5e-13, 2, 3}, {0, 0, 1}));
  EXPECT_TRUE(filter.Passes({1, 2, 3}, {0, 1e-12, 1}));  // only the axis differs
  EXPECT_TRUE(filter.Passes({1, 2, 3 + 1e-12}, {0, 1e-12, 1}));
  filter.Reset();
  EXPECT_TRUE(filter.Passes({1, 2, 3 + 1e-12}, {0, 1e-12, 1}));
  filter.Reset();
  EXPECT_FALSE(filter.Passes({0, 0, 0}, {0, 0, 0}));  // the pair a reset leaves
}

}  // namespace
}  // namespace zu
