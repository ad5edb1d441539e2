// A bounded convex polygon cut down by half-planes, for the fitter's regions
// of feasible parameters. Vertices are kept counter-clockwise. The vertex
// count is capped: beyond the cap an outer polygon drops an edge by extending
// its neighbours (it only grows, staying a superset of the exact
// intersection), an inner one drops a vertex by joining its neighbours (it
// only shrinks, staying a subset).
#pragma once

#include <array>

#include "pathfit/internal/vec.h"

namespace zu::pathfit::internal {

class ConvexPolygon {
 public:
  enum class Kind { kOuter, kInner };
  void set_kind(Kind kind) { kind_ = kind; }

  // The rectangle [x0, x1] x [y0, y1] (x0 < x1, y0 < y1).
  void SetBox(double x0, double x1, double y0, double y1);
  void SetEmpty() { count_ = 0; }

  // Keeps the part where a * x + b * y <= c. Returns whether anything is left.
  bool Clip(double a, double b, double c);

  bool empty() const { return count_ == 0; }
  int size() const { return count_; }
  Vec2 vertex(int i) const { return v()[i]; }

  // The part of the line a * x + b * y = c inside the polygon, as its two end
  // points. Returns false when the line misses it.
  bool LineSection(double a, double b, double c, Vec2& first, Vec2& second) const;

  // The bounding box; the polygon must not be empty.
  void Bounds(double& x0, double& x1, double& y0, double& y1) const;

 private:
  static constexpr int kCap = 12;
  static constexpr int kRoom = kCap + 4;
  void DropEdge();
  void DropVertex();

  // Two buffers: a cut writes the new polygon into the other one.
  Vec2* v() { return buffers_[current_].data(); }
  const Vec2* v() const { return buffers_[current_].data(); }

  std::array<std::array<Vec2, kRoom>, 2> buffers_;
  int current_ = 0;
  int count_ = 0;
  Kind kind_ = Kind::kOuter;
};

}  // namespace zu::pathfit::internal
