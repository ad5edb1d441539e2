#include "conditioning/fixture_mapping.h"

#include "host/math.h"

namespace zu {
namespace {

TRANSF InverseOrIdentity(const TRANSF& m) {
  TRANSF inverse;  // the identity, left as it is when `m` is singular
  MatInverse(m, inverse);
  return inverse;
}

}  // namespace

FixtureMapping::FixtureMapping(const TRANSF& path_matrix, const TRANSF& fixture_matrix)
    : path_(path_matrix),
      path_inverse_(InverseOrIdentity(path_matrix)),
      fixture_(fixture_matrix),
      fixture_inverse_(InverseOrIdentity(fixture_matrix)) {}

XYZ FixtureMapping::ToFixture(const XYZ& path_point) const {
  XYZ document, fixture;
  PointTransform(path_point, path_inverse_, document);
  PointTransform(document, fixture_, fixture);
  return fixture;
}

XYZ FixtureMapping::FromFixture(const XYZ& fixture_point) const {
  XYZ document, path;
  PointTransform(fixture_point, fixture_inverse_, document);
  PointTransform(document, path_, path);
  return path;
}

XYZ FixtureMapping::RetractPoint(const XYZ& path_point, int axis, double height) const {
  XYZ fixture = ToFixture(path_point);
  if (axis == kRetractAlongX) {
    fixture.x = height;
  } else if (axis == kRetractAlongY) {
    fixture.y = height;
  } else {
    fixture.z = height;
  }
  return FromFixture(fixture);
}

}  // namespace zu
