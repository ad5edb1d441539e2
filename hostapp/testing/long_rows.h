// Long five-axis rows for the tests of both roads: the host resamples a row
// into pieces of at most 500 points that share their boundary point (points
// 499 and 998 end up in two pieces), and a writer must cut and link such a
// row as if it were whole. Each case is one row for FiveAxisRowsPath: points
// along X one unit apart from x = 0, its cutting runs given by their first
// and last points. Portable.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zuhost::testing {

struct LongRow {
  const char* what;
  int points;
  // First and last point of each cutting run, in order: both get flag 0,
  // the points between them and those of the links flag 1.
  std::vector<std::pair<int, int>> runs;
  // Ranges of points (first, last) that are no path points (flag 255),
  // inside runs or links.
  std::vector<std::pair<int, int>> skipped = {};
};

// The row's flags, one per point.
std::vector<int> FlagsOf(const LongRow& row);

// Rows of 499, 500, 501, 800, 1,000 and 1,200 points, split inside a run,
// inside a link, on a flag-0 point and on a skipped point.
const std::vector<LongRow>& LongRows();

// Where two block lists part: empty when they are equal, else the first
// index at which they differ with both entries (a long list would flood a
// failure message).
std::string FirstDifference(const std::vector<std::string>& actual,
                            const std::vector<std::string>& expected);

}  // namespace zuhost::testing
