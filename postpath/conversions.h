// The main road's conversions: each turns one path into one bracket of the
// host's post-path writer (a parameter record, then its blocks).
#pragma once

#include <functional>

#include "host/path_model.h"
#include "host/post_path_writer.h"
#include "postpath/post_records.h"

namespace zu {

// What the conversions take from the settings of the command.
struct MainRoadOptions {
  int use_jig_coord = 0;  // orientation milling: paths in the fixture system
  int fix_mill_mode = 0;  // 0 five-axis orientation, 1 tilted plane keeping three axes
  int jig_tool_axis = 2;  // retract axis of the fixture system: 0 X, 1 Y, other Z
  double jig_tool_up_height = 500.0;
  double jig_tolerance = 0.005;  // chord tolerance of arcs in five-axis orientation
  int optimize = 0;
  double tolerance = 0.005;
  int optimizer_selector = 0;  // the registry's "Kvt"
  // Shows a message to the person (OK button); null shows nothing.
  std::function<void(const char*)> show_message;
};

// A two- or three-axis milling or drilling path, from its working copy:
// drilling paths as a drill record with their holes (no bracket when the
// path has no drilling record), milling paths as a mill record and one block
// per move, framed by fixture retracts when options.use_jig_coord is set.
// Returns 1 when a bracket was written, else 0.
int ConvertMillOrDrillPath(CPostPathWrite& writer, OrvoPath& path, int path_index,
                           const MainRoadOptions& options);

// A two- or three-axis path in five-axis orientation: every point in the
// fixture system with the path's Z direction as tool axis, arcs as chord
// points. A drilling path cannot be: it is announced to the person and
// written by ConvertMillOrDrillPath instead (then the result is 0).
int ConvertToFiveAxisOrientation(AxisBlockWriter& blocks, OrvoPath& path, int path_index,
                                 const MainRoadOptions& options);

// A multi-axis path (class 2302 or 2303), from a resampled clone of its
// own: record by record when a point has flag 2 or 3, else with links
// rebuilt between its cutting runs. Returns 1 when a bracket was written.
int ConvertMultiAxisPath(AxisBlockWriter& blocks, const OrvoPath& path, int path_index);

}  // namespace zu
