#include "pathinput/five_axis_copy.h"

#include <algorithm>
#include <vector>

#include "host/math.h"
#include "host/row_ops.h"

namespace zu {
namespace {

bool SameRecord(const nc_point5& a, const nc_point5& b) {
  return a.point == b.point && a.axis == b.axis && a.flag == b.flag;
}

// One row made of `pieces`, each piece's first point left out when it is the
// point the previous piece ended on.
nc_row_5* JoinedRow(const nc_row_5* pieces, int host_int) {
  std::vector<nc_point5> points;
  for (const nc_row_5* piece = pieces; piece; piece = piece->next) {
    int i = 0;
    if (!points.empty() && piece->last >= 0 && SameRecord(points.back(), piece->points[0]))
      i = 1;
    for (; i <= piece->last; ++i)
      points.push_back(piece->points[i]);
  }
  auto* row = new nc_row_5;
  row->host_int = host_int;
  row->last = static_cast<int>(points.size()) - 1;
  if (!points.empty()) {
    row->points = new nc_point5[points.size()];
    std::copy(points.begin(), points.end(), row->points);
  }
  return row;
}

}  // namespace

nc_row_5* ResampledRowsJoined(const nc_row_5* rows, int max_points) {
  nc_row_5* head = nullptr;
  nc_row_5** tail = &head;
  for (const nc_row_5* row = rows; row; row = row->next) {
    // The host resamples the row on its own, so that its pieces are known.
    nc_row_5 alone = *row;
    alone.next = nullptr;
    nc_row_5* pieces = NcResampleRows5(&alone, max_points);
    *tail = JoinedRow(pieces, row->host_int);
    NcFreeRows5(pieces);
    tail = &(*tail)->next;
  }
  return head;
}

std::unique_ptr<OrvoPath> MakeFiveAxisWorkingCopy(const OrvoPath& path) {
  std::unique_ptr<OrvoPath> copy(path.ClonePath());
  NcFreeRows5(copy->rows5);
  copy->rows5 = ResampledRowsJoined(path.rows5, kResampledRowPoints);
  const TRANSF& matrix = copy->wcs.matrix;
  for (nc_row_5* row = copy->rows5; row; row = row->next) {
    for (int i = 0; i <= row->last; ++i) {
      nc_point5& p = row->points[i];
      PointTransformInPlace(p.point, matrix);
      XYZ axis;
      CurveTransformVector(p.axis, matrix, axis);
      MathSplitVector(axis.x, axis.y, axis.z);
      p.axis = axis;
    }
  }
  return copy;
}

}  // namespace zu
