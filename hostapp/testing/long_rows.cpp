#include "hostapp/testing/long_rows.h"

#include <algorithm>

namespace zuhost::testing {

std::vector<int> FlagsOf(const LongRow& row) {
  std::vector<int> flags(static_cast<std::size_t>(row.points), 1);
  for (const auto& [first, last] : row.runs) {
    flags[static_cast<std::size_t>(first)] = 0;
    flags[static_cast<std::size_t>(last)] = 0;
  }
  for (const auto& [first, last] : row.skipped) {
    for (int i = first; i <= last; ++i)
      flags[static_cast<std::size_t>(i)] = 255;
  }
  return flags;
}

const std::vector<LongRow>& LongRows() {
  static const std::vector<LongRow> rows = {
      {"499 points, one run", 499, {{0, 498}}},
      {"499 points, two runs", 499, {{0, 200}, {300, 498}}},
      {"500 points, two runs", 500, {{0, 100}, {300, 499}}},
      {"501 points, split inside a run", 501, {{0, 300}, {450, 500}}},
      {"501 points, split inside the link the path ends in", 501, {{0, 400}}},
      {"800 points, split inside a link", 800, {{0, 450}, {600, 799}}},
      {"1000 points, split inside a run", 1000, {{0, 999}}},
      {"1000 points, split on a run's end", 1000, {{0, 499}, {700, 999}}},
      {"1000 points, split on a run's start", 1000, {{0, 300}, {499, 999}}},
      {"1000 points, split inside a link", 1000, {{0, 400}, {600, 999}}},
      {"1000 points, split on skipped points inside a run", 1000, {{0, 999}}, {{497, 502}}},
      {"1000 points, split on a skipped point inside a link",
       1000,
       {{0, 400}, {600, 999}},
       {{499, 499}}},
      {"1200 points, both splits on runs' ends", 1200, {{0, 499}, {700, 998}, {1100, 1199}}},
      {"1200 points, both splits inside one link", 1200, {{0, 450}, {1100, 1199}}},
      {"1200 points, splits inside a run and a link", 1200, {{0, 600}, {1000, 1199}}},
  };
  return rows;
}

std::string FirstDifference(const std::vector<std::string>& actual,
                            const std::vector<std::string>& expected) {
  const std::size_t n = std::max(actual.size(), expected.size());
  for (std::size_t i = 0; i < n; ++i) {
    const std::string a = i < actual.size() ? actual[i] : "(none)";
    const std::string e = i < expected.size() ? expected[i] : "(none)";
    if (a != e)
      return "block " + std::to_string(i) + ": " + a + ", expected " + e;
  }
  return {};
}

}  // namespace zuhost::testing
