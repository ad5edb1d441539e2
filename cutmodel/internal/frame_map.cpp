#include "cutmodel/internal/frame_map.h"

#include <charconv>
#include <cctype>
#include <cmath>

namespace zu::cut::internal {

namespace {

double Dot(const Vec& a, const Vec& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

constexpr double kSquare = 1e-9;

}  // namespace

bool Unit(Vec& v) {
  const double length = std::sqrt(Dot(v, v));
  if (!(length > 0) || !std::isfinite(length))
    return false;
  v = {v.x / length, v.y / length, v.z / length};
  return true;
}

FrameMap::FrameMap(const Vec& origin, const Vec& x_axis, const Vec& y_axis, const Vec& z_axis)
    : origin_(origin), x_(x_axis), y_(y_axis), z_(z_axis) {
  if (!Unit(x_) || !Unit(y_) || !Unit(z_)) {
    refusal_ = "its coordinate system has an axis of length zero";
    return;
  }
  if (std::fabs(Dot(x_, y_)) > kSquare || std::fabs(Dot(y_, z_)) > kSquare ||
      std::fabs(Dot(z_, x_)) > kSquare) {
    refusal_ = "the axes of its coordinate system are not at right angles";
    return;
  }
  tilted_ = z_.z < 1 - kSquare;
  if (tilted_)
    refusal_ = "its coordinate system is tilted against the machine's (Z axis " +
               std::to_string(z_.x) + ", " + std::to_string(z_.y) + ", " + std::to_string(z_.z) +
               "): it needs rotary axes";
}

Vec FrameMap::Point(const Vec& p) const {
  const Vec d = Direction(p);
  return {origin_.x + d.x, origin_.y + d.y, origin_.z + d.z};
}

Vec FrameMap::Direction(const Vec& d) const {
  return {d.x * x_.x + d.y * y_.x + d.z * z_.x, d.x * x_.y + d.y * y_.y + d.z * z_.y,
          d.x * x_.z + d.y * y_.z + d.z * z_.z};
}

std::string ToolAxisRefusal(const FrameMap& map, const Vec& axis) {
  Vec d = map.Direction(axis);
  if (Unit(d) && d.z >= 1 - kSquare)
    return "";
  return "its tool axis turns away from the machine's Z (" + std::to_string(d.x) + ", " +
         std::to_string(d.y) + ", " + std::to_string(d.z) + "): its code needs rotary axes";
}

double SafeHeight(const FrameMap& map, const Path& path, double height) {
  return path.tilted ? height : map.Point({0, 0, height}).z;
}

bool SnapToAxis(Vec& normal) {
  Vec n = normal;
  if (!Unit(n))
    return false;
  for (Vec axis : {Vec{1, 0, 0}, Vec{0, 1, 0}, Vec{0, 0, 1}}) {
    const double along = Dot(n, axis);
    if (std::fabs(std::fabs(along) - 1) <= kSquare) {
      normal = {axis.x * (along > 0 ? 1 : -1), axis.y * (along > 0 ? 1 : -1),
                axis.z * (along > 0 ? 1 : -1)};
      return true;
    }
  }
  return false;
}

bool DwellSeconds(const std::string& text, double& seconds) {
  std::size_t k = 0;
  const auto skip_blanks = [&] {
    while (k < text.size() && (text[k] == ' ' || text[k] == '\t'))
      ++k;
  };
  const auto upper = [&](std::size_t at) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(text[at])));
  };
  skip_blanks();
  // An optional G4 / G04 word.
  if (k < text.size() && upper(k) == 'G') {
    std::size_t g = k + 1;
    while (g < text.size() && text[g] == '0')
      ++g;
    if (g >= text.size() || text[g] != '4')
      return false;
    k = g + 1;
    skip_blanks();
  }
  double scale = 1;
  if (k < text.size() && std::isalpha(static_cast<unsigned char>(text[k]))) {
    const char address = upper(k);
    if (address == 'P')
      scale = 0.001;
    else if (address != 'X' && address != 'U' && address != 'F')
      return false;
    ++k;
  }
  double value = 0;
  const char* first = text.data() + k;
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end == first || !(value >= 0) || !std::isfinite(value))
    return false;
  k = static_cast<std::size_t>(end - text.data());
  skip_blanks();
  if (k != text.size())
    return false;
  seconds = value * scale;
  return true;
}

}  // namespace zu::cut::internal
