// The text tool-location file as what is to be cut.
//
// How its records are read (docs/gcode-output.md):
// - points are in the path's coordinate system, or in the fixture system
//   when the file says the fixture is used; they are mapped into the
//   machine's frame (a tilted system refuses the path, unless read for a
//   machine with rotary axes);
// - a `feedtype` block gives the feed type of the move just before it and
//   of the moves after it up to the next one; the feed line holds the feeds
//   by code, as the post-path file's feeds by feed type; code 1, and every
//   code whose feed is negative, is a rapid move; a feed of 0 refuses the
//   path (a feed move without a feed);
// - `toolcmpflag` 1 or 2 starts compensation (left, right) on the move just
//   before it, 0 ends it on the move just before it;
// - `dwellflag` 0 dwells before the next move, 1 and 2 after the move just
//   written, for the time of the path's dwell text;
// - with the fixture used, the first block is the retract above the path's
//   start: a move at the first move's feed type from there to the home point
//   follows it, so that the path's first move starts where it should;
// - a drilling path's holes: top at the hole's point, bottom `holedepth`
//   below it (the depth's sign is not read: both signs are found in
//   practice), R plane `safedis` and initial plane `clearance` above it;
// - a five-axis record is refused where a tool axis turns away from the
//   machine's Z, and read as milling where it stays Z; read for a machine
//   with rotary axes, its lines take their `endpointvector` as tool axis
//   (arcs keep the axis before them), and a tilted system's paths are cut
//   in its plane (ModelOptions, cut_model.h); holes in a tilted system are
//   refused there.
#pragma once

#include "cutmodel/cut_model.h"
#include "toolloc_file/file_model.h"

namespace zu::cut {

Program FromToolLocationFile(const ToolLocationFile& file, const ModelOptions& options = {});

}  // namespace zu::cut
