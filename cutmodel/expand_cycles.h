// Drilling as plain moves, for machines without drilling cycles: each hole
// at rapid to above it at the initial plane, down to the R plane, in at the
// drilling feed (in pecks for 83 and 73, out to the R plane between the
// pecks of 83 to clear the chips), the dwell at the bottom, out at feed
// (85, 89) or at rapid, and back to the initial plane where the machine
// returns there. The code writer writes these moves, and the verification
// expects them.
#pragma once

#include "cutmodel/cut_model.h"

namespace zu::cut {

// The most pecks one hole gets; a smaller peck is made larger to fit.
inline constexpr int kMostPecks = 1000;

// The steps of a drilling path's holes (none for a path without holes).
// Notes what the moves cannot say (the spindle stop of 86) in `path.notes`
// of the result.
std::vector<Step> HoleSteps(const Path& path, bool return_to_initial,
                            std::vector<std::string>& notes);

// Every drilling path of `program` as a path of plain moves.
void ExpandCycles(Program& program, bool return_to_initial);

}  // namespace zu::cut
