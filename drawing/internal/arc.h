// An arc move as a frame in space: the points along it, the points where a
// direction is largest or smallest along it (for the box around a
// picture), and its points sampled within a chord error.
#pragma once

#include <optional>
#include <vector>

#include "drawing/picture.h"

namespace zu::draw::internal {

Point Add(const Point& a, const Point& b);
Point Sub(const Point& a, const Point& b);
Point Scale(double s, const Point& a);
double Dot(const Point& a, const Point& b);
Point Cross(const Point& a, const Point& b);
double Norm(const Point& a);

struct ArcFrame {
  Point centre;  // in the start's plane
  Point start;   // the move's start
  Point a;       // unit, centre to start
  Point b;       // unit, normal x a
  Point normal;  // unit
  double radius = 0;
  double sweep = 0;  // signed radians, positive counter-clockwise about the normal
  double rise = 0;   // along the normal, start to end

  // The point turned `angle` radians from the start (in the sweep's
  // direction when the angle has the sweep's sign), risen in proportion.
  Point At(double angle) const;
};

// The arc's frame; nullopt where the move is no arc one can draw (a normal
// of no length, a start on the centre, no sweep): it is drawn straight.
std::optional<ArcFrame> FrameOf(const Move& move);

// The angles (within the sweep) where the arc's component along
// `direction` is largest or smallest, the ends not included.
std::vector<double> ExtremeAngles(const ArcFrame& arc, const Point& direction);

// Points along the arc from its start to its end, no chord farther than
// `tolerance` from the arc (at most kMaxSegments pieces: a larger arc is
// drawn coarser).
inline constexpr int kMaxSegments = 20000;
std::vector<Point> SampleArc(const ArcFrame& arc, double tolerance);

}  // namespace zu::draw::internal
