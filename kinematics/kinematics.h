// Forward and inverse kinematics of a five-axis machine (machine_layout.h):
// machine axes to the tool's tip and axis in the work frame and back. Plain
// computation on values; no G code, no allocation.
#pragma once

#include <optional>

#include "kinematics/machine_layout.h"
#include "kinematics/vec3.h"

namespace zu::kin {

// The tool as the program asks for it: the tip (mm) and the unit tool axis,
// from the tip towards the spindle, both in the work frame.
struct ToolPose {
  Vec3 tip;
  Vec3 axis{0, 0, 1};
  friend bool operator==(const ToolPose&, const ToolPose&) = default;
};

// Where the machine's axes stand: linear axes in mm (the tool tip's place
// with the head's axes at zero, in the machine frame whose origin is the
// work frame's), rotary axes in degrees.
struct MachinePosition {
  double x = 0;
  double y = 0;
  double z = 0;
  double primary = 0;
  double secondary = 0;
  friend bool operator==(const MachinePosition&, const MachinePosition&) = default;
};

// The rotary angles of one solution in degrees, each in (-180, 180].
struct Angles {
  double primary = 0;
  double secondary = 0;
};

// One machine's kinematics. Built from a layout that CheckLayout accepts
// (the constructor does not check it again).
class Kinematics {
 public:
  explicit Kinematics(const MachineLayout& layout);

  const MachineLayout& layout() const { return layout_; }

  // The tool's tip and axis in the work frame at `position`.
  ToolPose Forward(const MachinePosition& position) const;

  // The rotary angles that give `axis` (a unit vector in the work frame):
  // writes 0, 1 or 2 solutions to `out` and returns how many. 0: the axes
  // cannot turn the tool that way. 1: the tool axis lies within the
  // singular band, where the primary angle keeps `primary_hint` (degrees),
  // or both solutions coincide.
  int Orientations(Vec3 axis, double primary_hint, Angles out[2]) const;

  // The linear axes that put the tip at `tip` with the rotary axes at
  // `angles` (degrees).
  MachinePosition Place(Vec3 tip, double primary, double secondary) const;

  // The solution nearest `previous`: each rotary axis the shortest way round
  // from its previous angle, whatever its limits, the two solutions
  // compared by the sum of both turns. Singular: the primary keeps its
  // previous angle. None when the orientation cannot be reached.
  std::optional<MachinePosition> Nearest(const ToolPose& pose,
                                         const MachinePosition& previous) const;

  // The solution within the limits nearest `reference` (each rotary axis's
  // turns of 360 degrees included). None when no solution lies within them.
  std::optional<MachinePosition> NearestWithin(const ToolPose& pose,
                                               const MachinePosition& reference) const;

  // The first position of a path: within the limits, the axes' preferred
  // signs honoured where one solution allows it (the secondary's first),
  // then the angles nearest zero. The primary angle is 0 where singular.
  std::optional<MachinePosition> First(const ToolPose& pose) const;

  // Both rotary angles within their limits (or ranges, continuous axes).
  bool WithinLimits(const MachinePosition& position) const;

 private:
  // The two axes' turns at a position (each angle times its sense), the
  // sines and cosines worked out once for the point and the tool axis.
  struct AxisTurns {
    Turn primary;
    Turn secondary;
  };
  AxisTurns TurnsAt(double primary, double secondary) const;
  // Each side's point transform: machine-frame point of a work-frame point
  // (table), and the tip's offset the head's rotation adds (head).
  Vec3 TableToMachine(Vec3 p, const AxisTurns& turns) const;
  Vec3 MachineToTable(Vec3 p, const AxisTurns& turns) const;
  Vec3 HeadOffset(const AxisTurns& turns) const;

  MachineLayout layout_;
  Vec3 primary_dir_;
  Vec3 secondary_dir_;
  // +1 or -1: how each angle turns the tool axis in the work frame, the
  // axis's own sense, negated for table axes (the part turns, not the tool).
  double primary_sense_;
  double secondary_sense_;
  double singular_sin_;
};

}  // namespace zu::kin
