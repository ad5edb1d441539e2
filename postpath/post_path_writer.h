// The main road's output: the picked paths written as a tool-location file
// through the host's post-path writer.
#pragma once

#include "host/services.h"

namespace zu {

// Writes the tool-location file `tool_location_file` for the picked paths
// from `first` on, for the code file `code_file`, optimising two-axis paths
// to `tolerance` when `optimize` is non-zero. Returns non-zero on success;
// entry point 1 does not examine it.
int WritePostPathFile(PickNode* first, const char* code_file, const char* tool_location_file,
                      int optimize, double tolerance);

}  // namespace zu
