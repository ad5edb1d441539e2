#include "verification/internal/geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace zu::verify::internal {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kTurn = 2 * std::numbers::pi;

// A segment from a to a + ab, with the square of its length.
struct Segment {
  Segment(const Vec& from, const Vec& to) : a(from), ab(to - from), squared(Dot(ab, ab)) {}
  Vec a;
  Vec ab;
  double squared;
};

// The square of the distance from p to the segment.
double SquaredDistance(const Vec& p, const Segment& s) {
  double t = s.squared > 0 ? Dot(p - s.a, s.ab) / s.squared : 0;
  t = std::clamp(t, 0.0, 1.0);
  const Vec off = p - (s.a + t * s.ab);
  return Dot(off, off);
}

double SegmentDistance(const Vec& p, const Vec& a, const Vec& b) {
  return std::sqrt(SquaredDistance(p, Segment(a, b)));
}

double ArcDistance(const Vec& p, const Piece& arc) {
  const Vec d = p - arc.centre;
  const double along = Dot(d, arc.axis);
  const double du = Dot(d, arc.u);
  const double dv = Dot(d, arc.v);
  double angle = std::atan2(dv, du);
  if (angle < 0)
    angle += kTurn;
  double best = kInfinity;
  if (angle <= arc.sweep) {
    const double height = arc.rise * angle / arc.sweep;
    const double across = std::sqrt(du * du + dv * dv) - arc.radius;
    best = std::sqrt(across * across + (along - height) * (along - height));
  }
  return std::min({best, Distance(p, arc.start), Distance(p, arc.end)});
}

std::size_t Intervals(const Piece& piece) {
  if (!piece.arc)
    return 2;
  const double count = std::ceil(piece.sweep / (std::numbers::pi / 8));
  // A sweep of NaN samples the ends only.
  if (!(count >= 2))
    return 2;
  return static_cast<std::size_t>(std::min(count, 16.0));
}

// Keeps the larger distance and its point; NaN counts as infinite.
void Keep(Farthest& out, double distance, const Vec& point) {
  if (!(distance <= out.distance)) {
    out.distance = distance >= 0 ? distance : kInfinity;
    out.point = point;
  }
}

// Calls f(point) for the piece's points at fractions 0, 1/n, ..., 1; an
// arc's by turning the first by a fixed angle (one sine and cosine).
template <class F>
void ForEachSample(const Piece& piece, std::size_t n, F f) {
  const double step = 1.0 / static_cast<double>(n);
  if (!piece.arc) {
    for (std::size_t s = 0; s <= n; ++s)
      f(PointAt(piece, static_cast<double>(s) * step));
    return;
  }
  const double c = std::cos(piece.sweep * step);
  const double sn = std::sin(piece.sweep * step);
  double cos_k = 1;
  double sin_k = 0;
  for (std::size_t s = 0; s < n; ++s) {
    const double t = static_cast<double>(s) * step;
    f(piece.centre + (piece.radius * cos_k) * piece.u + (piece.radius * sin_k) * piece.v +
      (t * piece.rise) * piece.axis);
    const double next = cos_k * c - sin_k * sn;
    sin_k = sin_k * c + cos_k * sn;
    cos_k = next;
  }
  f(piece.end);
}

}  // namespace

Piece MakeLine(const Vec& start, const Vec& end) {
  Piece line;
  line.start = start;
  line.end = end;
  return line;
}

Piece MakeArc(const Vec& start, const Vec& end, const Vec& centre, const Vec& axis) {
  const double axis_length = Norm(axis);
  if (!(axis_length > 0))
    return MakeLine(start, end);
  Piece arc;
  arc.arc = true;
  arc.start = start;
  arc.end = end;
  arc.axis = (1 / axis_length) * axis;
  arc.centre = centre + Dot(start - centre, arc.axis) * arc.axis;
  const Vec to_start = start - arc.centre;
  arc.radius = Norm(to_start);
  if (!(arc.radius > 1e-12))
    return MakeLine(start, end);
  arc.u = (1 / arc.radius) * to_start;
  arc.v = Cross(arc.axis, arc.u);
  const Vec to_end = end - arc.centre;
  arc.rise = Dot(to_end, arc.axis);
  const Vec in_plane = to_end - arc.rise * arc.axis;
  if (Distance(in_plane, to_start) <= 1e-9) {
    arc.sweep = kTurn;
  } else {
    arc.sweep = std::atan2(Dot(in_plane, arc.v), Dot(in_plane, arc.u));
    if (arc.sweep <= 0)
      arc.sweep += kTurn;
  }
  return arc;
}

double Length(const Piece& piece) {
  if (!piece.arc)
    return Distance(piece.start, piece.end);
  const double turned = piece.radius * piece.sweep;
  return std::sqrt(turned * turned + piece.rise * piece.rise);
}

Vec PointAt(const Piece& piece, double t) {
  if (!piece.arc)
    return piece.start + t * (piece.end - piece.start);
  if (t >= 1)
    return piece.end;
  const double angle = t * piece.sweep;
  return piece.centre + (piece.radius * std::cos(angle)) * piece.u +
         (piece.radius * std::sin(angle)) * piece.v + (t * piece.rise) * piece.axis;
}

