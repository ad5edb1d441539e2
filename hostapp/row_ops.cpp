#include "host/row_ops.h"

#include <algorithm>
#include <cmath>

#include "host/math.h"

namespace {

class HostPathFactory final : public PathFactory {};

tool_block* CopyMove(const tool_block& move) {
  auto* copy = new tool_block(move);
  copy->next = nullptr;
  if (move.geometry) {
    if (move.kind == kMoveArc) {
      copy->geometry = new nc_arc(*move.arc());
    } else {
      tls* line = NcNewLineGeom(1);
      line[0] = move.line()[0];
      line[1] = move.line()[1];
      copy->geometry = line;
    }
  }
  return copy;
}

double Determinant3(const TRANSF& t) {
  const auto& m = t.m;
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
         m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

nc_row_5* NewRow5(const nc_point5* points, int count, int host_int) {
  auto* row = new nc_row_5;
  row->host_int = host_int;
  row->last = count - 1;
  if (count > 0) {
    row->points = new nc_point5[static_cast<std::size_t>(count)];
    std::copy(points, points + count, row->points);
  }
  return row;
}

}  // namespace

bool PathFactory::Supports(int kind) const {
  return kind >= 0;
}

OrvoPath* PathFactory::CreateFiveAxisPath() {
  auto* path = new OrvoPath5Axis;
  path->geometry = new Node;
  return path;
}

OrvoPath2d* PathFactory::CreatePath(int kind) {
  OrvoPath2d* path = kind == kDrillingPath ? new OrvoDrillPath : new OrvoPath2d;
  path->PathKind = kind;
  path->geometry = new Node;
  return path;
}

void HostGetPathFactory(PathFactory*& out) {
  static HostPathFactory factory;
  out = &factory;
}

tool_block* NcNewRow() {
  return new tool_block;
}

tls* NcNewLineGeom(int count) {
  return new tls[static_cast<std::size_t>(2 * std::max(count, 1))];
}

nc_arc* NcNewArcGeom() {
  return new nc_arc;
}

void NcFreeRows(tool_block* first) {
  while (first) {
    tool_block* next = first->next;
    if (first->kind == kMoveArc) {
      delete first->arc();
    } else {
      delete[] first->line();
    }
    delete first;
    first = next;
  }
}

void NcFreeToolRows(tool_row* first) {
  while (first) {
    tool_row* next = first->next;
    NcFreeRows(first->first);
    delete first;
    first = next;
  }
}

tool_row* NcCopyToolRows(const tool_row* first) {
  tool_row* head = nullptr;
  tool_row** row_tail = &head;
  for (const tool_row* row = first; row; row = row->next) {
    auto* copy = new tool_row;
    tool_block** move_tail = &copy->first;
    for (const tool_block* move = row->first; move; move = move->next) {
      *move_tail = CopyMove(*move);
      move_tail = &(*move_tail)->next;
    }
    *row_tail = copy;
    row_tail = &copy->next;
  }
  return head;
}

void HostGetHomePoint(const tool_block* move, XYZ& start, XYZ& end) {
  if (!move || !move->geometry) {
    start = end = XYZ{};
  } else if (move->kind == kMoveArc) {
    start = move->arc()->fourth;
    end = move->arc()->end;
  } else {
    start = move->line()[0].point;
    end = move->line()[1].point;
  }
}

double NcPointDistance(const XYZ& a, const XYZ& b) {
  return PointDistance(a, b);
}

void NcTransformRows(tool_row* first, const TRANSF& matrix) {
  const bool mirrors = Determinant3(matrix) < 0;
  for (tool_row* row = first; row; row = row->next) {
    for (tool_block* move = row->first; move; move = move->next) {
      if (!move->geometry)
        continue;
      if (move->kind == kMoveArc) {
        nc_arc& arc = *move->arc();
        for (XYZ* p : {&arc.centre, &arc.second, &arc.third, &arc.fourth, &arc.end}) {
          PointTransformInPlace(*p, matrix);
        }
        if (mirrors)
          arc.sweep = -arc.sweep;
      } else {
        PointTransformInPlace(move->line()[0].point, matrix);
        PointTransformInPlace(move->line()[1].point, matrix);
      }
    }
  }
}

OrvoPath* HostCopyPathByMatrix(const OrvoPath* path, const TRANSF& matrix) {
  if (!path)
    return nullptr;
  OrvoPath* copy = path->ClonePath();
  NcTransformRows(copy->rows, matrix);
  for (nc_row_5* row = copy->rows5; row; row = row->next) {
    for (int i = 0; i <= row->last; ++i) {
      PointTransformInPlace(row->points[i].point, matrix);
      CurveTransformVector(row->points[i].axis, matrix, row->points[i].axis);
    }
  }
  return copy;
}

void NcFreeRows5(nc_row_5* first) {
  while (first) {
    nc_row_5* next = first->next;
    delete[] first->points;
    delete first;
    first = next;
  }
}

nc_row_5* NcCopyRows5(const nc_row_5* first) {
  nc_row_5* head = nullptr;
  nc_row_5** tail = &head;
  for (const nc_row_5* row = first; row; row = row->next) {
    *tail = NewRow5(row->points, row->last + 1, row->host_int);
    tail = &(*tail)->next;
  }
  return head;
}

nc_row_5* NcResampleRows5(const nc_row_5* first, int max_points) {
  const int limit = std::max(max_points, 2);
  nc_row_5* head = nullptr;
  nc_row_5** tail = &head;
  for (const nc_row_5* row = first; row; row = row->next) {
    const int count = row->last + 1;
    if (count <= limit) {
      *tail = NewRow5(row->points, count, row->host_int);
      tail = &(*tail)->next;
      continue;
    }
    // Pieces of `limit` points; each starts where the previous one ended.
    for (int start = 0; start < count - 1; start += limit - 1) {
      const int n = std::min(limit, count - start);
      *tail = NewRow5(row->points + start, n, row->host_int);
      tail = &(*tail)->next;
    }
  }
  return head;
}

void SegKindToAttrs(int kind, int& a, int& b, int& /*c*/) {
  a = static_cast<std::int8_t>(kind);
  b = 0;
}

void SegAttrsToKind(int a, int b, int /*c*/, int& kind) {
  if (b == 0)
    kind = a;
}
