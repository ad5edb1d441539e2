// The host's vector and matrix library. Conventions are those of geometry.h:
// matrices act on column vectors, the translation is the last column.
// Functions with an out argument write only it; angles are radians.
#pragma once

#include "host/geometry.h"
#include "host/host_api.h"

// Distance between two points.
ZUHOST_API double PointDistance(const XYZ& a, const XYZ& b);

// out = a - b.
ZUHOST_API void MathSub(const XYZ& a, const XYZ& b, XYZ& out);

// out = u x v (right-handed), not normalised.
ZUHOST_API void CrossProduct(const VECTOR& u, const VECTOR& v, VECTOR& out);

// The unit vector from `from` to `to`; returns 0 (and leaves out) when the
// points coincide (closer than 1e-12), else 1.
ZUHOST_API int UnitDirection(const XYZ& from, const XYZ& to, VECTOR& out);

// The unsigned angle (0 to pi) between two vectors; 0 when either is zero.
ZUHOST_API void MathVectorAngle(const VECTOR& u, const VECTOR& v, double& angle);

// The unsigned angle (0 to pi) at `centre` between `start` and `end`.
ZUHOST_API void MathArcAngle(const XYZ& centre, const XYZ& start, const XYZ& end, double& angle);

// out = frame * (point, 1).
ZUHOST_API void PointTransform(const XYZ& point, const TRANSF& frame, XYZ& out);
// The same, replacing `point`.
ZUHOST_API void PointTransformInPlace(XYZ& point, const TRANSF& frame);

// A direction mapped by the frame's linear part (no translation), then
// normalised to unit length (a zero result stays zero).
ZUHOST_API void MathTransformVector(const VECTOR& v, const TRANSF& frame, VECTOR& out);
// A direction mapped by the frame's linear part, not normalised.
ZUHOST_API void CurveTransformVector(const VECTOR& v, const TRANSF& frame, VECTOR& out);

// Normalises the vector (x, y, z) in place to unit length; a vector shorter
// than 1e-12 is left as it is.
ZUHOST_API void MathSplitVector(double& x, double& y, double& z);

// out = the inverse of m. Returns 0 (and leaves out) when m is singular.
ZUHOST_API int MatInverse(const TRANSF& m, TRANSF& out);

// The frame with its origin at `origin`, its X axis towards `x_point` and
// `plane_point` in its XY plane, on the side of positive Y; the matrix maps
// system coordinates to the frame's. Returns 0 (and leaves out) when the
// three points do not span a plane.
ZUHOST_API int ArcFrameMatrix(const XYZ& origin, const XYZ& x_point, const XYZ& plane_point,
                              TRANSF& out);

// The matrix of a coordinate system given by its origin and axes (their
// lengths do not matter; the axes are made orthonormal from X and Y, Z taken
// on the right-handed side): it maps system coordinates to the system's own.
// Returns 0 when X and Y are parallel or zero.
ZUHOST_API int CoordSysMatrix(const XYZ& origin, const VECTOR& x_axis, const VECTOR& y_axis,
                              TRANSF& out);
