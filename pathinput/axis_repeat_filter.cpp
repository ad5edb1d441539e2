#include "pathinput/axis_repeat_filter.h"

namespace zu {

namespace {
constexpr double kSame = 1e-12;
}

bool AxisRepeatFilter::Passes(const XYZ& point, const XYZ& axis) {
  if (point.GetDistance(last_point_) < kSame && axis.GetDistance(last_axis_) < kSame)
    return false;
  last_point_ = point;
  last_axis_ = axis;
  return true;
}

void AxisRepeatFilter::Reset() {
  last_point_ = XYZ{};
  last_axis_ = XYZ{};
}

}  // namespace zu
