#include "bench/timing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace zu::bench {
namespace {

using Clock = std::chrono::steady_clock;

volatile std::size_t sink;

double SecondsFor(const Timed& body, long calls) {
  const Clock::time_point start = Clock::now();
  std::size_t kept = 0;
  for (long i = 0; i < calls; ++i)
    kept += body.run();
  const std::chrono::duration<double> elapsed = Clock::now() - start;
  sink = sink + kept;
  return elapsed.count();
}

}  // namespace

// Enough calls for a quarter of a second, then the best of five such batches:
// the best is the least disturbed by the rest of the machine.
std::vector<double> TimeEach(int&, char**, const std::vector<Timed>& bodies) {
  std::printf("%-40s %14s\n", "body", "ns per item");
  std::vector<double> nanoseconds;
  for (const Timed& body : bodies) {
    long calls = 1;
    while (SecondsFor(body, calls) < 0.25)
      calls *= 2;
    double best = SecondsFor(body, calls);
    for (int batch = 1; batch < 5; ++batch)
      best = std::min(best, SecondsFor(body, calls));
    nanoseconds.push_back(best * 1e9 / static_cast<double>(calls) /
                          static_cast<double>(body.items));
    std::printf("%-40s %14.1f\n", body.name.c_str(), nanoseconds.back());
  }
  return nanoseconds;
}

const char* HarnessName() {
  return "steady-clock loop, best of 5";
}

}  // namespace zu::bench
