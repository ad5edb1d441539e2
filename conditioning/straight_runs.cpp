#include "conditioning/straight_runs.h"

#include <cmath>

#include "host/row_ops.h"

namespace zu {

namespace {
constexpr int kCuttingSegment = 4;
}

void MoveChain::Append(tool_block* move) {
  move->next = nullptr;
  if (last)
    last->next = move;
  else
    first = move;
  last = move;
}

void MoveChain::Free() {
  NcFreeRows(first);
  first = last = nullptr;
}

namespace {
bool Near(const XYZ& a, const XYZ& b, double gap) {
  return std::fabs(a.x - b.x) <= gap && std::fabs(a.y - b.y) <= gap && std::fabs(a.z - b.z) <= gap;
}
}  // namespace

bool ChainJoins(const MoveChain& chain, const XYZ& start, const XYZ& end, double gap) {
  XYZ at = start;
  for (const tool_block* move = chain.first; move; move = move->next) {
    XYZ from;
    XYZ to;
    HostGetHomePoint(move, from, to);
    if (!move->geometry || !Near(from, at, gap))
      return false;
    at = to;
  }
  return chain.first && Near(at, end, gap);
}

bool IsStraightCut(const tool_block& move) {
  int segment = 2;
  SegAttrsToKind(move.a, move.b, move.c, segment);
  return segment == kCuttingSegment && move.kind == kMoveLine && move.geometry != nullptr &&
         move.c != kCompensationStart && move.c != kCompensationEnd;
}

int ReplaceStraightRuns(tool_row& row, const RunFitter& fit) {
  int replaced = 0;
  tool_block* before = nullptr;  // the move the next run is spliced after
  tool_block* move = row.first;
  int index = 0;  // of `move` in the row
  while (move) {
    if (!IsStraightCut(*move)) {
      before = move;
      move = move->next;
      ++index;
      continue;
    }
    tool_block* first = move;
    tool_block* last = move;
    int count = 1;
    while (last->next && IsStraightCut(*last->next)) {
      last = last->next;
      ++count;
    }
    tool_block* after = last->next;
    int new_count = count;
    if (count >= 2) {
      const MoveChain chain = fit(first, count, index);
      if (chain.first) {
        new_count = 0;
        for (const tool_block* m = chain.first; m; m = m->next)
          ++new_count;
        (before ? before->next : row.first) = chain.first;
        chain.last->next = after;
        last->next = nullptr;
        NcFreeRows(first);
        last = chain.last;
        ++replaced;
      }
    }
    before = last;
    move = after;
    index += new_count;
  }
  return replaced;
}

}  // namespace zu
