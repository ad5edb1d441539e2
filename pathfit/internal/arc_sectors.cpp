#include "pathfit/internal/arc_sectors.h"

#include <cmath>

namespace zu::pathfit::internal {

namespace {

// Sectors overlap a little, so that rounding leaves no tangent between two.
constexpr double kOverlap = 1.01;
// Slabs are widened by this much more, as in ArcRegion.
constexpr double kMargin = 1 + 1e-9;
// Each sector's chord is drawn again over what is left of it this often.
constexpr unsigned kReboundEvery = 4;

}  // namespace

void ArcSectors::Start(Vec2 origin, double tolerance, double min_radius) {
  origin_ = origin;
  tolerance_ = tolerance;
  added_ = 0;
  live_ = (1u << kSectors) - 1;
  const double half = kPi / (2 * kSectors);
  const double box = std::tan(half) * kOverlap;
  const double spread = std::sqrt(1 + box * box);
  // kappa = K cos(theta): |kappa| <= 1 / min_radius within the box.
  const double k_most = spread / min_radius;
  bounded_ = std::isfinite(k_most);
  if (!(k_most > 0))
    live_ = 0;  // no finite circle is that large
  if (!bounded_ || live_ == 0)
    return;
  for (int s = 0; s < kSectors; ++s) {
    Sector& sector = sectors_[static_cast<std::size_t>(s)];
    const double angle = 2 * half * s;
    sector.e1 = {std::cos(angle), std::sin(angle)};
    sector.e2 = Left(sector.e1);
    sector.outer.set_kind(ConvexPolygon::Kind::kOuter);
    sector.outer.SetBox(-k_most, k_most, -box, box);
    sector.a = spread * kMargin;
    sector.b = 0;
  }
}

void ArcSectors::Rebound(Sector& sector) {
  double k0, k1, t0, t1;
  sector.outer.Bounds(k0, k1, t0, t1);
  if (!(t1 - t0 > 1e-9))
    return;  // the chord drawn before still bounds it from above
  const double f0 = std::sqrt(1 + t0 * t0), f1 = std::sqrt(1 + t1 * t1);
  sector.b = (f1 - f0) / (t1 - t0);
  sector.a = (f0 - sector.b * t0) * kMargin;
}

bool ArcSectors::Add(Vec2 point) {
  if (!bounded_)
    return true;  // no least radius: curvature unbounded, nothing to cut
  const Vec2 q = point - origin_;
  const double tol = tolerance_;
  const double a = (Dot(q, q) - tol * tol) / 2;
  const bool rebound = ++added_ % kReboundEvery == 0;
  for (int s = 0; s < kSectors; ++s) {
    const unsigned bit = 1u << s;
    if (!(live_ & bit))
      continue;
    Sector& sector = sectors_[static_cast<std::size_t>(s)];
    const double x = Dot(q, sector.e1), y = Dot(q, sector.e2);
    const double c = tol * sector.a, d = tol * sector.b;
    // |a K + x tau - y| <= c + d tau
    if (!sector.outer.Clip(a, x - d, y + c) || !sector.outer.Clip(-a, -x - d, -y + c)) {
      live_ &= ~bit;
      continue;
    }
    if (rebound)
      Rebound(sector);
  }
  return live_ != 0;
}

}  // namespace zu::pathfit::internal
