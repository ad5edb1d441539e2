// Which lines from an element's start point pass within the tolerance of
// every point after it, updated point by point in constant time: the set of
// directions is a cone. In a plane the cone is exact (an interval of angles);
// in space it is bracketed between two polygons of 16 sides in a central
// projection, the inner one giving only directions that fit, the outer one
// every direction that does.
#pragma once

#include <array>
#include <cstddef>

#include "pathfit/internal/vec.h"

namespace zu::pathfit::internal {

// What a structure says about an element from the start point to a point.
enum class Verdict {
  kNo,     // cannot fit
  kMaybe,  // may fit: check exactly
  kYes,    // fits (still checked exactly before use)
};

// Lines in an axis plane, over points of one run whose height is that of the
// start point.
class PlaneLineCone {
 public:
  void Start(const XYZ* points, std::size_t origin, AxisPlane plane, double tolerance);
  // The line from the start point to point j (j > origin), then point j added
  // as one the next lines must pass near.
  Verdict Advance(std::size_t j);
  void Add(std::size_t j);
  Verdict Query(std::size_t j) const;
  // Whether some later line may still fit.
  bool alive() const { return !empty_; }

 private:
  const XYZ* points_ = nullptr;
  AxisPlane plane_;
  Vec2 origin_;
  double tolerance_ = 0;
  bool framed_ = false;  // a point farther than the tolerance was added
  bool empty_ = false;
  // The cone, less than half a turn wide: from `lo_` counter-clockwise to
  // `hi_` (directions, not normalised).
  Vec2 lo_, hi_;
  double max_distance_ = 0;  // of the points added, from the start point
  std::size_t last_added_ = 0;
};

// Lines in space.
class SpaceLineCone {
 public:
  void Start(const XYZ* points, std::size_t origin, double tolerance);
  Verdict Advance(std::size_t j);
  void Add(std::size_t j);
  Verdict Query(std::size_t j) const;
  bool alive();

 private:
  static constexpr int kSides = 16;
  void Frame(const XYZ& direction, double box);
  void Replay(std::size_t last);
  bool OuterEmpty();
  void Reframe(std::size_t j);

  const XYZ* points_ = nullptr;
  std::size_t origin_index_ = 0;
  XYZ origin_;
  double tolerance_ = 0;
  bool framed_ = false;
  XYZ e1_, e2_, e3_;
  double box_ = 0;  // |a|, |b| <= box in the central projection
  std::array<double, kSides> inner_{};
  std::array<double, kSides> outer_{};
  bool inner_dead_ = false;
  double max_distance_ = 0;
  std::size_t framed_at_ = 0;  // points counted at the last framing
  std::size_t last_added_ = 0;
  int known_empty_ = -1;  // -1 unknown, 0 not empty, 1 empty
  std::size_t checked_at_ = 0;
};

}  // namespace zu::pathfit::internal
