// What a five-axis program adds to the path builder's calls: the rotary axes,
// the tool-centre-point mode, the SIEMENS tool-axis vector and inverse-time
// feeds. A PathReceiver holds none of it; a caller that needs it (the
// verification, which runs the machine's kinematics on what it reads) gives
// ReadProgram a MultiAxisReceiver as well.
//
// Protocol. Each RapidTo, FeedTo and ArcTo the interpreter sends is preceded,
// immediately, by one AxesOfNextMove call with the state at that move's end.
// With a MultiAxisReceiver given, a move that turns a rotary axis or the
// tool vector without moving X, Y or Z is sent too, as a RapidTo or FeedTo to
// where the tool is; without one it is not sent (the path builder could do
// nothing with it). Holes (AddDrillPoint) carry no rotary motion: a drilling
// cycle's block refuses rotary words.
//
// Frames. X, Y and Z are what the program says: under tool-centre-point
// control (`tool_centre_point`) the tool tip in the work frame; without it
// the linear axes' positions (work offset added), which a machine whose
// rotary axes carry the part or turn the head turns into a tool-tip position
// only through its kinematics. In a tilted working plane (G68.2, CYCLE800)
// the program's points are the plane's; they are sent turned into the work
// frame, and once the tool is turned to the plane (G53.1, CYCLE800) they are
// the tip, reported as under tool-centre-point control with the plane's Z
// as the tool vector and no rotary position (the control chose them).
#pragma once

#include <array>
#include <cstdint>

namespace zu::gcode {

// Bits of AxisState::rotary_known.
inline constexpr std::uint8_t kAxisA = 1;
inline constexpr std::uint8_t kAxisB = 2;
inline constexpr std::uint8_t kAxisC = 4;

struct AxisState {
  // The rotary axes' positions in degrees, absolute (incremental words
  // added up), as the program gives them: machine axis positions, with no
  // work offset and no wrapping into a range. Index 0 is A, 1 B, 2 C; only
  // the axes whose bit is in `rotary_known` have a position (an axis is
  // known from its first word on, and no longer after a tool vector, whose
  // axis positions the control computes).
  std::uint8_t rotary_known = 0;
  std::array<double, 3> rotary{0, 0, 0};
  // Tool-centre-point control in force (FANUC G43.4, SIEMENS TRAORI; the
  // tool turned to a tilted plane).
  bool tool_centre_point = false;
  // SIEMENS A3= B3= C3=: the tool axis, a unit vector in the work frame
  // pointing from the tip towards the tool holder. In force from the block
  // that gives it until a rotary axis word or the end of the transformation.
  // A tilted plane the tool is turned to gives its Z until it ends.
  bool has_vector = false;
  std::array<double, 3> vector{0, 0, 1};
  // Inverse-time feed (G93): the block's F, in 1/minutes (the move takes
  // 1/F minutes); 0 for rapids and under feed per minute. The feed rate the
  // PathReceiver is given for such a move is the length of its X Y Z path
  // times F, in millimetres per minute (a move of the rotary axes alone
  // keeps the feed rate sent before).
  double inverse_time = 0;
};

// The receiver of a read program's multi-axis state. Implementations must not
// throw.
class MultiAxisReceiver {
 public:
  virtual ~MultiAxisReceiver() = default;

  // The state at the end of the move the next RapidTo, FeedTo or ArcTo
  // sends (see above). Valid during the call.
  virtual void AxesOfNextMove(const AxisState& axes) = 0;
};

}  // namespace zu::gcode
