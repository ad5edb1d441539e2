#include "cutmodel/internal/drilling.h"

#include <algorithm>
#include <cmath>

namespace zu::cut::internal {

std::optional<int> CycleOfDrillMode(int mode) {
  switch (mode) {
    case 73:
    case 81:
    case 82:
    case 83:
    case 84:
    case 85:
    case 86:
    case 89:
      return mode;
    case 0:
      return 81;
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 9:
      return 80 + mode;
    default:
      return std::nullopt;
  }
}

void SetDrilling(const DrillValues& values, const std::vector<Vec>& points, Path& path) {
  const std::optional<int> cycle = CycleOfDrillMode(values.mode);
  if (!cycle) {
    path.refusal = "drill mode " + std::to_string(values.mode) + " names no drilling cycle";
    return;
  }
  if (!(values.feed > 0)) {
    path.refusal = "its drilling feed is not above 0";
    return;
  }
  const double depth = std::fabs(values.hole_depth);
  if (!(depth > 0)) {
    path.refusal = "its holes have no depth";
    return;
  }
  if ((*cycle == 83 || *cycle == 73) && !(values.peck_depth > 0)) {
    path.refusal = "a peck drilling cycle needs a peck depth above 0";
    return;
  }
  DrillCycle drilling;
  drilling.cycle = *cycle;
  if (values.dwell_time > 0 && drilling.cycle == 81) {
    // A dwell at the bottom asked of the plain drilling cycle: its variant
    // with the dwell.
    drilling.cycle = 82;
    path.notes.push_back("drilling with a dwell at the bottom: G82 for drill mode " +
                         std::to_string(values.mode));
  }
  const bool dwells = drilling.cycle != 83 && drilling.cycle != 73;
  if (values.dwell_time > 0 && !dwells)
    path.notes.push_back("a peck cycle has no dwell at the bottom: the dwell time is left out");
  const bool pecks = drilling.cycle == 83 || drilling.cycle == 73;
  if (values.peck_depth > 0 && !pecks)
    path.notes.push_back("cycle " + std::to_string(drilling.cycle) +
                         " does not peck: the peck depth is left out");
  drilling.feed = values.feed;
  drilling.peck = pecks ? values.peck_depth : 0;
  drilling.dwell_seconds = dwells ? std::max(0.0, values.dwell_time) : 0;
  path.drilling = drilling;
  const double safe = std::max(0.0, values.safe_distance);
  const double clearance = std::max(safe, values.clearance);
  for (const Vec& p : points) {
    Hole hole;
    hole.top = p;
    hole.bottom = p.z - depth;
    hole.r_plane = p.z + safe;
    hole.initial = p.z + clearance;
    path.holes.push_back(hole);
  }
}

}  // namespace zu::cut::internal
