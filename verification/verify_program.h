// The verification of a written program: the G code is read back with the
// NC system's description (gcode/'s interpreter) and its motion compared
// with what was to be cut.
//
// What is compared, in the order of the program (README.md says how):
// - feed moves and arcs: every end point; each expected move may come back
//   as several pieces (an arc in quadrants, or linearised, a helix in
//   straight moves), so moves are matched by their end points along the
//   path, not block by block; arcs read back as arcs keep the expected
//   centre, radius, plane and direction;
// - the geometry: the largest distance between the two tool-tip paths, both
//   ways, measured for each move against the pieces matched with it and
//   their neighbours (a window that moves along both paths, so the work
//   grows with the program's length);
// - rapid moves by their end points only: each expected rapid end (and a
//   milling path's start point) must be reached before the next feed move;
//   the rapids the writer adds between paths are allowed, but move across
//   only at or above the safe height of the path they lead to;
// - holes one by one: position, bottom, R level, cycle, feed, peck, dwell;
// - the feed of every move (within 1e-3 of it or 0.05 mm/min), the
//   spindle speed where the path sets one, and the tool in force.
// Dwells are not compared: the interpreter does not send them. Paths whose
// `refusal` is set are not expected in the code and are left out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cutmodel/cut_model.h"
#include "gcode/nc_system.h"
#include "kinematics/kinematics.h"

namespace zu::verify {

struct VerifyOptions {
  // The largest deviation allowed, millimetres (the .mcf's tolerance).
  double tolerance = 0.01;
  // The writer's notes: what the machine could not do and how it was
  // output. Passed through to the result and the report.
  std::vector<std::string> notes;
  // Mismatches kept with their details; all are counted.
  std::size_t max_mismatches = 20;
  // A five-axis machine's kinematics: the code is read as the machine moves
  // (the tip from the machine's axes where the control has no tool-centre-
  // point mode in force) and the tool axes are compared too, within
  // `axis_tolerance_degrees`. Null for a three-axis machine.
  const kin::Kinematics* kinematics = nullptr;
  double axis_tolerance_degrees = 0.01;
  // Stretches beyond the tolerance kept (VerifyResult::deviations).
  std::size_t max_deviations = 100;
  // Keep the motion read back (VerifyResult::motion), for a picture.
  bool keep_motion = false;
};

// A place in the expected program.
struct Place {
  std::string path;  // the expected path's name; empty where no path applies
  // The index of the path's step (or, where `hole`, of its hole), from 0;
  // -1 where the place is not a step (the code's own errors).
  int index = -1;
  bool hole = false;
  cut::Vec point;  // the point concerned, mm in the machine's frame
};

struct Mismatch {
  Place where;
  std::string text;  // what differs, with both values
};

// A stretch of the expected program farther from the code than the
// tolerance: consecutive steps of one path, or one hole.
struct Deviation {
  std::string path;  // the expected path's name
  int first = -1;    // its first and last step (or the hole), from 0
  int last = -1;
  bool hole = false;
  double largest = 0;  // mm
  cut::Vec at;         // where the largest distance was found
  cut::Vec low;        // the box of the places found beyond the tolerance
  cut::Vec high;
};

// A move of the program as it was read back, in the code's order,
// millimetres in the machine's frame.
struct ReadMove {
  enum class Kind { kRapid, kFeed, kArc, kHole };
  Kind kind = Kind::kRapid;
  // Where the tool was before the move, as far as the moves read tell (a
  // hole: above it, at its cycle's clearance); false for the first move,
  // whose start the code does not say.
  bool start_known = true;
  cut::Vec start;
  cut::Vec end;     // a hole: its bottom
  cut::Vec centre;  // kArc
  cut::Vec axis;    // kArc: unit; the arc turns counter-clockwise about it
};

struct [[nodiscard]] VerifyResult {
  double tolerance = 0;
  int paths = 0;                      // expected paths compared
  int paths_refused = 0;              // expected paths with a refusal, not compared
  std::uint64_t moves_compared = 0;   // expected feed moves and arcs
  std::uint64_t moves_read = 0;       // feed moves and arcs read back
  std::uint64_t rapids_compared = 0;  // expected rapid ends and start points
  std::uint64_t holes_compared = 0;
  std::uint64_t holes_read = 0;
  std::uint64_t lines_read = 0;
  // The largest distance between the two tool-tip paths (and of a hole
  // from where it was to be), and where the expected path has it.
  double largest_deviation = 0;
  Place deviation_at;
  std::vector<Mismatch> mismatches;  // the first VerifyOptions::max_mismatches
  std::uint64_t mismatch_count = 0;  // all of them
  std::vector<std::string> notes;    // the writer's, from the options
  // The first VerifyOptions::max_deviations stretches beyond the
  // tolerance, in the order found, and how many there were.
  std::vector<Deviation> deviations;
  std::uint64_t deviation_count = 0;
  // With VerifyOptions::keep_motion: every move read back.
  std::vector<ReadMove> motion;
  // Five-axis machines: tool axes compared (samples of feed moves found on
  // a five-axis path), the largest angle from the file's (degrees) and
  // where.
  std::uint64_t axes_compared = 0;
  double axis_tolerance_degrees = 0;
  double largest_axis_deviation = 0;
  Place axis_deviation_at;
  // The largest turn of one rotary axis in one feed move (degrees), and
  // which ('\0' where none turned).
  double largest_rotary_turn = 0;
  char rotary_turn_axis = 0;
  // No mismatch and the largest deviations within the tolerances.
  bool ok = false;
};

// Reads `code_text` as `system` describes the control and compares what it
// does with `expected`. Never throws for any input; an error of the code
// (a block the control refuses) is a mismatch.
VerifyResult VerifyProgram(const cut::Program& expected, std::string_view code_text,
                           const gcode::NcSystem& system, const VerifyOptions& options);

}  // namespace zu::verify
