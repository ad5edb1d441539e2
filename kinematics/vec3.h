// Three-component vectors of the kinematics library: points in millimetres
// and directions. Plain values; nothing here allocates.
#pragma once

#include <cmath>

namespace zu::kin {

struct Vec3 {
  double x = 0;
  double y = 0;
  double z = 0;
  friend bool operator==(const Vec3&, const Vec3&) = default;
};

constexpr Vec3 operator+(Vec3 a, Vec3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
constexpr Vec3 operator-(Vec3 a, Vec3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
constexpr Vec3 operator-(Vec3 a) {
  return {-a.x, -a.y, -a.z};
}
constexpr Vec3 operator*(double s, Vec3 a) {
  return {s * a.x, s * a.y, s * a.z};
}
constexpr double Dot(Vec3 a, Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
constexpr Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(Vec3 a) {
  return std::sqrt(Dot(a, a));
}
// `a` scaled to length 1; `a` itself when it has no length.
inline Vec3 Unit(Vec3 a) {
  const double length = Length(a);
  return length > 0 ? (1 / length) * a : a;
}

// A turn by an angle about a unit direction, right-handed, its cosine and
// sine worked out once for every point it turns.
struct Turn {
  Turn(Vec3 direction, double radians) : d(direction), c(std::cos(radians)), s(std::sin(radians)) {}
  // The same turn backwards.
  Turn Back() const {
    Turn back = *this;
    back.s = -s;
    return back;
  }
  Vec3 operator()(Vec3 v) const { return c * v + s * Cross(d, v) + (Dot(d, v) * (1 - c)) * d; }

  Vec3 d;
  double c;
  double s;
};

// `v` turned by `angle` radians about the unit direction `d`, right-handed.
inline Vec3 Rotate(Vec3 v, Vec3 d, double angle) {
  return Turn(d, angle)(v);
}

// The angle in (-pi, pi] that turns `from` into `to` about the unit direction
// `d`, both taken perpendicular to `d`; 0 when either lies along `d`.
inline double AngleAbout(Vec3 from, Vec3 to, Vec3 d) {
  const Vec3 a = from - Dot(d, from) * d;
  const Vec3 b = to - Dot(d, to) * d;
  return std::atan2(Dot(d, Cross(a, b)), Dot(a, b));
}

}  // namespace zu::kin
