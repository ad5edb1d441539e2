// The post processor's report of a text tool-location file, written as the
// code file until G code is written: what it read (paths, tools, blocks, the
// box around the points the tool goes to). Portable.
#pragma once

#include <string_view>

#include "postmodule/report_text.h"

namespace postmodule {

// Reads `tool_location` (the file's bytes) and reports it; `source` and
// `machine_file` name the files in the report. A file that cannot be read
// gives ok false and a text whose line says where and why.
Report ReportToolLocationFile(std::string_view tool_location, std::string_view source,
                              std::string_view machine_file);

}  // namespace postmodule
