#include "host/path_optimizer.h"

#include <cstdio>
#include <string>

#include "hostapp/host_session.h"

namespace {

PathOptLimits limits;

void Tell(const char* what, double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  zuhost::HostSession::Current().Event(std::string("optimiser ") + what + " " + text);
}

}  // namespace

void PathOptSetMaxArcRadius(double radius) {
  limits.max_arc_radius = radius;
  Tell("max arc radius", radius);
}

void PathOptSetMinArcRadius(double radius) {
  limits.min_arc_radius = radius;
  Tell("min arc radius", radius);
}

void PathOptSetMinSectionLine(double precision) {
  limits.min_section_line = precision;
  Tell("min section line", precision);
}

PathOptLimits PathOptGetLimits() {
  return limits;
}
