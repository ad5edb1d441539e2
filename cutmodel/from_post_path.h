// The post-path file as what is to be cut.
//
// How its records are read (docs/gcode-output.md): points are in the
// bracket's coordinate system (the path's, or the fixture's), mapped into
// the machine's frame (a tilted system refuses the path); a block's feed
// type indexes the record's feeds, a negative feed being a rapid move and a
// feed of 0 refusing the path; a block's compensation is the side in force
// during its move; its dwell code dwells before it, after it, or both, for
// the time of the record's dwell text; the process's fixture retract height,
// where used, is the height the tool moves across at; a multi-axis or
// five-axis bracket is refused where its tool axis turns away from the
// machine's Z (its code needs rotary axes) and read as milling where it
// stays Z. Read for a machine with rotary axes, a line's vector is its
// tool axis and tilted systems are kept (as in from_tool_location.h).
// Drilling brackets as in from_tool_location.h.
#pragma once

#include "cutmodel/cut_model.h"
#include "postpath_file/file_model.h"

namespace zu::cut {

Program FromPostPathFile(const ppf::PostPathFile& file, const ModelOptions& options = {});

}  // namespace zu::cut
