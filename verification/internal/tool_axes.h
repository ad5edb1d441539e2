// The tool axes of a five-axis program read back against the file's. Each
// sample of a feed move (tool_tip.h) finds the expected move whose path its
// tip lies on, searched forward from the one found before (both run in the
// program's order), and its axis is measured against the file's axes over
// that move: the angle to the nearest axis on the great circle from the
// move's start axis to its end axis. How the axis turns between the two is
// the control's or the linearisation's; that it stays on that arc is what
// the file asks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cutmodel/cut_model.h"
#include "verification/internal/tool_tip.h"

namespace zu::verify::internal {

struct AxisComparison {
  std::uint64_t compared = 0;  // samples found on an expected five-axis move
  double largest_degrees = 0;
  std::uint32_t path = 0;  // where the largest is: the path's index
  int step = -1;           // and step
  cut::Vec point;
};

// `tolerance` (mm): how far a sample's tip may lie from a move's path to be
// taken as on it.
AxisComparison CompareToolAxes(const cut::Program& expected, const std::vector<AxisSample>& samples,
                               double tolerance);

}  // namespace zu::verify::internal
