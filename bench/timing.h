// Times a few bodies of work on the same footing and gives each one's time per
// item. Two harnesses sit behind this header: Google Benchmark where the build
// has it (timing_gbench.cpp, the native build) and a plain steady-clock loop
// where it has not (timing_loop.cpp, the Windows build: Debian packages Google
// Benchmark only for the native compiler).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace zu::bench {

// One body of work. Each call of `run` handles `items` items and returns a
// value computed from all of their results, so that no work can be dropped.
struct Timed {
  std::string name;
  std::size_t items;
  std::function<std::size_t()> run;
};

// Which time is kept: the time that passed, or the processor time the
// bodies used (less disturbed by other work on a busy machine; on Windows
// the loop harness's C runtime has only the time that passed).
enum class Clock { kWall, kProcessor };

// Runs every body, printing the harness's own table as it goes, and returns
// each one's time per item in nanoseconds, in order (NaN for a body the
// harness's options filtered out). The harness takes its options
// (--benchmark_*) out of argc/argv.
std::vector<double> TimeEach(int& argc, char** argv, const std::vector<Timed>& bodies,
                             Clock clock = Clock::kWall);

// The harness's name, for the report.
const char* HarnessName();

}  // namespace zu::bench
