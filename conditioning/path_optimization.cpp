#include "conditioning/path_optimization.h"

namespace zu {

void OptimizeWorkingCopy(std::unique_ptr<OrvoPath>&, double, int) {}

}  // namespace zu
