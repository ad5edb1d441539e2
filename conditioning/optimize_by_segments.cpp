// The host optimiser object's road: each run goes to a CPathOptimize as the
// start and end point of every move, and its elements come back one by one.
#include "conditioning/fitted_moves.h"
#include "conditioning/path_optimization.h"
#include "conditioning/straight_runs.h"
#include "host/path_optimizer.h"
#include "host/row_ops.h"

namespace zu {

namespace {

constexpr double kJoinGap = 1e-6;
constexpr double kSamePoint = 1e-6;  // points closer than this are one to the optimiser
constexpr int kLineElement = 0;
constexpr int kArcElement = 1;

MoveChain FitRun(const tool_block* first, int count, double tolerance, CPathOptimize& optimizer) {
  optimizer.Prepare(2 * count, 0);
  XYZ run_start;
  XYZ run_end;
  XYZ start;
  XYZ end;
  const tool_block* move = first;
  for (int i = 0; i < count; ++i, move = move->next) {
    HostGetHomePoint(move, start, end);
    if (i == 0)
      run_start = start;
    run_end = end;
    optimizer.SetPoint(2 * i, start.x, start.y, start.z);
    optimizer.SetPoint(2 * i + 1, end.x, end.y, end.z);
  }
  optimizer.Run(tolerance, 0.0, kSamePoint);

  MoveChain chain;
  XYZ centre;
  VECTOR normal;
  double radius = 0;
  int kind = -1;
  // An element that cannot become a move would leave a gap in the cut: the
  // run is then kept whole. No fit has more elements than the run has
  // points, so more than that means an optimiser gone wrong.
  for (int elements = 0; optimizer.NextElement(start, end, centre, normal, radius, kind) > 0;) {
    tool_block* fitted = nullptr;
    if (++elements <= 2 * count) {
      if (kind == kLineElement) {
        fitted = MakeLineRow(start, end);
        fitted->host_int2 = 1;
      } else if (kind == kArcElement) {
        fitted = MakeArcRow(start, end, centre, normal);
      }
    }
    if (!fitted) {
      chain.Free();
      return chain;
    }
    chain.Append(fitted);
  }
  if (chain.first && !ChainJoins(chain, run_start, run_end, kJoinGap))
    chain.Free();
  return chain;
}

}  // namespace

int OptimizePathBySegments(std::unique_ptr<OrvoPath>& path, double tolerance,
                           CPathOptimize& optimizer) {
  if (!path || !path->rows)
    return 0;
  const int replaced = ReplaceStraightRuns(
      *path->rows, [tolerance, &optimizer](const tool_block* first, int count, int) {
        return FitRun(first, count, tolerance, optimizer);
      });
  if (replaced)
    path->UpdatePath();
  return replaced;
}

}  // namespace zu
