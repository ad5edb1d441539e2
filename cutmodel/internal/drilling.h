// What both files' drilling records mean as a cycle: the cycle by the drill
// mode, and each hole's levels.
#pragma once

#include <optional>
#include <string>

#include "cutmodel/cut_model.h"

namespace zu::cut::internal {

// The ISO cycle of a drill mode: 73 and 81 to 86, 89 as they stand; 0 to 9
// as 80 plus the mode (0 and 1: 81), but for 7 and 8, which name no cycle.
// None for any other mode.
std::optional<int> CycleOfDrillMode(int mode);

struct DrillValues {
  int mode = 0;
  double feed = 0;
  double clearance = 0;
  double safe_distance = 0;
  double hole_depth = 0;
  double peck_depth = 0;
  double dwell_time = 0;
};

// Fills the path's cycle and holes from the values and the hole points (in
// the machine's frame); sets the path's refusal when the values make no
// cycle.
void SetDrilling(const DrillValues& values, const std::vector<Vec>& points, Path& path);

}  // namespace zu::cut::internal
