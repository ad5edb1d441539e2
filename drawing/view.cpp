#include "drawing/view.h"

#include <cmath>

namespace zu::draw {

namespace {

double Dot(const Point& a, const Point& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

}  // namespace

std::optional<View> ParseView(std::string_view word) {
  for (View view : {View::kTop, View::kFront, View::kSide, View::kIso}) {
    if (word == ViewName(view))
      return view;
  }
  return std::nullopt;
}

const char* ViewName(View view) {
  switch (view) {
    case View::kTop:
      return "top";
    case View::kFront:
      return "front";
    case View::kSide:
      return "side";
    case View::kIso:
      return "iso";
  }
  return "top";
}

Projection ProjectionOf(View view) {
  switch (view) {
    case View::kTop:
      return {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    case View::kFront:
      return {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
    case View::kSide:
      return {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}};
    case View::kIso:
      break;
  }
  const double r2 = 1 / std::sqrt(2.0), r6 = 1 / std::sqrt(6.0), r3 = 1 / std::sqrt(3.0);
  return {{r2, r2, 0}, {-r6, r6, 2 * r6}, {r3, -r3, r3}};
}

Flat Project(const Projection& p, const Point& point) {
  return {Dot(p.right, point), Dot(p.up, point)};
}

double Depth(const Projection& p, const Point& point) {
  return Dot(p.toward, point);
}

}  // namespace zu::draw
