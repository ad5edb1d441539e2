// What is to be cut, as the code writer and the verification see it: the
// paths of either tool-location file, their tools, moves, arcs, dwells and
// drilling cycles, in one form. from_tool_location.h and from_post_path.h
// fill it from the two files' models; the meaning of each file's records is
// decided there, once (docs/gcode-output.md).
//
// Coordinates are millimetres in the machine's frame: the file's points
// mapped out of the path's (or the fixture's) coordinate system. Feeds are
// mm/min, spindle speeds rev/min, dwells seconds.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zu::cut {

struct Vec {
  double x = 0;
  double y = 0;
  double z = 0;
  friend bool operator==(const Vec&, const Vec&) = default;
};

enum class Side { kOff, kLeft, kRight };

// A coordinate system in the machine's frame: unit axes at right angles.
struct Frame {
  Vec origin;
  Vec x{1, 0, 0};
  Vec y{0, 1, 0};
  Vec z{0, 0, 1};
  friend bool operator==(const Frame&, const Frame&) = default;
};

// One step of a milling path, in the order the machine follows them.
struct Step {
  enum class Kind { kRapid, kLine, kArc, kDwell };
  Kind kind = Kind::kLine;
  Vec end;     // kRapid, kLine, kArc
  Vec centre;  // kArc: in the plane of its start and end (a helix: at its start's height)
  // kArc: a unit axis (+-X, +-Y, +-Z; in a tilted path +- one of its
  // plane's axes); the arc turns counter-clockwise about it.
  Vec normal;
  double feed = 0;                 // kLine, kArc
  Side compensation = Side::kOff;  // in force during this move: a change starts or ends it here
  double seconds = 0;              // kDwell
  // kRapid, kLine, kArc: the tool axis at the move's end, unit, pointing
  // from the tip into the spindle. (0, 0, 1) but in five-axis and tilted
  // paths read for a machine with rotary axes. Last, so that steps listed
  // field by field without it keep their meaning.
  Vec axis{0, 0, 1};
  friend bool operator==(const Step&, const Step&) = default;
};

struct Tool {
  int number = 0;  // the T word
  std::string name;
  double diameter = 0;
  double corner_radius = 0;
  friend bool operator==(const Tool&, const Tool&) = default;
};

// A drilling path's cycle. Heights are absolute Z of the machine's frame,
// worked out per hole from the file's values (from_*.h say how).
struct DrillCycle {
  int cycle = 81;  // 73, 81, 82, 83, 84, 85, 86, 89
  double feed = 0;
  double peck = 0;           // 73, 83: depth of each peck (> 0)
  double dwell_seconds = 0;  // at the bottom (82, 89; others where > 0)
  friend bool operator==(const DrillCycle&, const DrillCycle&) = default;
};
struct Hole {
  Vec top;             // X, Y of the hole; Z of its top (the work surface at the hole)
  double bottom = 0;   // Z of the bottom
  double r_plane = 0;  // Z where feeding starts
  double initial = 0;  // Z the tool returns to between holes
  friend bool operator==(const Hole&, const Hole&) = default;
};

struct Path {
  std::string name;
  int tool = 0;        // index into Program::tools
  double spindle = 0;  // rev/min, clockwise; 0: left as it is
  // Where the path starts: the tool goes there at rapid from wherever it
  // is, at the safe height first (the writer's rule), then follows `steps`.
  std::optional<Vec> home;
  // The height the tool goes up to before it moves across to the path, and
  // after its last move (none: it stays where it is); in a `tilted` path
  // the height in its own system.
  std::optional<double> safe_height;
  std::vector<Step> steps;  // milling
  std::optional<DrillCycle> drilling;
  std::vector<Hole> holes;  // drilling
  // What the file asks that the path's cycle or moves cannot say, and what
  // was done instead ("the peck cycle has no dwell: 0.5 s left out").
  std::vector<std::string> notes;
  // Why the path cannot be written; empty when it can. Read for a machine
  // without rotary axes, five-axis motion and tilted coordinate systems
  // are refused here.
  std::string refusal;
  // Read for a machine with rotary axes (ModelOptions::rotary_axes):
  // - `tilted`: the path's coordinate system, where its Z is not the
  //   machine's (the path is cut in three axes in that plane, every step's
  //   axis its z);
  // - `five_axis`: some step's tool axis differs from (0, 0, 1) (`tilted`
  //   paths included).
  std::optional<Frame> tilted;
  bool five_axis = false;
  friend bool operator==(const Path&, const Path&) = default;
};

// How the files' records are read.
struct ModelOptions {
  // The machine turns the tool against the part: five-axis records and
  // tilted coordinate systems are read into steps with tool axes instead of
  // being refused.
  bool rotary_axes = false;
};

struct Program {
  std::vector<Tool> tools;
  std::vector<Path> paths;
  friend bool operator==(const Program&, const Program&) = default;
};

}  // namespace zu::cut
