// The mapping between a path's own coordinates and the fixture (jig)
// coordinate system, the host's current system at output time, and the
// retract points that frame a path in orientation milling.
//
// A work system's matrix maps document coordinates into the system (see the
// host's geometry.h). A point p of the path's coordinates is in the fixture
// system at fixture * inverse(path) * p; back is path * inverse(fixture).
#pragma once

#include "host/geometry.h"

namespace zu {

// Retract axes of the fixture system (JigToolAxis): 0 X, 1 Y, any other Z.
inline constexpr int kRetractAlongX = 0;
inline constexpr int kRetractAlongY = 1;

class FixtureMapping {
 public:
  // `path_matrix` of the path's work system, `fixture_matrix` of the fixture
  // system. A matrix that cannot be inverted is taken as the identity (the
  // host's documents hold invertible ones; a singular one has no meaning).
  FixtureMapping(const TRANSF& path_matrix, const TRANSF& fixture_matrix);

  XYZ ToFixture(const XYZ& path_point) const;
  XYZ FromFixture(const XYZ& fixture_point) const;

  // The point above `path_point` at the retract height: its fixture
  // coordinate on `axis` replaced by `height`, the other two kept, back in
  // path coordinates.
  XYZ RetractPoint(const XYZ& path_point, int axis, double height) const;

 private:
  TRANSF path_;
  TRANSF path_inverse_;
  TRANSF fixture_;
  TRANSF fixture_inverse_;
};

}  // namespace zu
