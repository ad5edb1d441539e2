#include "conditioning/optimizer_trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace zu {

void OptimizerTrace(const char* format, ...) {
  const char* path = std::getenv("ZU_TRACE");
  if (!path || !*path)
    return;
  std::FILE* log = std::fopen(path, "ab");
  if (!log)
    return;
  va_list args;
  va_start(args, format);
  std::vfprintf(log, format, args);
  va_end(args);
  std::fputs("\r\n", log);
  std::fclose(log);
}

}  // namespace zu
