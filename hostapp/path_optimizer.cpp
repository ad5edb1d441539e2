#include "host/path_optimizer.h"

#include <cmath>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "framework/text.h"
#include "host/row_ops.h"
#include "hostapp/host_session.h"
#include "pathfit/fit.h"

namespace {

using zu::pathfit::FitElement;
using zu::pathfit::FitLimits;
using zu::pathfit::FitResult;
using zu::pathfit::FitStatus;

// The fitting limits, as the last post command set them; every fit reads
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

FitLimits FitLimitsOf(const Limits& from, double tolerance) {
  FitLimits fit;
  fit.tolerance = tolerance;
  fit.min_arc_radius = from.min_arc_radius;
  fit.max_arc_radius = from.max_arc_radius;
  fit.min_section_line = from.min_section_line;
  return fit;
}

// The host's arc record of an element: the two axis points 10 from the
// centre, towards the start and a quarter turn on about the normal.
nc_arc* NewArcGeometry(const FitElement& e) {
  nc_arc* arc = NcNewArcGeom();
  const XYZ& c = e.centre;
  const double dx = e.start.x - c.x, dy = e.start.y - c.y, dz = e.start.z - c.z;
  const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
  const XYZ along = {dx / length, dy / length, dz / length};
  const XYZ& n = e.normal;
  const XYZ across = {n.y * along.z - n.z * along.y, n.z * along.x - n.x * along.z,
                      n.x * along.y - n.y * along.x};
  arc->centre = c;
  arc->second = {c.x + 10 * along.x, c.y + 10 * along.y, c.z + 10 * along.z};
  arc->third = {c.x + 10 * across.x, c.y + 10 * across.y, c.z + 10 * across.z};
  arc->fourth = e.start;
  arc->end = e.end;
  arc->radius = e.radius;
  arc->sweep = e.sweep;
  return arc;
}

tool_block* NewMove(const FitElement& e) {
  tool_block* move = NcNewRow();
  try {
    if (e.kind == FitElement::Kind::Arc) {
      move->kind = kMoveArc;
      move->host_byte_a1 = 245;
      move->geometry = NewArcGeometry(e);
    } else {
      move->kind = kMoveLine;
      tls* line = NcNewLineGeom(1);
      line[0].point = e.start;
      line[1].point = e.end;
      move->geometry = line;
    }
  } catch (...) {
    NcFreeRows(move);
    throw;
  }
  return move;
}

int StatusCode(FitStatus status) {
  switch (status) {
    case FitStatus::kOk:
      return 0;
    case FitStatus::kTooFewPoints:
      return 1;
    case FitStatus::kNonFinite:
    case FitStatus::kBadLimits:
      return 2;
    case FitStatus::kZeroLength:
      return 3;
    case FitStatus::kOutOfMemory:
      return 4;
  }
  return 4;
}

class PathOptimizer final : public CPathOptimize {
 public:
  void Prepare(int point_count, int) override {
    const std::size_t count = point_count > 0 ? static_cast<std::size_t>(point_count) : 0;
    elements_.clear();
    next_ = 0;
    try {
      points_.assign(count, XYZ{});
      set_.assign(count, 0);
    } catch (const std::bad_alloc&) {
      // No room: no points, so that Run fails.
      points_.clear();
      set_.clear();
    }
  }
  void SetPoint(int index, double x, double y, double z) override {
    if (index < 0 || static_cast<std::size_t>(index) >= points_.size())
      return;
    points_[static_cast<std::size_t>(index)] = {x, y, z};
    set_[static_cast<std::size_t>(index)] = 1;
  }
  int PointCount() const override { return static_cast<int>(points_.size()); }
  void SetLimits(double min_arc_radius, double max_arc_radius, double min_section_line) override {
    own_limits_ = Limits{max_arc_radius, min_arc_radius, min_section_line};
  }
  int ElementCount() const override { return static_cast<int>(elements_.size()); }
  int Run(double tolerance, double, double epsilon) override {
    elements_.clear();
    next_ = 0;
    for (char set : set_) {
      if (!set)
        return 0;
    }
    FitLimits fit = FitLimitsOf(own_limits_ ? *own_limits_ : limits, tolerance);
    if (std::isfinite(epsilon) && epsilon > fit.min_section_line && epsilon < tolerance / 2)
      fit.min_section_line = epsilon;
    FitResult result = zu::pathfit::FitPolyline(points_, fit);
    if (!result.ok())
      return 0;
    elements_ = std::move(result.elements);
    return static_cast<int>(elements_.size());
  }
  int NextElement(XYZ& start, XYZ& end, XYZ& centre, XYZ& normal, double& radius,
                  int& kind) override {
    if (next_ >= elements_.size())
      return 0;
    const FitElement& e = elements_[next_++];
    start = e.start;
    end = e.end;
    const bool arc = e.kind == FitElement::Kind::Arc;
    centre = arc ? e.centre : XYZ{};
    normal = arc ? e.normal : XYZ{};
    radius = arc ? e.radius : 0.0;
    kind = arc ? 1 : 0;
    return static_cast<int>(next_);
  }

 private:
  std::vector<XYZ> points_;
  std::vector<char> set_;
  std::optional<Limits> own_limits_;
  std::vector<FitElement> elements_;
  std::size_t next_ = 0;
};

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

int PathOptRun(const XYZ* points, int count, double tolerance, tool_block* holder) {
  if (!points || !holder || count < 2)
    return 1;
  tool_block* first = nullptr;
  try {
    const FitResult result = zu::pathfit::FitPolyline({points, static_cast<std::size_t>(count)},
                                                      FitLimitsOf(limits, tolerance));
    if (!result.ok())
      return StatusCode(result.status);
    tool_block** tail = &first;
    for (const FitElement& e : result.elements) {
      *tail = NewMove(e);
      tail = &(*tail)->next;
    }
    *tail = holder->next;
    holder->next = first;
    return 0;
  } catch (const std::bad_alloc&) {
    NcFreeRows(first);
    return 4;
  }
}

tool_block* NcRowOf(tool_block* element) {
  return element;
}

CPathOptimize* CPathOptimize::CreateObject() {
  return new (std::nothrow) PathOptimizer;
}

void CPathOptimize::FreeObject(CPathOptimize* object) {
  delete object;
}

CPathOptimize::~CPathOptimize() = default;
