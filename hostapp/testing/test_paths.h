// For tests of the roads: moves and paths of the host's path model made by
// hand, with the host's own allocation functions, so that the path frees
// them as the host's paths. Portable.
#pragma once

#include <memory>
#include <vector>

#include "host/path_model.h"

namespace zuhost::testing {

// A straight move from `from` to `to` with move attributes `a`, `b` and
// `c` (tool_block).
tool_block* LineMove(const XYZ& from, const XYZ& to, int a = 4, int c = 7, int b = 0);

// A milling path named "mill" of path kind `kind` with the parameter record
// `record` (or none) and rows of `moves`, which it owns.
std::unique_ptr<OrvoPath2d> MillRowsPath(int kind,
                                         const std::vector<std::vector<tool_block*>>& rows,
                                         std::unique_ptr<OrvoPathSubPara> record = nullptr);

// A five-axis path named "five": rows of points along X at z = 0 with tool
// axis (0, 0, 1), each row given by its points' flags (nc_point5), from x = 0
// one unit apart across the rows; safe height 80, link height 30, approach
// distance 5.
std::unique_ptr<OrvoPath5Axis> FiveAxisRowsPath(const std::vector<std::vector<int>>& rows);

// The same path turned: every tool axis (3, 0, 4), not of unit length, and a
// work system that maps the document's (x, y, z) to (y - 10, -x, z - 5), a
// quarter turn about Z and a shift. In the work system point i of the rows
// is (-10, -i, -5) and every axis (0, -0.6, 0.8).
std::unique_ptr<OrvoPath5Axis> TurnedFiveAxisRowsPath(const std::vector<std::vector<int>>& rows);

}  // namespace zuhost::testing
