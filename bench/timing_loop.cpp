#include "bench/timing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace zu::bench {
namespace {

using Steady = std::chrono::steady_clock;

volatile std::size_t sink;

double SecondsFor(const Timed& body, long calls, Clock clock) {
  const Steady::time_point start = Steady::now();
  const std::clock_t used = std::clock();
  std::size_t kept = 0;
  for (long i = 0; i < calls; ++i)
    kept += body.run();
  const std::chrono::duration<double> elapsed = Steady::now() - start;
  sink = sink + kept;
  if (clock == Clock::kProcessor)
    return static_cast<double>(std::clock() - used) / CLOCKS_PER_SEC;
  return elapsed.count();
}

}  // namespace

// Enough calls for a quarter of a second, then the best of five such batches:
// the best is the least disturbed by the rest of the machine.
std::vector<double> TimeEach(int&, char**, const std::vector<Timed>& bodies, Clock clock) {
  std::printf("%-40s %14s\n", "body", "ns per item");
  std::vector<double> nanoseconds;
  for (const Timed& body : bodies) {
    long calls = 1;
    while (SecondsFor(body, calls, clock) < 0.25)
      calls *= 2;
    double best = SecondsFor(body, calls, clock);
    for (int batch = 1; batch < 5; ++batch)
      best = std::min(best, SecondsFor(body, calls, clock));
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
