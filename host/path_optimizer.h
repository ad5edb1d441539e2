// The host's path optimiser: its limits, set once per post command. The
// fitting itself is declared with the optimisation step that uses it.
#pragma once

#include "host/host_api.h"

ZUHOST_API void PathOptSetMaxArcRadius(double radius);
ZUHOST_API void PathOptSetMinArcRadius(double radius);
ZUHOST_API void PathOptSetMinSectionLine(double precision);
