// An arc as the machine can take it: in a plane it has, with a radius it
// writes as an arc, no more sweep per block than it allows, a helix only
// where it can do one; otherwise as lines within the tolerance. Arcs are
// never dropped.
#pragma once

#include <vector>

#include "cutmodel/cut_model.h"
#include "machine/machine_config.h"

namespace zu::codewriter {

// What the arc became.
enum class ArcOutcome {
  kArcs,             // one arc, or arcs split by the sweep limit
  kLinesPlane,       // lines: the machine has no arcs in its plane
  kLinesRadius,      // lines: radius outside the machine's arc radii
  kLinesHelix,       // lines: a helix the machine cannot do
  kLinesDegenerate,  // lines: start and end not on one circle about the centre
};

struct ArcPiece {
  bool arc = false;  // else a line to `end`
  cut::Vec end;
  cut::Vec centre;   // arcs: in the plane of the piece's start
  double sweep = 0;  // arcs: radians, counter-clockwise about the step's normal
  double radius = 0;
};

struct ArcSplit {
  ArcOutcome outcome = ArcOutcome::kArcs;
  std::vector<ArcPiece> pieces;
};

// The in-plane axes of a normal (+-X, +-Y, +-Z): 0 the plane's first axis,
// 1 its second, 2 the normal's axis (G17: X Y Z; G18: Z X Y; G19: Y Z X).
struct PlaneAxes {
  int first = 0;
  int second = 1;
  int normal = 2;
};
PlaneAxes AxesOf(const cut::Vec& normal);

double Get(const cut::Vec& v, int axis);
void Set(cut::Vec& v, int axis, double value);

// Splits the arc from `start` given by `step`. `tolerance` bounds the
// distance of lines from the arc; `max_sweep` is the machine's (radians).
void SplitArc(const cut::Vec& start, const cut::Step& step, const machine::Arcs& arcs,
              double tolerance, ArcSplit& split);

}  // namespace zu::codewriter
