// The moves the optimisation step makes from fitted elements: cutting moves
// (segment kind 4) with the host's fields of a freshly made line or arc.
#pragma once

#include "host/geometry.h"
#include "host/path_model.h"

namespace zu {

// Gives `move` the fields of a new cutting move: attributes of segment kind
// 4 (attribute c preset to `c_preset` before the conversion), the host bytes
// of a line (5) or an arc (245) as its kind says, no next move.
void MarkAsFittedMove(tool_block& move, int c_preset = 7);

// A new line move from `start` to `end`, both ends flagged as set.
tool_block* MakeLineRow(const XYZ& start, const XYZ& end);

// A new arc move from `start` to `end` about `centre`, running
// counter-clockwise about `normal`: a full circle when start and end agree
// (within 1e-7) and enclose no angle. Its nc_arc holds the centre, the
// points 10 from the centre towards the start and a quarter turn on from
// there, the start, the end, the radius and the (positive) sweep. Null when
// the arc has no plane (the centre on the start, or the normal along the
// radius).
tool_block* MakeArcRow(const XYZ& start, const XYZ& end, const XYZ& centre, const VECTOR& normal);

}  // namespace zu
