// FormatFixed20 against the C library's snprintf("%.20f"): first checks that
// both write the same bytes for over ten million values, then times both on
// the same values and prints how many times faster ours is. Exits non-zero on
// any difference.

#include "bench/timing.h"
#include "toolloc_file/fixed20.h"
#include "toolloc_file/tests/fixed20_samples.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace zu {
namespace {

using fixed20_samples::kTextRoom;

// The text the check holds ours to: snprintf's where it is exact, else
// std::to_chars's (which C++ defines to be printf's).
using Reference = std::string_view (*)(double, char*);

// Compares FormatFixed20 with `reference` on every sample; prints the count
// per family and the first differences; returns the number of differences.
std::size_t CheckSamples(Reference reference, const char* reference_name) {
  constexpr fixed20_samples::Counts kCounts{6000000, 1000000, 500000, 500000};
  std::map<std::string, std::size_t> compared;
  std::map<std::string, std::size_t> differing;
  std::size_t total = 0;
  std::size_t differences = 0;
  char ours[kFixed20MaxLength];
  char theirs[kTextRoom];
  fixed20_samples::ForEachSample(kCounts, [&](const char* family, double value) {
    ++compared[family];
    ++total;
    const std::string_view expected = reference(value, theirs);
    const std::string_view written(ours, FormatFixed20(value, ours));
    if (written == expected)
      return;
    ++differing[family];
    if (++differences <= 10)
      std::printf("DIFFERENCE %s: %a: ours %.*s, %s %.*s\n", family, value,
                  static_cast<int>(written.size()), written.data(), reference_name,
                  static_cast<int>(expected.size()), expected.data());
  });
  for (const auto& [family, count] : compared)
    std::printf("  %-14s %10zu values, %zu differences\n", family.c_str(), count,
                differing[family]);
  std::printf("equivalence: %zu values compared with %s, %zu differences\n", total, reference_name,
              differences);
  return differences;
}

// The timed values: random bit patterns with |v| in [2^-40, 2^24) (the range
// of coordinates), or any finite ones.
std::vector<double> TimedValues(bool full_range) {
  std::mt19937_64 rng(full_range ? 7 : 5);
  std::vector<double> values;
  while (values.size() < 4096) {
    const double value = full_range
                             ? std::bit_cast<double>(rng())
                             : fixed20_samples::FromParts(
                                   (rng() & 1) != 0, -40 + static_cast<int>(rng() % 64), rng());
    if (std::isfinite(value))
      values.push_back(value);
  }
  return values;
}

// Whether ours writes the reference's bytes for every timed value.
bool SameBytes(const std::vector<double>& values, Reference reference) {
  char ours[kFixed20MaxLength];
  char theirs[kTextRoom];
  for (double value : values) {
    if (std::string_view(ours, FormatFixed20(value, ours)) != reference(value, theirs))
      return false;
  }
  return true;
}

void PrintRatio(const char* values, double snprintf_ns, double ours_ns, const char* same) {
  if (std::isnan(snprintf_ns) || std::isnan(ours_ns)) {
    std::printf("fixed20: %s not timed (filtered out)\n", values);
    return;
  }
  std::printf(
      "fixed20: %.1fx faster than snprintf(\"%%.20f\") per number (%s) - %s: %.1f ns vs %.1f ns\n",
      snprintf_ns / ours_ns, same, values, ours_ns, snprintf_ns);
}

}  // namespace
}  // namespace zu

int main(int argc, char** argv) {
  using namespace zu;

  std::string failure;
  const bool snprintf_exact = fixed20_samples::SnprintfIsExact(&failure);
  Reference reference = fixed20_samples::SnprintfFixed20;
  const char* reference_name = "snprintf(\"%.20f\")";
  if (!snprintf_exact) {
    std::printf("note: this C library is not exact: %s\n", failure.c_str());
    std::printf("note: checking against std::to_chars(fixed, 20) instead\n");
    reference = fixed20_samples::ToCharsFixed20;
    reference_name = "std::to_chars(fixed, 20)";
  }
  std::size_t differences = CheckSamples(reference, reference_name);

  const std::vector<double> coordinates = TimedValues(false);
  const std::vector<double> full_range = TimedValues(true);
  const auto with_snprintf = [](const std::vector<double>& values) {
    return [all = &values] {
      char text[kTextRoom];
      std::size_t kept = 0;
      for (double value : *all)
        kept += static_cast<std::size_t>(std::snprintf(text, sizeof text, "%.20f", value));
      return kept + static_cast<unsigned char>(text[0]);
    };
  };
  const auto with_ours = [](const std::vector<double>& values) {
    return [all = &values] {
      char text[kFixed20MaxLength];
      std::size_t kept = 0;
      for (double value : *all)
        kept += FormatFixed20(value, text);
      return kept + static_cast<unsigned char>(text[0]);
    };
  };
  const std::vector<bench::Timed> bodies = {
      {"snprintf/coordinates", coordinates.size(), with_snprintf(coordinates)},
      {"FormatFixed20/coordinates", coordinates.size(), with_ours(coordinates)},
      {"snprintf/full_range", full_range.size(), with_snprintf(full_range)},
      {"FormatFixed20/full_range", full_range.size(), with_ours(full_range)},
  };
  std::printf("timing with %s, %zu values per call\n", bench::HarnessName(), coordinates.size());
  std::fflush(stdout);
  const std::vector<double> ns = bench::TimeEach(argc, argv, bodies);

  const bool same_bytes = SameBytes(coordinates, reference) && SameBytes(full_range, reference);
  if (!same_bytes)
    ++differences;
  const char* same = !same_bytes      ? "DIFFERENT bytes on the timed values"
                     : snprintf_exact ? "same bytes"
                                      : "same bytes as std::to_chars; snprintf not exact here";
  PrintRatio("coordinates |v| in [2^-40, 2^24)", ns[0], ns[1], same);
  PrintRatio("any finite double", ns[2], ns[3], same);
  if (differences != 0) {
    std::printf("FAILED: %zu differences\n", differences);
    return 1;
  }
  return 0;
}
