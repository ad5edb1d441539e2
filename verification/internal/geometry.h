// The pieces of a tool-tip path the verification measures: straight moves
// and arcs (helices included), in millimetres, with the distance from a
// point to a piece and the largest distance from one run of pieces to
// another, found by sampling.
#pragma once

#include <cmath>
#include <cstddef>
#include <span>

#include "cutmodel/cut_model.h"

namespace zu::verify::internal {

using cut::Vec;

inline Vec operator+(const Vec& a, const Vec& b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec operator-(const Vec& a, const Vec& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec operator*(double s, const Vec& a) {
  return {s * a.x, s * a.y, s * a.z};
}
inline double Dot(const Vec& a, const Vec& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec Cross(const Vec& a, const Vec& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Norm(const Vec& a) {
  return std::sqrt(Dot(a, a));
}
inline double Distance(const Vec& a, const Vec& b) {
  return Norm(a - b);
}

// A straight move, or an arc turning counter-clockwise about `axis` from
// `start` to `end` (which may lie above or below the start's plane: a
// helix). An arc whose start lies on its centre is kept as a straight move.
struct Piece {
  bool arc = false;
  Vec start;
  Vec end;
  // Arcs only: the centre in the start's plane, the unit axis, the radius,
  // the angle turned (0, 2 pi], the rise along the axis, and the plane's
  // directions u (centre to start) and v (axis x u).
  Vec centre;
  Vec axis;
  double radius = 0;
  double sweep = 0;
  double rise = 0;
  Vec u;
  Vec v;
};

Piece MakeLine(const Vec& start, const Vec& end);
// `centre` is taken into the start's plane; an end at the start (in the
// plane) is a full turn. An axis of no length makes a straight move.
Piece MakeArc(const Vec& start, const Vec& end, const Vec& centre, const Vec& axis);

double Length(const Piece& piece);
// The point a fraction t (0..1) along the piece.
Vec PointAt(const Piece& piece, double t);
// The shortest distance from `point` to the piece. For a helix, the distance
// to the helix point at the point's angle: exact for a plane arc, an upper
// bound close to it for helices of small pitch.
double DistanceTo(const Vec& point, const Piece& piece);

// Where the largest distance was found: the distance, the sampled point and
// the index of its piece in `from`.
struct Farthest {
  double distance = 0;
  Vec point;
  std::size_t piece = 0;
};

// The largest distance from the sampled points of `from` to the nearest of
// the pieces `to` (both runs in the order the tool follows them; the search
// moves forward along `to`). Straight moves are sampled at their ends and
// middle (a chord's farthest point from its arc), arcs every 22.5 degrees.
// NaN coordinates give an infinite distance. `to` must not be empty.
Farthest Directed(std::span<const Piece> from, std::span<const Piece> to);

// The exact Hausdorff distance between two straight moves (the distance to a
// segment is convex along a segment, so the largest lies at an end).
Farthest LinesApart(const Piece& a, const Piece& b);
// The same for the segments a0-a1 and b0-b1 given by their ends.
Farthest SegmentsApart(const Vec& a0, const Vec& a1, const Vec& b0, const Vec& b1);

// For two arcs about the same axis: the largest distance between the
// points at the same fraction of each, at every quarter. An upper bound of
// their Hausdorff distance, close to it for arcs that nearly agree. The
// point is on `a`.
Farthest ArcsApart(const Piece& a, const Piece& b);

// For an arc and the arcs it was split into (about the same axis, one
// after the other along it): each part against the stretch of `whole` it
// spans, as ArcsApart, and the ends of both. False, with `out` untouched,
// where the parts do not follow `whole` so; Directed then measures them.
bool SplitArcApart(const Piece& whole, std::span<const Piece> parts, Farthest& out);

}  // namespace zu::verify::internal
