#include "bench/timing.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>

namespace zu::bench {
namespace {

// The console table as usual, and each body's time per item kept for the
// caller.
class Recorder : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal: a custom reporter does not see
  // --benchmark_color.
  explicit Recorder(Clock clock)
      : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular), clock_(clock) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration || run.iterations == 0)
        continue;
      const double total =
          clock_ == Clock::kWall ? run.real_accumulated_time : run.cpu_accumulated_time;
      const double seconds = total / static_cast<double>(run.iterations);
      // With repetitions, the best one: the least disturbed by the machine.
      const auto [kept, added] = seconds_per_call.emplace(run.run_name.function_name, seconds);
      if (!added)
        kept->second = std::min(kept->second, seconds);
    }
    ConsoleReporter::ReportRuns(runs);
  }

  std::map<std::string, double> seconds_per_call;

 private:
  Clock clock_;
};

}  // namespace

std::vector<double> TimeEach(int& argc, char** argv, const std::vector<Timed>& bodies,
                             Clock clock) {
  benchmark::Initialize(&argc, argv);
  for (const Timed& body : bodies) {
    benchmark::RegisterBenchmark(body.name.c_str(), [&body](benchmark::State& state) {
      for (auto _ : state)
        benchmark::DoNotOptimize(body.run());
      state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(body.items));
    })->Unit(benchmark::kMicrosecond);
  }
  Recorder recorder(clock);
  benchmark::RunSpecifiedBenchmarks(&recorder);
  benchmark::ClearRegisteredBenchmarks();

  std::vector<double> nanoseconds;
  for (const Timed& body : bodies) {
    const auto found = recorder.seconds_per_call.find(body.name);
    nanoseconds.push_back(found == recorder.seconds_per_call.end()
                              ? NAN
                              : found->second * 1e9 / static_cast<double>(body.items));
  }
  return nanoseconds;
}

const char* HarnessName() {
  return "Google Benchmark";
}

}  // namespace zu::bench
