#include "host/path_optimizer.h"

#include <cstdio>
#include <string>

#include "framework/text.h"
#include "hostapp/host_session.h"

namespace {

// The fitting limits, as the last post command set them; the fitting reads
// them when it is run.
struct Limits {
  double max_arc_radius = 9999;
  double min_arc_radius = 0.01;
  double min_section_line = 1e-7;
} limits;

void Tell(const char* what, double value) {
  zu::Text text;
  zuhost::HostSession::Current().Event(text.Format("optimiser %s %g", what, value).str());
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
