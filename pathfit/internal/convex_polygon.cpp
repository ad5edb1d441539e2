#include "pathfit/internal/convex_polygon.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zu::pathfit::internal {

void ConvexPolygon::SetBox(double x0, double x1, double y0, double y1) {
  Vec2* p = v();
  p[0] = {x0, y0};
  p[1] = {x1, y0};
  p[2] = {x1, y1};
  p[3] = {x0, y1};
  count_ = 4;
}

bool ConvexPolygon::Clip(double a, double b, double c) {
  if (count_ == 0)
    return false;
  const Vec2* from = v();
  double side[kRoom];
  bool any_out = false;
  bool any_in = false;
  for (int i = 0; i < count_; ++i) {
    side[i] = a * from[i].x + b * from[i].y - c;
    if (side[i] > 0)
      any_out = true;
    else
      any_in = true;
  }
  if (!any_out)
    return true;
  if (!any_in) {
    count_ = 0;
    return false;
  }
  Vec2* to = buffers_[1 - current_].data();
  int n = 0;
  for (int i = 0; i < count_; ++i) {
    const int k = i + 1 == count_ ? 0 : i + 1;
    const double sp = side[i];
    const double sq = side[k];
    if (sp <= 0)
      to[n++] = from[i];
    if ((sp <= 0) != (sq <= 0) && n < kRoom) {
      const double t = sp / (sp - sq);
      to[n++] = from[i] + t * (from[k] - from[i]);
    }
    if (n >= kRoom)
      break;
  }
  // A convex polygon cut by one line gains at most one vertex.
  current_ = 1 - current_;
  count_ = n;
  if (count_ > kCap) {
    if (kind_ == Kind::kOuter)
      DropEdge();
    else
      DropVertex();
  }
  return true;
}

// Drops the edge whose removal (extending the two neighbouring edges to
// their crossing) adds the least area, until the cap is met again.
void ConvexPolygon::DropEdge() {
  while (count_ > kCap) {
    Vec2* p = v();
    int best = -1;
    double best_area = std::numeric_limits<double>::infinity();
    Vec2 best_point;
    // Walks the edges with the four vertices around each in hand.
    Vec2 p0 = p[count_ - 1], p1 = p[0], p2 = p[1 % count_];
    for (int i = 0; i < count_; ++i) {
      const int next2 = i + 2 < count_ ? i + 2 : i + 2 - count_;
      const Vec2 p3 = p[next2];
      const Vec2 d1 = p1 - p0;  // the edge before, towards p1
      const Vec2 d3 = p2 - p3;  // the edge after, backwards towards p2
      const double denom = Cross(d1, d3);
      if (denom != 0) {
        // p1 + s * d1 == p2 + t * d3 with s, t >= 0: the crossing lies beyond.
        const double s = Cross(p2 - p1, d3) / denom;
        const double t = Cross(p2 - p1, d1) / denom;
        if (s >= 0 && t >= 0) {
          const Vec2 x = p1 + s * d1;
          const double area = std::fabs(Cross(p2 - p1, x - p1));
          if (area < best_area) {
            best_area = area;
            best = i;
            best_point = x;
          }
        }
      }
      p0 = p1;
      p1 = p2;
      p2 = p3;
    }
    if (best < 0)
      return;  // nothing removable: keep the extra vertices
    // Vertices best and best + 1 become the crossing.
    const int second = (best + 1) % count_;
    p[best] = best_point;
    std::copy(p + second + 1, p + count_, p + second);
    --count_;
  }
}

// Drops the vertex whose removal (joining its neighbours) takes the least
// area away.
void ConvexPolygon::DropVertex() {
  while (count_ > kCap) {
    Vec2* p = v();
    int best = 0;
    double best_area = std::numeric_limits<double>::infinity();
    for (int i = 0; i < count_; ++i) {
      const Vec2 p0 = p[(i + count_ - 1) % count_];
      const Vec2 p1 = p[i];
      const Vec2 p2 = p[(i + 1) % count_];
      const double area = std::fabs(Cross(p1 - p0, p2 - p0));
      if (area < best_area) {
        best_area = area;
        best = i;
      }
    }
    std::copy(p + best + 1, p + count_, p + best);
    --count_;
  }
}

bool ConvexPolygon::LineSection(double a, double b, double c, Vec2& first, Vec2& second) const {
  if (count_ == 0)
    return false;
  const Vec2* p = v();
  int found = 0;
  Vec2 ends[2];
  Vec2 prev_v = p[count_ - 1];
  double prev = a * prev_v.x + b * prev_v.y - c;
  for (int i = 0; i < count_ && found < 2; ++i) {
    const Vec2 here = p[i];
    const double s = a * here.x + b * here.y - c;
    if (s == 0) {
      ends[found++] = here;
    } else if (prev != 0 && (prev < 0) != (s < 0)) {
      const double t = prev / (prev - s);
      ends[found++] = prev_v + t * (here - prev_v);
    }
    prev = s;
    prev_v = here;
  }
  if (found == 0)
    return false;
  first = ends[0];
  second = found == 2 ? ends[1] : ends[0];
  return true;
}

void ConvexPolygon::Bounds(double& x0, double& x1, double& y0, double& y1) const {
  const Vec2* p = v();
  x0 = x1 = p[0].x;
  y0 = y1 = p[0].y;
  for (int i = 1; i < count_; ++i) {
    x0 = std::min(x0, p[i].x);
    x1 = std::max(x1, p[i].x);
    y0 = std::min(y0, p[i].y);
    y1 = std::max(y1, p[i].y);
  }
}

}  // namespace zu::pathfit::internal
