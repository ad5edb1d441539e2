#include "postmodule/module_record.h"

#include <cstdio>
#include <cstdlib>

namespace postmodule {

void RecordLine(const std::string& line) {
  const char* path = std::getenv("ZU_POSTMODULE_RECORD");
  if (!path || !*path)
    return;
  if (std::FILE* file = std::fopen(path, "ab")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
}

}  // namespace postmodule
