#include "kinematics/linearise.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zu::kin {
namespace {

constexpr double kDegrees = 180 / std::numbers::pi;
// Halvings of one move at most: 2^20 pieces.
constexpr int kMaxDepth = 20;

double SquaredDistanceToSegment(Vec3 p, Vec3 a, Vec3 b) {
  const Vec3 ab = b - a;
  const double length2 = Dot(ab, ab);
  const double t = length2 > 0 ? std::clamp(Dot(p - a, ab) / length2, 0.0, 1.0) : 0.0;
  const Vec3 off = p - (a + t * ab);
  return Dot(off, off);
}

double DistanceToSegment(Vec3 p, Vec3 a, Vec3 b) {
  return std::sqrt(SquaredDistanceToSegment(p, a, b));
}

// The angle (degrees) of `k` from the plane of the unit axes `a` and `b`, or
// from `a` where they are (nearly) one.
double AngleFromPlane(Vec3 k, Vec3 a, Vec3 b) {
  const Vec3 normal = Cross(a, b);
  const double length = Length(normal);
  if (length < 1e-12)
    return std::atan2(Length(Cross(a, k)), Dot(a, k)) * kDegrees;
  return std::asin(std::min(1.0, std::fabs(Dot(normal, k)) / (length * Length(k)))) * kDegrees;
}

double AngleBetween(Vec3 a, Vec3 b) {
  return std::atan2(Length(Cross(a, b)), Dot(a, b)) * kDegrees;
}

class Splitter {
 public:
  Splitter(const Kinematics& kinematics, std::vector<MachinePosition>& out)
      : kinematics_(kinematics),
        linearise_tolerance_(kinematics.layout().linearise_tolerance),
        axis_tolerance_(kinematics.layout().linearise_axis_degrees),
        squared_tolerance_(linearise_tolerance_ * linearise_tolerance_),
        squared_axis_sin_(std::pow(std::sin(axis_tolerance_ / kDegrees), 2)),
        out_(out) {}

  void Split(const ToolPose& a_pose, const ToolPose& b_pose, const MachinePosition& a,
             const MachinePosition& b, int depth) {
    if (Within(a_pose, b_pose, a, b))
      return;
    // A piece whose ends are as near as the tolerances, and that still
    // strays, swings the rotary axes at one point: halving cannot help.
    if (depth == kMaxDepth || (Length(b_pose.tip - a_pose.tip) <= linearise_tolerance_ &&
                               AngleBetween(a_pose.axis, b_pose.axis) <= axis_tolerance_)) {
      result.within = false;
      return;
    }
    ToolPose middle;
    middle.tip = 0.5 * (a_pose.tip + b_pose.tip);
    const Vec3 sum = a_pose.axis + b_pose.axis;
    const MachinePosition halfway = Between(a, b, 0.5);
    middle.axis = Length(sum) > 1e-9 ? Unit(sum) : kinematics_.Forward(halfway).axis;
    const auto m = kinematics_.Nearest(middle, halfway);
    if (!m) {
      result.within = false;
      return;
    }
    Split(a_pose, middle, a, *m, depth + 1);
    out_.push_back(*m);
    ++result.added;
    Split(middle, b_pose, *m, b, depth + 1);
  }

  LinearisedMove result;

 private:
  // Deviation's test against the tolerances, on the same samples, the middle
  // first (a bent move strays most there), each compared as it is found and
  // without square roots or inverse sines: most moves of a fine path need
  // no splitting, and this is what they cost.
  bool Within(const ToolPose& a_pose, const ToolPose& b_pose, const MachinePosition& a,
              const MachinePosition& b) const {
    const Vec3 normal = Cross(a_pose.axis, b_pose.axis);
    const double normal2 = Dot(normal, normal);
    if (normal2 < 1e-24) {
      const MoveDeviation deviation = Deviation(kinematics_, a_pose, b_pose, a, b);
      return deviation.tip <= linearise_tolerance_ && deviation.axis_degrees <= axis_tolerance_;
    }
    for (const double t : {0.5, 0.25, 0.75}) {
      const ToolPose at = kinematics_.Forward(Between(a, b, t));
      if (SquaredDistanceToSegment(at.tip, a_pose.tip, b_pose.tip) > squared_tolerance_)
        return false;
      const double off = Dot(normal, at.axis);
      if (off * off > squared_axis_sin_ * normal2 * Dot(at.axis, at.axis))
        return false;
    }
    return true;
  }

  const Kinematics& kinematics_;
  const double linearise_tolerance_;
  const double axis_tolerance_;
  const double squared_tolerance_;
  const double squared_axis_sin_;  // of the axis tolerance
  std::vector<MachinePosition>& out_;
};

}  // namespace

MachinePosition Between(const MachinePosition& a, const MachinePosition& b, double t) {
  return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z),
          a.primary + t * (b.primary - a.primary), a.secondary + t * (b.secondary - a.secondary)};
}

MoveDeviation Deviation(const Kinematics& kinematics, const ToolPose& from_pose,
                        const ToolPose& to_pose, const MachinePosition& from,
                        const MachinePosition& to) {
  MoveDeviation most;
  for (const double t : {0.25, 0.5, 0.75}) {
    const ToolPose at = kinematics.Forward(Between(from, to, t));
    most.tip = std::max(most.tip, DistanceToSegment(at.tip, from_pose.tip, to_pose.tip));
    most.axis_degrees =
        std::max(most.axis_degrees, AngleFromPlane(at.axis, from_pose.axis, to_pose.axis));
  }
  return most;
}

LinearisedMove Linearise(const Kinematics& kinematics, const ToolPose& from_pose,
                         const ToolPose& to_pose, const MachinePosition& from,
                         const MachinePosition& to, std::vector<MachinePosition>& out) {
  Splitter splitter(kinematics, out);
  splitter.Split(from_pose, to_pose, from, to, 0);
  return splitter.result;
}

}  // namespace zu::kin
