// The copies the writers work on: a picked path is never changed. A copy of
// a two- or three-axis path has its moves mapped into its own work
// coordinate system and keeps that system.
#pragma once

#include <memory>

#include "host/geometry.h"
#include "host/path_model.h"

namespace zu {

// The working copy of a two- or three-axis path: every move point mapped
// through the matrix of the path's work coordinate system, the work system
// (name, origin, axes, matrix) copied unchanged. Owned by the caller.
std::unique_ptr<OrvoPath> MakeWorkingCopy(const OrvoPath& path);

// The first move of the first row that has moves, or null when no row has
// one.
const tool_block* FirstMove(const OrvoPath& path);

// Where the path starts: the start point of its first move (of a line its
// first point, of an arc the point the arc starts from, not its centre);
// (0, 0, 0) when the path has no move.
XYZ StartPoint(const OrvoPath& path);

}  // namespace zu