double DistanceTo(const Vec& point, const Piece& piece) {
  const double d =
      piece.arc ? ArcDistance(point, piece) : SegmentDistance(point, piece.start, piece.end);
  return d >= 0 ? d : kInfinity;
}

Farthest Directed(std::span<const Piece> from, std::span<const Piece> to) {
  Farthest out;
  std::size_t k = 0;
  for (std::size_t i = 0; i < from.size(); ++i) {
    ForEachSample(from[i], Intervals(from[i]), [&](const Vec& p) {
      // The nearest piece lies at or after the one the last sample was
      // nearest to, give or take one: both runs go the same way. Walk on
      // while the pieces come nearer, and three past the last that did (a
      // neighbour may be nearer than the first pieces ahead).
      double d = DistanceTo(p, to[k]);
      std::size_t best = k;
      std::size_t nearing = k;
      double last = d;
      for (std::size_t w = k + 1; w < to.size() && w <= nearing + 3; ++w) {
        const double dw = DistanceTo(p, to[w]);
        if (dw < last)
          nearing = w;
        if (dw < d) {
          d = dw;
          best = w;
        }
        last = dw;
      }
      if (k > 0)
        d = std::min(d, DistanceTo(p, to[k - 1]));
      k = best;
      if (!(d <= out.distance)) {
        out.distance = d;
        out.point = p;
        out.piece = i;
      }
    });
  }
  return out;
}

Farthest SegmentsApart(const Vec& a0, const Vec& a1, const Vec& b0, const Vec& b1) {
  // The squares compared and the root taken of the largest only: the same
  // distance, the root being monotonic.
  const Segment a(a0, a1);
  const Segment b(b0, b1);
  const double squares[] = {SquaredDistance(a0, b), SquaredDistance(a1, b), SquaredDistance(b0, a),
                            SquaredDistance(b1, a)};
  const Vec* points[] = {&a0, &a1, &b0, &b1};
  double largest = 0;
  int at = -1;
  for (int i = 0; i < 4; ++i) {
    const double squared = squares[i];
    if (!(squared <= largest)) {
      largest = squared >= 0 ? squared : kInfinity;
      at = i;
    }
  }
  Farthest out;
  if (at >= 0) {
    out.distance = std::sqrt(largest);
    out.point = *points[at];
  }
  return out;
}

Farthest LinesApart(const Piece& a, const Piece& b) {
  if (!a.arc && !b.arc)
    return SegmentsApart(a.start, a.end, b.start, b.end);
  Farthest out;
  const Vec* points[] = {&a.start, &a.end, &b.start, &b.end};
  for (int i = 0; i < 4; ++i)
    Keep(out, DistanceTo(*points[i], i < 2 ? b : a), *points[i]);
  return out;
}

Farthest ArcsApart(const Piece& a, const Piece& b) {
  Vec points[5];
  std::size_t count = 0;
  ForEachSample(a, 4, [&](const Vec& p) { points[count++] = p; });
  Farthest out;
  count = 0;
  ForEachSample(b, 4, [&](const Vec& p) {
    Keep(out, Distance(points[count], p), points[count]);
    ++count;
  });
  return out;
}

namespace {

// The stretch of `whole` from angle `from` to angle `to` (radians along it).
Piece Stretch(const Piece& whole, double from, double to) {
  Piece part;
  part.arc = true;
  part.axis = whole.axis;
  part.radius = whole.radius;
  part.u = std::cos(from) * whole.u + std::sin(from) * whole.v;
  part.v = Cross(whole.axis, part.u);
  part.centre = whole.centre + (whole.rise * from / whole.sweep) * whole.axis;
  part.sweep = to - from;
  part.rise = whole.rise * part.sweep / whole.sweep;
  part.start = part.centre + whole.radius * part.u;
  part.end = part.centre + (whole.radius * std::cos(part.sweep)) * part.u +
             (whole.radius * std::sin(part.sweep)) * part.v + part.rise * part.axis;
  return part;
}

}  // namespace

bool SplitArcApart(const Piece& whole, std::span<const Piece> parts, Farthest& out) {
  // How far a part's own sweep may differ from the angle it spans along
  // `whole` before it is not taken as a stretch of it.
  constexpr double kSlack = 0.1;
  if (!whole.arc || parts.empty())
    return false;
  const auto angle = [&](const Vec& p) {
    const Vec d = p - whole.centre;
    return std::atan2(Dot(d, whole.v), Dot(d, whole.u));
  };
  Farthest far;
  Keep(far, Distance(whole.start, parts.front().start), whole.start);
  Keep(far, Distance(whole.end, parts.back().end), whole.end);
  double from = angle(parts.front().start);
  for (const Piece& part : parts) {
    if (!part.arc || !(Dot(part.axis, whole.axis) >= 0.999))
      return false;
    double to = angle(part.end);
    while (to < from)
      to += kTurn;
    if (!(std::fabs(to - from - part.sweep) <= kSlack) || to > whole.sweep + kSlack)
      return false;
    const Farthest apart = ArcsApart(Stretch(whole, from, to), part);
    Keep(far, apart.distance, apart.point);
    from = to;
  }
  out = far;
  return true;
}

}  // namespace zu::verify::internal
