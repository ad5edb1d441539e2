#include "conditioning/path_optimization.h"

#include "host/path_optimizer.h"

namespace zu {

void OptimizeWorkingCopy(std::unique_ptr<OrvoPath>& copy, double tolerance, int selector) {
  if (!copy || copy->MultiAxisKind != kTwoOrThreeAxis)
    return;
  if (selector == 0) {
    Optimizepath2d(copy, tolerance);
    return;
  }
  CPathOptimize* optimizer = CPathOptimize::CreateObject();
  if (optimizer)
    OptimizePathBySegments(copy, tolerance, *optimizer);
  CPathOptimize::FreeObject(optimizer);
}

}  // namespace zu
