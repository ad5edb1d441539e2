// The machines the kinematics tests run on: each layout, orthogonal and
// nutating axes, pivots off the origin, reversed senses, limited and
// continuous axes.
#pragma once

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "kinematics/kinematics.h"

namespace zu::kin::testing {

struct NamedLayout {
  std::string name;
  MachineLayout layout;
};

inline RotaryAxis Axis(char letter, Vec3 direction, Vec3 pivot, double min, double max,
                       bool continuous = false, bool reversed = false) {
  RotaryAxis axis;
  axis.letter = letter;
  axis.direction = direction;
  axis.pivot = pivot;
  axis.min = min;
  axis.max = max;
  axis.continuous = continuous;
  axis.reversed = reversed;
  return axis;
}

inline MachineLayout Make(Layout kind, RotaryAxis primary, RotaryAxis secondary,
                          double pivot_length = 0) {
  MachineLayout layout;
  layout.layout = kind;
  layout.primary = primary;
  layout.secondary = secondary;
  layout.pivot_length = pivot_length;
  return layout;
}

inline std::vector<NamedLayout> Layouts() {
  const double s = std::sqrt(0.5);
  return {
      {"table-table A/C",
       Make(Layout::kTableTable, Axis('C', {0, 0, 1}, {12, -7, 3}, -99999, 99999, true),
            Axis('A', {1, 0, 0}, {0, 4, -80}, -120, 120))},
      {"table-table B/C, B reversed",
       Make(Layout::kTableTable, Axis('C', {0, 0, 1}, {0, 0, 0}, -360, 360),
            Axis('B', {0, 1, 0}, {5, 0, -60}, -100, 100, false, true))},
      {"table-table nutating B/C",
       Make(Layout::kTableTable, Axis('C', {0, 0, 1}, {1, 2, 0}, -360, 360),
            Axis('B', {0, s, s}, {0, 0, -40}, -180, 180))},
      {"head-head B/C", Make(Layout::kHeadHead, Axis('C', {0, 0, 1}, {0, 0, 0}, -360, 360),
                             Axis('B', {0, 1, 0}, {0, 0, 20}, -100, 100), 150)},
      {"head-head A/C, offset pivots",
       Make(Layout::kHeadHead, Axis('C', {0, 0, 1}, {3, 1, 0}, -720, 720),
            Axis('A', {1, 0, 0}, {0, -2, 15}, -95, 95, false, true), 180)},
      {"head-table B/C",
       Make(Layout::kHeadTable, Axis('C', {0, 0, 1}, {30, 20, 0}, -99999, 99999, true),
            Axis('B', {0, 1, 0}, {0, 0, 0}, -100, 100), 200)},
  };
}

// Positions within the layout's limits: linear axes within 300 mm of the
// origin, angles anywhere in [min, max] (a continuous axis within one turn
// of zero either side).
class RandomPositions {
 public:
  RandomPositions(const MachineLayout& layout, unsigned seed) : layout_(layout), random_(seed) {}

  MachinePosition Next() {
    std::uniform_real_distribution<double> linear(-300, 300);
    return {linear(random_), linear(random_), linear(random_), Angle(layout_.primary),
            Angle(layout_.secondary)};
  }

  std::mt19937_64& random() { return random_; }

 private:
  double Angle(const RotaryAxis& axis) {
    const double low = axis.continuous ? std::max(axis.min, -360.0) : axis.min;
    const double high = axis.continuous ? std::min(axis.max, 360.0) : axis.max;
    return std::uniform_real_distribution<double>(low, high)(random_);
  }

  MachineLayout layout_;
  std::mt19937_64 random_;
};

inline double Distance(Vec3 a, Vec3 b) {
  return Length(a - b);
}

// The angle between two unit vectors in degrees, accurate near zero.
inline double AngleBetween(Vec3 a, Vec3 b) {
  return std::atan2(Length(Cross(a, b)), Dot(a, b)) * 180 / 3.14159265358979323846;
}

// The difference of two angles (degrees) up to whole turns, in [0, 180].
inline double TurnDifference(double a, double b) {
  return std::fabs(std::remainder(a - b, 360.0));
}

}  // namespace zu::kin::testing
