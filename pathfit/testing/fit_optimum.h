// The least number of elements for a run, with breakpoints at input points,
// by dynamic programming over every pair of points: what the fitter's element
// counts are measured against in tests and benchmarks. Shares nothing with
// the fitter but the element type.
//
// For each pair (i, j) the candidates are the line from point i to point j
// and, in each axis plane that points i to j all lie in, arcs through both
// points: among the circles through them, those keeping every point between
// within the tolerance (solved exactly, per point, as an interval of the
// arc's bulge) and no segment's midpoint deeper inside than the tolerance;
// the middle of the widest interval left is tried first. A candidate counts
// when it is well formed and the points follow it (check::PointsFollow);
// the elements of the cheapest chain are then put through check::CheckFit
// one by one, and any that fails is struck off and the chain found again,
// so the answer passes the checker.
//
// Time grows with the square of the run's length times the length of the
// elements: meant for runs up to a few thousand points (Chunks splits longer
// ones). From each start point, ends are tried until the gap after the last
// one that fitted exceeds max(32, twice that element's span).
#pragma once

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

#include "pathfit/fit.h"

namespace zu::pathfit::check {

struct Optimum {
  bool found = false;             // false for fewer than two points or no chain
  std::size_t count = 0;          // the least number of elements
  std::vector<FitElement> chain;  // those elements, when the search ran in full
  std::size_t struck_off = 0;     // candidates CheckFit refused
};

// `at_most`, when given, is the length of a chain known to pass CheckFit
// (the fitter's, say): with 1 the answer is 1 at once; with 2 it is 1 when
// one element stands for the whole run and 2 otherwise, without the full
// search (and without `chain`).
Optimum FitOptimum(std::span<const XYZ> points, const FitLimits& limits, std::size_t at_most = 0);

// Index ranges [first, last] covering points 0 to count - 1 in runs of at most
// max_points points (at least 2), consecutive ranges sharing their boundary
// point.
std::vector<std::pair<std::size_t, std::size_t>> Chunks(std::size_t count, std::size_t max_points);

}  // namespace zu::pathfit::check
