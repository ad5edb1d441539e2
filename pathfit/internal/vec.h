// Plain 2D and 3D vector arithmetic for the fitter's own use, and the three
// planes arcs may lie in. Header-only.
#pragma once

#include <cmath>

#include "host/geometry.h"

namespace zu::pathfit::internal {

inline constexpr double kPi = 3.14159265358979323846;

struct Vec2 {
  double x = 0;
  double y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) {
  return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
  return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(double s, Vec2 a) {
  return {s * a.x, s * a.y};
}
inline double Dot(Vec2 a, Vec2 b) {
  return a.x * b.x + a.y * b.y;
}
inline double Cross(Vec2 a, Vec2 b) {
  return a.x * b.y - a.y * b.x;
}
inline double Norm(Vec2 a) {
  return std::sqrt(a.x * a.x + a.y * a.y);
}
// `a` turned a quarter counter-clockwise.
inline Vec2 Left(Vec2 a) {
  return {-a.y, a.x};
}

// The angle from direction a to direction b, (-pi, pi], within 2e-6
// radians: for bookkeeping that has room to spare, at a fraction of atan2's
// cost.
inline double RoughAngle(Vec2 a, Vec2 b) {
  const double y = Cross(a, b), x = Dot(a, b);
  const double ay = std::fabs(y), ax = std::fabs(x);
  if (ay == 0 && ax == 0)
    return 0;
  // atan on [0, 1] by a minimax polynomial in t = min / max.
  const double t = ay <= ax ? ay / ax : ax / ay;
  const double t2 = t * t;
  double r =
      t * (0.99997726 +
           t2 * (-0.33262347 +
                 t2 * (0.19354346 + t2 * (-0.11643287 + t2 * (0.05265332 + t2 * -0.01172120)))));
  if (ay > ax)
    r = kPi / 2 - r;
  if (x < 0)
    r = kPi - r;
  return y < 0 ? -r : r;
}

inline XYZ Sub(const XYZ& a, const XYZ& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline double Dot(const XYZ& a, const XYZ& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline XYZ Cross(const XYZ& a, const XYZ& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Norm(const XYZ& a) {
  return std::sqrt(Dot(a, a));
}
inline XYZ Scale(double s, const XYZ& a) {
  return {s * a.x, s * a.y, s * a.z};
}
inline XYZ Add(const XYZ& a, const XYZ& b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}

// Distance from p to the segment from a to b (3D).
inline double SegmentDistance(const XYZ& p, const XYZ& a, const XYZ& b) {
  const XYZ d = Sub(b, a);
  const XYZ ap = Sub(p, a);
  const double dd = Dot(d, d);
  double t = dd > 0 ? Dot(ap, d) / dd : 0.0;
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  return Norm(Sub(ap, Scale(t, d)));
}

// An axis plane, named by its normal axis (0 X, 1 Y, 2 Z). In-plane
// coordinates (u, v) are ordered so that counter-clockwise in (u, v) is
// counter-clockwise about the positive normal axis: XY uses (x, y), ZX uses
// (z, x), YZ uses (y, z).
struct AxisPlane {
  int axis = 2;

  static double Get(const XYZ& p, int i) { return i == 0 ? p.x : (i == 1 ? p.y : p.z); }
  static void Set(XYZ& p, int i, double value) { (i == 0 ? p.x : (i == 1 ? p.y : p.z)) = value; }

  int u_axis() const { return (axis + 1) % 3; }
  int v_axis() const { return (axis + 2) % 3; }
  double Height(const XYZ& p) const { return Get(p, axis); }
  Vec2 Project(const XYZ& p) const { return {Get(p, u_axis()), Get(p, v_axis())}; }
  // The point of the plane at height `height` with in-plane coordinates q.
  XYZ Lift(Vec2 q, double height) const {
    XYZ p;
    Set(p, axis, height);
    Set(p, u_axis(), q.x);
    Set(p, v_axis(), q.y);
    return p;
  }
  // The unit normal, positive or negative.
  XYZ Normal(bool positive) const {
    XYZ n;
    Set(n, axis, positive ? 1.0 : -1.0);
    return n;
  }
};

}  // namespace zu::pathfit::internal
