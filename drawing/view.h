// The four ways a picture looks at its frame: from above (top: X to the
// right, Y up), from the front (front: X right, Z up, seen from -Y), from
// the right (side: Y right, Z up, seen from +X) and isometric (iso: seen
// from (1, -1, 1), Z up, X going down to the right, Y up to the right).
// Each is an orthographic projection on two unit axes, so no distance grows
// in it: a chord error in space is at most as large on the picture.
#pragma once

#include <optional>
#include <string_view>

#include "drawing/picture.h"

namespace zu::draw {

enum class View { kTop, kFront, kSide, kIso };

// "top", "front", "side", "iso"; nullopt for any other word.
std::optional<View> ParseView(std::string_view word);
const char* ViewName(View view);

// A point on the picture's plane, millimetres: u to the right, v up.
struct Flat {
  double u = 0;
  double v = 0;
};

struct Projection {
  Point right;   // unit vector of u
  Point up;      // unit vector of v
  Point toward;  // right x up: from the picture toward the person looking
};

Projection ProjectionOf(View view);
Flat Project(const Projection& p, const Point& point);
// The component of `point` toward the person looking.
double Depth(const Projection& p, const Point& point);

}  // namespace zu::draw
