// The plug-in's own optimiser: each run goes to PathOptRun as the run's
// first start point and the end point of every move.
#include <vector>

#include "conditioning/fitted_moves.h"
#include "conditioning/optimizer_trace.h"
#include "conditioning/path_optimization.h"
#include "conditioning/straight_runs.h"
#include "host/path_optimizer.h"
#include "host/row_ops.h"

namespace zu {

namespace {

// How far apart the fitted moves' ends may lie from the run's and from
// each other's.
constexpr double kJoinGap = 1e-6;

MoveChain FitRun(const tool_block* first, int count, int index, double tolerance) {
  std::vector<XYZ> points;
  points.reserve(static_cast<std::size_t>(count) + 1);
  XYZ start;
  XYZ end;
  const tool_block* move = first;
  HostGetHomePoint(move, start, end);
  points.push_back(start);
  for (int i = 0; i < count; ++i, move = move->next) {
    HostGetHomePoint(move, start, end);
    points.push_back(end);
  }
  OptimizerTrace("iNum=%d,pStart:%d", count + 1, index);

  tool_block* holder = NcNewRow();
  MoveChain chain;
  if (PathOptRun(points.data(), count + 1, tolerance, holder) == 0) {
    tool_block* element = holder->next;
    holder->next = nullptr;
    int element_index = 0;
    while (element) {
      tool_block* next = element->next;
      tool_block* fitted = NcRowOf(element);
      MarkAsFittedMove(*fitted);
      chain.Append(fitted);
      OptimizerTrace("iIndex=%d,pEnd->next:%d", element_index++, index + count);
      element = next;
    }
  }
  NcFreeRows(holder);
  if (chain.first && !ChainJoins(chain, points.front(), points.back(), kJoinGap))
    chain.Free();
  if (chain.first)
    OptimizerTrace("优化成功");
  return chain;
}

}  // namespace

int Optimizepath2d(std::unique_ptr<OrvoPath>& path, double tolerance) {
  if (!path || !path->rows)
    return 0;
  OptimizerTrace("Optimizepath2d_kvt,started.");
  const int replaced =
      ReplaceStraightRuns(*path->rows, [tolerance](const tool_block* first, int count, int index) {
        return FitRun(first, count, index, tolerance);
      });
  if (replaced)
    path->UpdatePath();
  return replaced;
}

}  // namespace zu
