// Arcs broken into chord points for output that cannot hold arcs (five-axis
// orientation milling): as few points as keep every chord within a
// tolerance of its arc.
#pragma once

#include <vector>

#include "host/geometry.h"
#include "host/path_model.h"

namespace zu {

// The tolerance used when the stored one is not above zero.
inline constexpr double kDefaultChordTolerance = 0.005;

// The most chords one arc gets, whatever the tolerance asks: a tolerance
// far below what any machine resolves would otherwise ask for millions of
// points (or overflow the count) for a quarter turn.
inline constexpr int kMaxChordCount = 100000;

// How many chords an arc of `radius` turning `sweep` radians gets so that no
// chord is further than `tolerance` from the arc: trunc(|sweep| / 2h) + 1
// with h = acos(1 - tolerance / radius), at most kMaxChordCount. A tolerance
// of at least twice the radius gives one chord per half turn. A radius that
// is not above zero has no chord: 0. A tolerance not above zero is taken as
// kDefaultChordTolerance.
int ChordCount(double radius, double sweep, double tolerance);

// The chord points of `arc` after its start, in the coordinates of its
// move: the last one is (to rounding) its end point. An arc whose radius is
// not above zero, or whose plane cannot be made from its points, gives its
// end point alone.
std::vector<XYZ> ArcChordPoints(const nc_arc& arc, double tolerance);

}  // namespace zu
