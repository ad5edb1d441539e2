// The text road: the picked paths written as the text tool-location file.
// Each picked two- or three-axis path is written from a working copy (drill
// records with their holes, mill records with their blocks), each five-axis
// path from a resampled clone; the picked paths are never changed.
#pragma once

#include <string>

#include "host/services.h"
#include "pathinput/axis_repeat_filter.h"
#include "toolloc_file/file_writer.h"
#include "toolloc_file/record_stream.h"

namespace zu {

// What the writer takes from the command: the settings and the files.
struct TextRoadOptions {
  std::string code_file;  // "[creategfile]": the code file to write
  std::string mcf_path;   // "[machine]": the NC system's .mcf file
  int use_jig_coord = 0;  // retract moves in the fixture system
  int jig_tool_axis = 2;  // their axis: 0 X, 1 Y, other Z
  double jig_tool_up_height = 500.0;
  int optimize = 0;  // fit straight cuts before writing
  double tolerance = 0.001;
  int optimizer_selector = 0;  // the registry's "Kvt": 0 our fitting, else the host's
};

// The state one file's path records share. A file starts from a fresh one,
// so that no file depends on an earlier one.
struct TextRoadState {
  int tool_index = 0;       // path records written so far
  int mill_paths = 0;       // mill paths written so far, for the prompt
  int last_feed_type = -2;  // the last feed type of the mill paths' blocks
  AxisRepeatFilter axis_filter;
  bool axis_point_written = true;  // the last five-axis point was not a repeat
  int axis_feed_type = -1;         // the last feed type of the five-axis blocks
};

// The whole file for the picked list from `first` (null: nothing at all) as
// records, in file order, to `out`. Prompts go to the host's prompt line.
void WriteToolLocationRecords(PickNode* first, const TextRoadOptions& options,
                              ToolLocationRecords& out);

// The same written to the file `path` (created or truncated, text mode).
// Fails when the file cannot be created or written, or a value has no text
// the file may hold; the file is then removed.
WriteResult WriteToolLocationFile(PickNode* first, const TextRoadOptions& options,
                                  const std::string& path);

}  // namespace zu
