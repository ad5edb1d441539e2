// The post module programs' record for tests: when ZU_POSTMODULE_RECORD
// names a file, each line is appended to it as it happens.
#pragma once

#include <string>

namespace postmodule {

void RecordLine(const std::string& line);

}  // namespace postmodule
