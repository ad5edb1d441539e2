// The fitter's driver: merges points closer than the shortest element, then
// lays elements greedily, each reaching as far along the run as any line or
// arc from its start point can. The cone and region structures say, point by
// point in constant time, how far that may be; the exact tests of verify.h
// settle it on the few farthest candidates, so the whole run costs time in
// proportion to its length.
#include "pathfit/fit.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <new>
#include <optional>

#include "pathfit/internal/arc_region.h"
#include "pathfit/internal/line_cone.h"
#include "pathfit/internal/verify.h"

namespace zu::pathfit {

using internal::ArcGuess;
using internal::ArcRegion;
using internal::AxisPlane;
using internal::PlaneLineCone;
using internal::RunView;
using internal::SpaceLineCone;
using internal::Verdict;

namespace {

bool Finite(const XYZ& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

bool LimitsValid(const FitLimits& limits) {
  return std::isfinite(limits.tolerance) && limits.tolerance > 0 && limits.min_section_line >= 0 &&
         limits.min_section_line < limits.tolerance / 2 && limits.min_arc_radius >= 0 &&
         !(limits.max_arc_radius < limits.min_arc_radius) && !std::isnan(limits.max_arc_radius) &&
         limits.max_arc_sweep > 0 && limits.max_arc_sweep <= 2 * internal::kPi;
}

double Distance(const XYZ& a, const XYZ& b) {
  return internal::Norm(internal::Sub(a, b));
}

// Keeps the first and last point and drops every point closer than
// `min_length` to the point kept before it (the last point replaces kept
// points too close to it). Returns how far a dropped point may lie from the
// polyline that is left, or a negative number when nothing is left.
double MergeClosePoints(std::span<const XYZ> points, double min_length, std::vector<XYZ>& kept) {
  const auto close = [min_length](const XYZ& a, const XYZ& b) {
    const double d = Distance(a, b);
    return d < min_length || d == 0;
  };
  kept.clear();
  kept.reserve(points.size());
  kept.push_back(points.front());
  double moved = 0;
  for (std::size_t k = 1; k + 1 < points.size(); ++k) {
    if (close(points[k], kept.back())) {
      moved = std::max(moved, Distance(points[k], kept.back()));
      continue;
    }
    kept.push_back(points[k]);
  }
  const XYZ& last = points.back();
  bool replaced = false;
  while (kept.size() > 1 && close(kept.back(), last)) {
    kept.pop_back();
    replaced = true;
  }
  if (kept.size() == 1 && close(kept.back(), last))
    return -1;
  kept.push_back(last);
  // A point dropped next to a kept point that the last point replaced lies
  // within two such steps of the polyline.
  return replaced ? 2 * min_length : moved;
}

// The candidates found while scanning from one start point: the latest few
// of each kind; further back, at doubling distances, the latest whose number
// is a multiple of 4, 8, 16, ...; and the first, second, fourth, eighth, ...
// When the structures vouch for ends past what the exact tests allow (long,
// dense runs; points going back a little), the farthest end that passes is
// still near one of them.
template <typename T, std::size_t N>
class Latest {
 public:
  static constexpr std::size_t kLevels = 24;
  static constexpr std::size_t kMost = N + 2 * kLevels;

  void Clear() { next_ = 0; }
  void Push(const T& item) {
    items_[next_ % N] = item;
    ++next_;
    for (std::size_t k = 0; k < kLevels && next_ % (std::size_t{4} << k) == 0; ++k)
      levels_[k] = item;
    const int power = std::countr_zero(next_);
    if ((next_ >> power) == 1 && power < static_cast<int>(kLevels))
      firsts_[static_cast<std::size_t>(power)] = item;
  }
  // How many of the latest are held, and the one pushed `back` pushes
  // before the last (back < recent()).
  std::size_t recent() const { return std::min(next_, N); }
  const T& Newest(std::size_t back) const { return items_[(next_ - 1 - back) % N]; }
  // The latest items first, then the farther ones (some may repeat).
  std::size_t size() const {
    const std::size_t firsts = std::min<std::size_t>(std::bit_width(next_), kLevels);
    return std::min(next_, N) + Levels() + firsts;
  }
  const T& operator[](std::size_t k) const {
    const std::size_t recent = std::min(next_, N);
    if (k < recent)
      return items_[k];
    k -= recent;
    const std::size_t levels = Levels();
    return k < levels ? levels_[k] : firsts_[k - levels];
  }

 private:
  // How many levels hold an item: level k once 4 << k items were pushed.
  std::size_t Levels() const { return std::min<std::size_t>(std::bit_width(next_ >> 2), kLevels); }

  std::array<T, N> items_;
  std::array<T, kLevels> levels_;
  std::array<T, kLevels> firsts_;
  std::size_t next_ = 0;
};

// Sections longer than this in tau are narrowed in pieces of at most this
// (the tangent of sqrt(1 + tau^2) at a piece's middle then stays within half
// a per cent of it), at most so many.
constexpr double kPieceSpan = 0.2;
constexpr int kMostPieces = 16;
// Arc candidates ending within this many points of the start are all tried;
// farther ones only the latest few of each kind.
constexpr std::size_t kNearArcs = 64;
constexpr std::size_t kFewSure = 6;
constexpr std::size_t kFewOther = 4;

struct ArcCandidate {
  std::size_t j;
  int axis;
  ArcGuess guess;
};

class Fitter {
 public:
  explicit Fitter(const RunView& run) : run_(run) {}

  // The element from point i reaching as far as the structures and the exact
  // tests allow; returns the index of its end point.
  std::size_t Next(std::size_t i, FitElement& element);

 private:
  void StartLine(std::size_t i, std::size_t upto);
  bool TryArc(std::size_t i, const ArcCandidate& c, FitElement& element) const;

  RunView run_;
  std::array<bool, 3> planar_{};
  std::optional<int> line_plane_;  // the plane the line cone works in, if any
  PlaneLineCone plane_line_;
  SpaceLineCone space_line_;
  std::array<ArcRegion, 3> arcs_;
  // What the scan found: lines the cone allows (the latest few, and the
  // farthest it vouched for), arcs from inner polygons and from outer ones.
  // Arcs keep more of the latest: amid points scattered about the start the
  // scan runs some dozens of points past the last arc that fits, and the
  // ends that do fit lie scattered among those that do not (kNearArcs).
  Latest<std::size_t, 4> lines_;
  Latest<ArcCandidate, 32> sure_arcs_;
  Latest<ArcCandidate, 32> other_arcs_;
};

// Starts the line cone for start point i in a plane the points up to `upto`
// (excluded) all lie in, or in space, and adds those points.
void Fitter::StartLine(std::size_t i, std::size_t upto) {
  line_plane_.reset();
  for (int axis : {2, 1, 0}) {
    if (planar_[static_cast<std::size_t>(axis)]) {
      line_plane_ = axis;
      break;
    }
  }
  if (line_plane_) {
    plane_line_.Start(run_.points, i, AxisPlane{*line_plane_}, run_.tolerance);
    for (std::size_t k = i + 1; k < upto; ++k)
      plane_line_.Add(k);
  } else {
    space_line_.Start(run_.points, i, run_.tolerance);
    for (std::size_t k = i + 1; k < upto; ++k)
      space_line_.Add(k);
  }
}

// A circle of the candidate's section: the middle first when it comes from
// the inner polygon; then the middle of the part that the points allow; then
// a few other places. On a long section (circles far apart in tangent, as
// amid points scattered about the start) the tangent at its middle bounds
// sqrt(1 + tau^2) closely only near there: pieces of it are narrowed each on
// its own.
bool Fitter::TryArc(std::size_t i, const ArcCandidate& c, FitElement& element) const {
  internal::Vec2 centre;
  bool ccw;
  const auto fits_on = [&](const ArcGuess& guess, double t) {
    return internal::CircleAt(guess, t, run_.arc, centre, ccw) &&
           internal::ArcFits(run_, i, c.j, AxisPlane{c.axis}, centre, ccw, element);
  };
  const auto fits = [&](double t) { return fits_on(c.guess, t); };
  if (c.guess.sure && fits(0.5))
    return true;
  double lo, hi;
  if (internal::NarrowSection(c.guess, run_.points, i, c.j, AxisPlane{c.axis}, run_.tolerance, lo,
                              hi) &&
      fits((lo + hi) / 2))
    return true;
  for (double t : {0.25, 0.75}) {
    if (fits(t))
      return true;
  }
  if (!c.guess.sure && fits(0.5))
    return true;
  const double span = std::fabs(c.guess.second.y - c.guess.first.y);
  if (!(span > kPieceSpan))
    return false;
  const int pieces = static_cast<int>(std::min(std::ceil(span / kPieceSpan), double{kMostPieces}));
  const internal::Vec2 step = (1.0 / pieces) * (c.guess.second - c.guess.first);
  for (int k = 0; k < pieces; ++k) {
    ArcGuess piece = c.guess;
    piece.first = c.guess.first + static_cast<double>(k) * step;
    piece.second = piece.first + step;
    // A piece whose circles break the radius or sweep limits at both ends
    // and the middle is passed over.
    if (!internal::CircleAt(piece, 0, run_.arc, centre, ccw) &&
        !internal::CircleAt(piece, 0.5, run_.arc, centre, ccw) &&
        !internal::CircleAt(piece, 1, run_.arc, centre, ccw))
      continue;
    if (internal::NarrowSection(piece, run_.points, i, c.j, AxisPlane{c.axis}, run_.tolerance, lo,
                                hi) &&
        fits_on(piece, (lo + hi) / 2))
      return true;
  }
  return false;
}

std::size_t Fitter::Next(std::size_t i, FitElement& element) {
  const XYZ& origin = run_.points[i];
  planar_ = {true, true, true};
  StartLine(i, i + 1);
  for (int axis = 0; axis < 3; ++axis)
    arcs_[static_cast<std::size_t>(axis)].Start(run_.points, i, AxisPlane{axis}, run_.arc);
  lines_.Clear();
  sure_arcs_.Clear();
  other_arcs_.Clear();
  std::size_t sure_line = i + 1;  // the segment to the next point always fits

  for (std::size_t j = i + 1; j < run_.count; ++j) {
    const XYZ& p = run_.points[j];
    bool line_plane_lost = false;
    for (int axis = 0; axis < 3; ++axis) {
      const std::size_t a = static_cast<std::size_t>(axis);
      if (planar_[a] && AxisPlane::Get(p, axis) != AxisPlane::Get(origin, axis)) {
        planar_[a] = false;
        arcs_[a].Kill();
        if (line_plane_ == axis)
          line_plane_lost = true;
      }
    }
    if (line_plane_lost)
      StartLine(i, j);

    const Verdict verdict = line_plane_ ? plane_line_.Advance(j) : space_line_.Advance(j);
    if (verdict != Verdict::kNo)
      lines_.Push(j);
    if (verdict == Verdict::kYes)
      sure_line = j;
    bool alive = line_plane_ ? plane_line_.alive() : space_line_.alive();
    for (int axis = 0; axis < 3; ++axis) {
      ArcRegion& region = arcs_[static_cast<std::size_t>(axis)];
      if (!region.alive())
        continue;
      ArcCandidate c;
      // An arc to the next point never reaches farther than the line does.
      if (region.Advance(j, c.guess) && j > i + 1) {
        c.j = j;
        c.axis = axis;
        if (c.guess.sure)
          sure_arcs_.Push(c);
        else
          other_arcs_.Push(c);
      }
      alive = alive || region.alive();
    }
    if (!alive)
      break;
  }

  // The farthest candidate that passes the exact tests; lines first at equal
  // reach.
  struct Ref {
    std::size_t j;
    const ArcCandidate* arc;  // null for a line
  };
  std::array<Ref, decltype(lines_)::kMost + 1 + decltype(sure_arcs_)::kMost +
                      decltype(other_arcs_)::kMost>
      order;
  std::size_t n = 0;
  for (std::size_t k = 0; k < lines_.size(); ++k) {
    if (lines_[k] != sure_line)
      order[n++] = {lines_[k], nullptr};
  }
  order[n++] = {sure_line, nullptr};
  // Of the latest arcs, all while they end near the start (short elements
  // amid scattered points); past that only the last few, so that a long
  // element's failing ends cost a few exact tests each, as before.
  const auto add_arcs = [&](const auto& arcs, std::size_t few) {
    const std::size_t recent = arcs.recent();
    const std::size_t last_few = recent > few ? arcs.Newest(few - 1).j : 0;
    for (std::size_t k = 0; k < arcs.size(); ++k) {
      if (k < recent && arcs[k].j < last_few && arcs[k].j - i > kNearArcs)
        continue;
      order[n++] = {arcs[k].j, &arcs[k]};
    }
  };
  add_arcs(sure_arcs_, kFewSure);
  add_arcs(other_arcs_, kFewOther);
  std::sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(n),
            [](const Ref& x, const Ref& y) { return x.j != y.j ? x.j > y.j : (!x.arc && y.arc); });
  for (std::size_t k = 0; k < n; ++k) {
    const Ref& c = order[k];
    // The same end again (a level repeating a recent item) was tried.
    if (k > 0 && c.j == order[k - 1].j && (c.arc == nullptr) == (order[k - 1].arc == nullptr) &&
        (c.arc == nullptr || c.arc->axis == order[k - 1].arc->axis))
      continue;
    if (c.arc) {
      if (TryArc(i, *c.arc, element))
        return c.j;
    } else if (c.j == i + 1 || internal::LineFits(run_, i, c.j)) {
      element = FitElement{};
      element.start = origin;
      element.end = run_.points[c.j];
      return c.j;
    }
  }
  // Not reached: the segment to the next point is among the candidates.
  element = FitElement{};
  element.start = origin;
  element.end = run_.points[i + 1];
  return i + 1;
}

FitResult Fit(std::span<const XYZ> points, const FitLimits& limits) {
  FitResult result;
  if (points.size() < 2) {
    result.status = FitStatus::kTooFewPoints;
    return result;
  }
  for (const XYZ& p : points) {
    if (!Finite(p)) {
      result.status = FitStatus::kNonFinite;
      return result;
    }
  }
  if (!LimitsValid(limits)) {
    result.status = FitStatus::kBadLimits;
    return result;
  }
  // Most runs have nothing to merge and are read where they are.
  std::vector<XYZ> kept;
  double moved = 0;
  std::span<const XYZ> run_points = points;
  for (std::size_t k = 1; k < points.size(); ++k) {
    const double d = Distance(points[k], points[k - 1]);
    if (d < limits.min_section_line || d == 0) {
      moved = MergeClosePoints(points, limits.min_section_line, kept);
      run_points = kept;
      break;
    }
  }
  if (moved < 0) {
    result.status = FitStatus::kZeroLength;
    return result;
  }
  // Distances are compared with a little room for the rounding of the
  // coordinates, so that a check computed another way agrees.
  double scale = 0;
  for (const XYZ& p : run_points)
    scale = std::max({scale, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
  RunView run;
  run.points = run_points.data();
  run.count = run_points.size();
  run.tolerance = (limits.tolerance - moved) * (1 - 1e-9) - 64 * 2.3e-16 * scale;
  run.min_length = limits.min_section_line;
  run.arc.tolerance = run.tolerance;
  run.arc.min_radius = limits.min_arc_radius;
  run.arc.max_radius = limits.max_arc_radius;
  run.arc.max_sweep = limits.max_arc_sweep;
  if (!(run.tolerance > 0)) {
    result.status = FitStatus::kBadLimits;
    return result;
  }
  Fitter fitter(run);
  result.elements.reserve(std::min<std::size_t>(run.count, 64));
  std::size_t i = 0;
  while (i + 1 < run.count) {
    FitElement element;
    i = fitter.Next(i, element);
    result.elements.push_back(element);
  }
  return result;
}

}  // namespace

FitResult FitPolyline(std::span<const XYZ> points, const FitLimits& limits) {
  try {
    return Fit(points, limits);
  } catch (const std::bad_alloc&) {
    FitResult result;
    result.status = FitStatus::kOutOfMemory;
    return result;
  }
}

const char* FitStatusName(FitStatus status) {
  switch (status) {
    case FitStatus::kOk:
      return "ok";
    case FitStatus::kTooFewPoints:
      return "too few points";
    case FitStatus::kNonFinite:
      return "coordinate not finite";
    case FitStatus::kBadLimits:
      return "limits out of order";
    case FitStatus::kZeroLength:
      return "no length";
    case FitStatus::kOutOfMemory:
      return "out of memory";
  }
  return "unknown";
}

}  // namespace zu::pathfit
