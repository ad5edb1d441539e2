// Five axes: rotary axis words, SIEMENS tool vectors, tool-centre-point
// control switched by keywords, and inverse-time feeds turned into feeds
// per minute.
#include <numbers>

#include "gcode/internal/interpreter_state.h"

namespace zu::gcode::internal {
namespace {

// The length of the X Y Z path of `move` from `from`: a straight line, or
// an arc (or helix) counter-clockwise about its axis.
double MoveLength(const Point& from, const Move& move) {
  const Point chord = Minus(move.end, from);
  if (move.kind != Move::kArc)
    return std::sqrt(Dot(chord, chord));
  const Point& n = move.axis;
  const auto in_plane = [&](const Point& p) {
    const Point d = Minus(p, move.centre);
    const double along = Dot(d, n);
    return Point{d[0] - along * n[0], d[1] - along * n[1], d[2] - along * n[2]};
  };
  const Point u = in_plane(from);
  const Point v = in_plane(move.end);
  // A full circle ends where it starts, in the plane.
  double sweep = 2 * std::numbers::pi;
  if (!Same(u, v)) {
    sweep = std::atan2(Dot(n, Cross(u, v)), Dot(u, v));
    if (sweep < 0)
      sweep += 2 * std::numbers::pi;
  }
  return std::hypot(std::sqrt(Dot(u, u)) * sweep, Dot(chord, n));
}

}  // namespace

// Degrees: the least input increment applies as to lengths (a FANUC A90000
// is 90 degrees at 0.001), inch units do not.
double Interpreter::Angle(char letter) const {
  double value = block_.Value(letter);
  if (!sys_.calculator && !block_.Point(letter) && sys_.Scaled(letter))
    value /= kPowersOfTen[sys_.metric_increment_digits];
  return value;
}

// The transformation keywords, the tool vector and the rotary axis words,
// taken into modal_.axes.
bool Interpreter::PlanAxes() {
  const Block& b = block_;
  AxisState& axes = modal_.axes;
  const AxisState before = axes;
  if (b.tcp_on && b.tcp_off)
    return Fail(sys_.tcp_on_keyword + " and " + sys_.tcp_off_keyword + " in one block");
  if (b.tcp_on)
    axes.tool_centre_point = true;
  if (b.tcp_off) {
    axes.tool_centre_point = false;
    axes.has_vector = false;
  }
  plan_.rotary_words = b.present & sys_.rotary_words;
  if (plan_.rotary_words == 0 && b.vector_present == 0)
    return true;
  if (modal_.cycle != 0 || b.cycle != 0 || b.mcall || modal_.mcall)
    return Fail("a rotary axis or tool vector in a drilling cycle");
  if (b.vector_present != 0) {
    if (plan_.dwell || plan_.offset_data || plan_.home)
      return Fail("A3=, B3=, C3= have no meaning in this block");
    if (!axes.tool_centre_point)
      return Fail("A3=, B3=, C3= belong to " + (sys_.tcp_on_keyword.empty()
                                                    ? std::string("tool-centre-point control")
                                                    : sys_.tcp_on_keyword));
    if (plan_.rotary_words != 0)
      return Fail("a tool vector and rotary axis words in one block");
    // Components left out are 0; the length does not count.
    Point v{0, 0, 0};
    for (std::size_t i = 0; i < 3; ++i) {
      if ((b.vector_present >> i & 1) != 0)
        v[i] = b.vector[i];
    }
    const double length = std::sqrt(Dot(v, v));
    if (!(length > 1e-9))
      return Fail("a tool vector of length 0");
    axes.vector = {v[0] / length, v[1] / length, v[2] / length};
    axes.has_vector = true;
    // The control chooses the rotary axes' positions.
    axes.rotary_known = 0;
    axes.rotary = {0, 0, 0};
    modal_.rotary_lost = kAxisA | kAxisB | kAxisC;
  }
  for (char letter = 'A'; letter <= 'C'; ++letter) {
    if ((plan_.rotary_words & Bit(letter)) == 0)
      continue;
    const std::size_t i = static_cast<std::size_t>(letter - 'A');
    const auto bit = static_cast<std::uint8_t>(Bit(letter));
    const double value = Angle(letter);
    if (modal_.incremental && !plan_.machine) {
      if ((modal_.rotary_lost & bit) != 0)
        return Fail(std::string("an incremental ") + letter +
                    " after a tool vector: the axis's position is not known");
      axes.rotary[i] += value;  // from 0 before the axis's first word, as X, Y and Z
    } else {
      axes.rotary[i] = value;
      modal_.rotary_lost &= static_cast<std::uint8_t>(~bit);
    }
    axes.rotary_known |= bit;
  }
  if (plan_.rotary_words != 0)
    axes.has_vector = false;
  plan_.axes_moved = axes.rotary_known != before.rotary_known || axes.rotary != before.rotary ||
                     axes.has_vector != before.has_vector ||
                     (axes.has_vector && axes.vector != before.vector);
  return true;
}

// Under G93 the block's F says how long its feed moves take: 1/F minutes.
// The receiver is given the feed per minute that takes as long over the
// X Y Z path (its length times F), and the F itself with the axes.
bool Interpreter::PlanInverseTime() {
  modal_.axes.inverse_time = 0;
  if (!modal_.inverse_time)
    return true;
  bool cuts = false;
  double length = 0;
  Point from = modal_.position;
  for (int i = 0; i < plan_.move_count; ++i) {
    const Move& move = plan_.moves[static_cast<std::size_t>(i)];
    if (move.kind != Move::kRapid) {
      cuts = true;
      length += MoveLength(from, move);
    }
    from = move.end;
  }
  // An F without a feed move sets nothing; a feed move without its F is an
  // alarm (CheckAlarms).
  if (!cuts || !plan_.has_inverse_f)
    return true;
  modal_.axes.inverse_time = plan_.inverse_f;
  if (length > 0) {  // a turn of the rotary axes alone keeps the feed sent before
    modal_.feed = length * plan_.inverse_f;
    modal_.feed_known = true;
  }
  return true;
}

bool Interpreter::HolesAtFeedPerMinute() {
  if (plan_.holes.count > 0 && modal_.inverse_time)
    return Fail("a drilling cycle under inverse-time feed (G93)");
  return true;
}

}  // namespace zu::gcode::internal
