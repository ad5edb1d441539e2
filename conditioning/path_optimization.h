// The optimisation step of both roads: in the first row of a two- or
// three-axis working copy, every run of straight cuts (straight_runs.h) is
// replaced by the lines and arcs the host optimiser fits to it within a
// tolerance. Two interchangeable optimisers hand the runs to the host: the
// plug-in's own (selector 0) through PathOptRun, the other (any other
// selector, the registry's "Kvt") through a CPathOptimize object.
//
// A run is kept as it is whenever the fit does not give a whole
// replacement: the host reports failure, delivers no element, or delivers
// one that cannot be made into a move (an arc without a plane). The fitted
// moves join the run's first start point and last end point, so nothing
// before or after the run moves.
#pragma once

#include <memory>

#include "host/path_model.h"

class CPathOptimize;

namespace zu {

// Fits the runs through PathOptRun: each run's first start point and every
// move's end point. Returns the number of runs replaced.
int Optimizepath2d(std::unique_ptr<OrvoPath>& path, double tolerance);

// Fits the runs through `optimizer`: each move's start and end point.
// Returns the number of runs replaced.
int OptimizePathBySegments(std::unique_ptr<OrvoPath>& path, double tolerance,
                           CPathOptimize& optimizer);

// The step as both roads take it: with `selector` 0 Optimizepath2d, else
// OptimizePathBySegments with an optimiser object made for the call (none
// made: the copy is left as it is). Five-axis paths are not touched.
void OptimizeWorkingCopy(std::unique_ptr<OrvoPath>& copy, double tolerance, int selector);

}  // namespace zu
