// The optimisation step's debug log: when the environment variable ZU_TRACE
// names a file, each trace line is appended to it; otherwise nothing is
// written. A log that cannot be opened is passed over: tracing never stops
// a post.
#pragma once

namespace zu {

// Appends one line, printf-formatted, to the trace file.
void OptimizerTrace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace zu
