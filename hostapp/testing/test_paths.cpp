#include "hostapp/testing/test_paths.h"

#include <cstdint>
#include <utility>

#include "host/row_ops.h"

namespace zuhost::testing {

tool_block* LineMove(const XYZ& from, const XYZ& to, int a, int c, int b) {
  tool_block* move = NcNewRow();
  move->a = static_cast<std::int8_t>(a);
  move->b = static_cast<std::int8_t>(b);
  move->c = c;
  tls* line = NcNewLineGeom(1);
  line[0].point = from;
  line[1].point = to;
  move->geometry = line;
  return move;
}

std::unique_ptr<OrvoPath2d> MillRowsPath(int kind,
                                         const std::vector<std::vector<tool_block*>>& rows,
                                         std::unique_ptr<OrvoPathSubPara> record) {
  auto path = std::make_unique<OrvoPath2d>();
  path->name = "mill";
  path->PathKind = kind;
  path->sub_para = std::move(record);
  path->geometry = new Node;
  tool_row** row_tail = &path->rows;
  for (const auto& moves : rows) {
    *row_tail = new tool_row;
    tool_block** tail = &(*row_tail)->first;
    for (tool_block* move : moves) {
      *tail = move;
      tail = &move->next;
    }
    row_tail = &(*row_tail)->next;
  }
  path->UpdatePath();
  return path;
}

std::unique_ptr<OrvoPath5Axis> FiveAxisRowsPath(const std::vector<std::vector<int>>& rows) {
  auto path = std::make_unique<OrvoPath5Axis>();
  path->name = "five";
  path->geometry = new Node;
  path->five_safe_height = 80;
  path->five_link_height = 30;
  path->five_approach_distance = 5;
  nc_row_5** tail = &path->rows5;
  double x = 0;
  for (const auto& flags : rows) {
    auto* row = new nc_row_5;
    row->last = static_cast<int>(flags.size()) - 1;
    row->points = flags.empty() ? nullptr : new nc_point5[flags.size()];
    for (std::size_t i = 0; i < flags.size(); ++i) {
      row->points[i] = {{x, 0, 0}, {0, 0, 1}, static_cast<std::uint8_t>(flags[i])};
      x += 1;
    }
    *tail = row;
    tail = &row->next;
  }
  path->UpdatePath();
  return path;
}

std::unique_ptr<OrvoPath5Axis> TurnedFiveAxisRowsPath(const std::vector<std::vector<int>>& rows) {
  auto path = FiveAxisRowsPath(rows);
  for (nc_row_5* row = path->rows5; row; row = row->next) {
    for (int i = 0; i <= row->last; ++i)
      row->points[i].axis = {3, 0, 4};
  }
  TRANSF& m = path->wcs.matrix;
  m.m[0][0] = 0, m.m[0][1] = 1, m.m[0][3] = -10;
  m.m[1][0] = -1, m.m[1][1] = 0;
  m.m[2][3] = -5;
  return path;
}

}  // namespace zuhost::testing
