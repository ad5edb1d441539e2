// The host's path optimiser: its limits, set once per post command. The
// fitting itself is declared with the optimisation step that uses it.
#pragma once

#include "host/host_api.h"

ZUHOST_API void PathOptSetMaxArcRadius(double radius);
ZUHOST_API void PathOptSetMinArcRadius(double radius);
ZUHOST_API void PathOptSetMinSectionLine(double precision);

// The limits as last set (for the host's own use and its tests).
struct PathOptLimits {
  double max_arc_radius = 9999;
  double min_arc_radius = 0.01;
  double min_section_line = 1e-7;
};
ZUHOST_API PathOptLimits PathOptGetLimits();
