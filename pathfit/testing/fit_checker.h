// An independent check of what the fitter gives, for tests and benchmarks.
// It shares nothing with the fitter but the element type: its own geometry,
// and a plain sampled test rather than the fitter's exact ones.
//
// A chain of elements passes for a run of points when
// - it starts exactly (bit for bit) at the first point, ends exactly at the
//   last, and each element ends exactly where the next one starts;
// - every element is well formed within the limits: lines at least
//   min_section_line long; arcs with a normal of +-X, +-Y or +-Z, start, end
//   and centre at the same height along it, start and end at the radius from
//   the centre, the end where the sweep says, radius within [min_arc_radius,
//   max_arc_radius], sweep within (0, max_arc_sweep], at least
//   min_section_line long;
// - every input point lies within the tolerance of the chain, and the points
//   follow it in order: each lies within the tolerance of the part of the
//   chain beyond twice the tolerance behind the farthest place an earlier
//   point reached (a run that goes back over itself is not folded into one
//   pass);
// - every point of the chain, sampled at most a quarter of the tolerance
//   apart along it (both ends included), lies within the tolerance of the
//   polyline through the input points.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "pathfit/fit.h"

namespace zu::pathfit::check {

struct CheckReport {
  std::size_t points_far = 0;        // input points farther than the tolerance from the chain
  std::size_t points_backwards = 0;  // near the chain, but only behind where earlier points were
  std::size_t samples = 0;           // curve samples taken
  std::size_t samples_far = 0;       // samples farther than the tolerance from the polyline
  std::size_t bad_elements = 0;      // malformed or out of the limits
  std::size_t bad_joins = 0;         // ends not exactly where they belong (or no element)
  double worst_point = 0;            // largest distance found from an input point to the chain
  double worst_sample = 0;           // largest distance found from a sample to the polyline
  bool scans_capped = false;         // too many full searches: remaining misses counted as far
  std::string first_problem;         // empty when there is none

  std::size_t violations() const {
    return points_far + points_backwards + samples_far + bad_elements + bad_joins;
  }
  bool ok() const { return violations() == 0; }
};

// Checks `elements` against `points` as described above.
CheckReport CheckFit(std::span<const XYZ> points, std::span<const FitElement> elements,
                     const FitLimits& limits);

// What is wrong with one element under `limits`, or an empty text.
std::string ElementProblem(const FitElement& element, const FitLimits& limits);

// The distance from `p` to the element (exact, not sampled).
double DistanceToElement(const XYZ& p, const FitElement& element);

// Whether every point lies within `tolerance` of the single element, in
// order (as CheckFit has it).
bool PointsFollow(std::span<const XYZ> points, const FitElement& element, double tolerance);

}  // namespace zu::pathfit::check
