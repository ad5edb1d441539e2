// The main road's output: the picked paths written as the tool-location file
// through the host's post-path writer, with the conditioning each path gets
// first (optimisation, orientation milling).
#pragma once

#include <string>

#include "host/services.h"
#include "postpath/conversions.h"

namespace zu {

// What became of the file.
struct [[nodiscard]] PostPathResult {
  bool ok = true;
  std::string error;  // on failure: the writer's reason (ErrorText)
};

// Writes the post-path file `file` for the picked paths from `first` on:
// two- and three-axis paths (classes 2300, 2301) from working copies,
// optimised when options.optimize is set and converted by the orientation
// settings; multi-axis paths (2302, 2303) by their own conversion; other
// classes are skipped. `code_file` is the code file the post processor is to
// write (not used by the file). Fails, having written nothing more, when the
// file cannot be created or written; a null list writes nothing and fails.
PostPathResult WritePostPathFile(PickNode* first, const char* code_file, const char* file,
                                 const MainRoadOptions& options);

}  // namespace zu
