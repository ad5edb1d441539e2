// The post processor's report of a post-path file (the main road's
// tool-location file, docs/post-path-file.md), written as the code file
// until G code is written: what it read (the process, each bracket with its
// path type, name and moves, the box around the points the tool goes to).
// Portable.
#pragma once

#include <string_view>

#include "postmodule/report_text.h"

namespace postmodule {

// Reads `post_path` (the file's bytes) and reports it; `source` and
// `machine_file` name the files in the report. A file that cannot be read
// gives ok false and a text of one line that says where and why.
Report ReportPostPathFile(std::string_view post_path, std::string_view source,
                          std::string_view machine_file);

}  // namespace postmodule
