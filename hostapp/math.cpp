#include "host/math.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTiny = 1e-12;

double Dot(const XYZ& a, const XYZ& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
double Length(const XYZ& v) {
  return std::sqrt(Dot(v, v));
}
XYZ Scaled(const XYZ& v, double s) {
  return {v.x * s, v.y * s, v.z * s};
}

// The matrix whose rows are the unit axes, translated so that `origin` maps
// to zero: system coordinates to the frame's.
void FrameFromAxes(const XYZ& origin, const XYZ& ux, const XYZ& uy, const XYZ& uz, TRANSF& out) {
  const XYZ axes[3] = {ux, uy, uz};
  for (int r = 0; r < 3; ++r) {
    out.m[r][0] = axes[r].x;
    out.m[r][1] = axes[r].y;
    out.m[r][2] = axes[r].z;
    out.m[r][3] = -Dot(axes[r], origin);
  }
  out.m[3][0] = out.m[3][1] = out.m[3][2] = 0;
  out.m[3][3] = 1;
}

}  // namespace

double XYZ::GetDistance(const XYZ& other) const {
  return PointDistance(*this, other);
}

double PointDistance(const XYZ& a, const XYZ& b) {
  XYZ d;
  MathSub(a, b, d);
  return Length(d);
}

void MathSub(const XYZ& a, const XYZ& b, XYZ& out) {
  out = {a.x - b.x, a.y - b.y, a.z - b.z};
}

void CrossProduct(const VECTOR& u, const VECTOR& v, VECTOR& out) {
  out = {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

int UnitDirection(const XYZ& from, const XYZ& to, VECTOR& out) {
  XYZ d;
  MathSub(to, from, d);
  const double length = Length(d);
  if (length < kTiny)
    return 0;
  out = Scaled(d, 1.0 / length);
  return 1;
}

void MathVectorAngle(const VECTOR& u, const VECTOR& v, double& angle) {
  const double lu = Length(u);
  const double lv = Length(v);
  if (lu < kTiny || lv < kTiny) {
    angle = 0;
    return;
  }
  // atan2 of |u x v| and u.v stays accurate near 0 and pi, where acos does not.
  XYZ n;
  CrossProduct(u, v, n);
  angle = std::atan2(Length(n), Dot(u, v));
}

void MathArcAngle(const XYZ& centre, const XYZ& start, const XYZ& end, double& angle) {
  XYZ u;
  XYZ v;
  MathSub(start, centre, u);
  MathSub(end, centre, v);
  MathVectorAngle(u, v, angle);
}

void PointTransform(const XYZ& p, const TRANSF& f, XYZ& out) {
  const XYZ q{f.m[0][0] * p.x + f.m[0][1] * p.y + f.m[0][2] * p.z + f.m[0][3],
              f.m[1][0] * p.x + f.m[1][1] * p.y + f.m[1][2] * p.z + f.m[1][3],
              f.m[2][0] * p.x + f.m[2][1] * p.y + f.m[2][2] * p.z + f.m[2][3]};
  out = q;
}

void PointTransformInPlace(XYZ& point, const TRANSF& frame) {
  PointTransform(point, frame, point);
}

void CurveTransformVector(const VECTOR& v, const TRANSF& f, VECTOR& out) {
  const XYZ q{f.m[0][0] * v.x + f.m[0][1] * v.y + f.m[0][2] * v.z,
              f.m[1][0] * v.x + f.m[1][1] * v.y + f.m[1][2] * v.z,
              f.m[2][0] * v.x + f.m[2][1] * v.y + f.m[2][2] * v.z};
  out = q;
}

void MathTransformVector(const VECTOR& v, const TRANSF& frame, VECTOR& out) {
  CurveTransformVector(v, frame, out);
  MathSplitVector(out.x, out.y, out.z);
}

void MathSplitVector(double& x, double& y, double& z) {
  const double length = std::sqrt(x * x + y * y + z * z);
  if (length < kTiny)
    return;
  x /= length;
  y /= length;
  z /= length;
}

int MatInverse(const TRANSF& m, TRANSF& out) {
  // Gauss-Jordan elimination with partial pivoting on [m | I].
  double a[4][8];
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      a[r][c] = m.m[r][c];
      a[r][c + 4] = r == c ? 1.0 : 0.0;
    }
  }
  for (int col = 0; col < 4; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 4; ++r) {
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col]))
        pivot = r;
    }
    if (std::fabs(a[pivot][col]) < kTiny)
      return 0;
    std::swap(a[pivot], a[col]);
    const double scale = 1.0 / a[col][col];
    for (double& value : a[col])
      value *= scale;
    for (int r = 0; r < 4; ++r) {
      if (r == col)
        continue;
      const double factor = a[r][col];
      for (int c = 0; c < 8; ++c)
        a[r][c] -= factor * a[col][c];
    }
  }
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c)
      out.m[r][c] = a[r][c + 4];
  }
  return 1;
}

int ArcFrameMatrix(const XYZ& origin, const XYZ& x_point, const XYZ& plane_point, TRANSF& out) {
  XYZ ux;
  if (!UnitDirection(origin, x_point, ux))
    return 0;
  XYZ to_plane;
  MathSub(plane_point, origin, to_plane);
  XYZ uz;
  CrossProduct(ux, to_plane, uz);
  const double lz = Length(uz);
  if (lz < kTiny * std::max(1.0, Length(to_plane)))
    return 0;
  uz = Scaled(uz, 1.0 / lz);
  XYZ uy;
  CrossProduct(uz, ux, uy);
  FrameFromAxes(origin, ux, uy, uz, out);
  return 1;
}

int CoordSysMatrix(const XYZ& origin, const VECTOR& x_axis, const VECTOR& y_axis, TRANSF& out) {
  const XYZ x_point{origin.x + x_axis.x, origin.y + x_axis.y, origin.z + x_axis.z};
  const XYZ y_point{origin.x + y_axis.x, origin.y + y_axis.y, origin.z + y_axis.z};
  return ArcFrameMatrix(origin, x_point, y_point, out);
}
