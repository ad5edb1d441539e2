// The host's point, direction, transformation and coordinate-system types.
// Coordinates are doubles in the document's units (millimetres).
//
// Matrix convention: a TRANSF is a 4x4 matrix m[row][column] applied to column
// vectors (x, y, z, 1); the translation is the last column. The matrix of a
// work coordinate system maps system (document) coordinates to the work
// system's own coordinates: a point at the work system's origin maps to
// (0, 0, 0).
#pragma once

#include "host/host_api.h"

struct XYZ {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  // Euclidean distance to `other`.
  ZUHOST_API double GetDistance(const XYZ& other) const;
  friend bool operator==(const XYZ&, const XYZ&) = default;
};

// A direction; same layout as a point.
using VECTOR = XYZ;

struct TRANSF {
  double m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

// A coordinate system as the host's current one: origin and unit axes.
struct COORDSYS {
  XYZ origin{0, 0, 0};
  VECTOR x_axis{1, 0, 0};
  VECTOR y_axis{0, 1, 0};
  VECTOR z_axis{0, 0, 1};
};

// A work coordinate system as every path carries one. A default one has an
// empty name, origin (0, 0, 0), axes (10, 0, 0), (0, 10, 0), (0, 0, 1) and
// the identity matrix. The axes are given as points relative to nothing: only
// their directions matter; the matrix is what maps points.
struct ncworkcoordinate {
  char name[16] = {};  // at most 15 characters and the terminator
  XYZ origin{0, 0, 0};
  XYZ x_axis{10, 0, 0};
  XYZ y_axis{0, 10, 0};
  XYZ z_axis{0, 0, 1};
  TRANSF matrix{};
};
