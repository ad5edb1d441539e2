// How a five-axis machine is built: which rotary axes it has, where they sit
// and how far they may turn. The machine configuration (machine/) fills one
// of these from its [kinematics] table; the kinematics (kinematics.h) work on
// it. Plain values, no G code.
//
// Frames. The work frame is the program's: X Y Z as written, millimetres,
// with every rotary axis at zero (the work offset already applied). The
// tool axis points from the tool tip towards the spindle; with the head's
// axes at zero it is +Z.
//
// The two rotary axes:
// - primary: the axis that, when the tool axis lies along it, can turn
//   without changing the tool axis in the part (the singular one): the
//   table's rotary axis in table-table and head-table machines (C), the
//   head's upright axis in head-head machines (C);
// - secondary: the axis that tilts the tool against the part (A or B).
// In a table-table machine the secondary axis (the trunnion or cradle)
// carries the primary (the rotary table), which carries the part; in a
// head-head machine the primary carries the secondary, which carries the
// spindle; in a head-table machine the secondary is in the head and the
// primary in the table.
#pragma once

#include <string>

#include "kinematics/vec3.h"

namespace zu::kin {

enum class Layout { kTableTable, kHeadHead, kHeadTable };

struct RotaryAxis {
  char letter = 'C';  // the address it is written with: 'A', 'B' or 'C'
  // Its direction with every axis at zero, in the machine's frame (any
  // length above 0). A positive angle turns the moving part of the machine
  // right-handed about it (the table and what it carries, or the spindle
  // head) unless `reversed`.
  Vec3 direction{0, 0, 1};
  bool reversed = false;
  // A point of the axis with every axis at zero. Table axes: in the work
  // frame. Head axes: from the spindle's gauge point, which lies
  // `MachineLayout::pivot_length` above the tool tip along the tool axis.
  Vec3 pivot;
  // Degrees. A limited axis turns within [min, max]. A continuous axis turns
  // any number of times; [min, max] is then what its control accepts before
  // the axis must be unwound.
  double min = -360;
  double max = 360;
  bool continuous = false;
  // The sign the first position of a path prefers for this axis where the
  // tool axis allows both (+1, -1; 0: none).
  int preferred_sign = 0;
  friend bool operator==(const RotaryAxis&, const RotaryAxis&) = default;
};

struct MachineLayout {
  Layout layout = Layout::kTableTable;
  RotaryAxis primary{'C', {0, 0, 1}, false, {}, -360, 360, false, 0};
  RotaryAxis secondary{'A', {1, 0, 0}, false, {}, -360, 360, false, 0};
  // Millimetres from the tool tip to the head's gauge point (tool length
  // and the head's own offset): needed when an axis is in the head.
  double pivot_length = 0;
  // Degrees: a tool axis this close to the primary axis is singular; the
  // primary angle keeps its previous value there and the tool axis may lie
  // up to this far from the one asked for.
  double singular_degrees = 0.001;
  // Splitting of moves (linearise.h): how far the tip may leave the
  // straight line (mm) and the tool axis the plane of its two ends (deg).
  double linearise_tolerance = 0.001;
  double linearise_axis_degrees = 0.01;
  friend bool operator==(const MachineLayout&, const MachineLayout&) = default;
};

// What makes the layout unusable, as "FIELD: what" with the field's name
// ("secondary.direction", "pivot_length"): a direction without length, axes
// that are parallel, a secondary axis along the tool (it would not tilt
// it), min above max, a continuous range of less than a turn, a head layout
// without pivot length, tolerances not above 0. "" when usable.
std::string CheckLayout(const MachineLayout& layout);

}  // namespace zu::kin
