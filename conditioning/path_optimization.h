// The optimisation step of both roads: a working copy of a two- or
// three-axis path whose runs of straight cuts are replaced by fitted lines
// and arcs within a tolerance, by the plug-in's own fitting (selector 0) or
// by the host optimiser object (any other selector, the registry's "Kvt").
#pragma once

#include <memory>

#include "host/path_model.h"

namespace zu {

// Conditions `copy` in place or replaces it. The fitting is the host
// optimiser's, which is not built yet: until it is, the copy is left as it
// is, and every path is written as it was picked.
void OptimizeWorkingCopy(std::unique_ptr<OrvoPath>& copy, double tolerance, int selector);

}  // namespace zu
