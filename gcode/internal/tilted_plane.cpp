// Tilted working planes (3+2): FANUC G68.2 X Y Z I J K, G53.1 and G69;
// SIEMENS CYCLE800(...) and CYCLE800(). While a plane is in force the
// tool's position is kept in the plane's frame, where the program gives its
// points; they are turned into the work frame where they are sent.
#include <numbers>

#include "gcode/internal/interpreter_state.h"

namespace zu::gcode::internal {
namespace {

using Matrix = std::array<std::array<double, 3>, 3>;  // rows

// The sine and cosine of an angle in degrees, exact at multiples of 90
// degrees, so that a plane turned by a right angle sends whole numbers.
void SinCos(double degrees, double& sine, double& cosine) {
  const double quarters = std::fmod(degrees, 360.0) / 90;
  if (quarters == std::floor(quarters)) {
    constexpr double kSines[] = {0, 1, 0, -1};
    const int q = (static_cast<int>(quarters) % 4 + 4) % 4;
    sine = kSines[q];
    cosine = kSines[(q + 1) % 4];
    return;
  }
  const double radians = std::fmod(degrees, 360.0) * std::numbers::pi / 180;
  sine = std::sin(radians);
  cosine = std::cos(radians);
}

// The rotation by `degrees` about axis `axis` (0 X, 1 Y, 2 Z), right-handed.
Matrix About(int axis, double degrees) {
  double s = 0;
  double c = 1;
  SinCos(degrees, s, c);
  const auto k = static_cast<std::size_t>(axis);
  const std::size_t i = (k + 1) % 3;
  const std::size_t j = (k + 2) % 3;
  Matrix m{};
  m[k][k] = 1;
  m[i][i] = c;
  m[i][j] = -s;
  m[j][i] = s;
  m[j][j] = c;
  return m;
}

Matrix Product(const Matrix& a, const Matrix& b) {
  Matrix m{};
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c)
      m[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
  }
  return m;
}

// The plane's axes in the work frame: the columns.
std::array<Point, 3> Columns(const Matrix& m) {
  return {Point{m[0][0], m[1][0], m[2][0]}, Point{m[0][1], m[1][1], m[2][1]},
          Point{m[0][2], m[1][2], m[2][2]}};
}

// A point of the frame sent in the plane's frame.
Point ToPlane(const TiltedPlane& plane, const Point& p) {
  const Point d = Minus(p, plane.origin);
  return {Dot(plane.axes[0], d), Dot(plane.axes[1], d), Dot(plane.axes[2], d)};
}

}  // namespace

std::string CommandName(int key) {
  if (key == kSwivelCycle)
    return "CYCLE800";
  return "G" + std::to_string(key / 10) + (key % 10 != 0 ? "." + std::to_string(key % 10) : "");
}

Point Interpreter::ToWork(const Point& p) const {
  const TiltedPlane& plane = modal_.tilt;
  if (!plane.active)
    return p;
  const Point turned = TurnToWork(p);
  return {plane.origin[0] + turned[0], plane.origin[1] + turned[1], plane.origin[2] + turned[2]};
}

Point Interpreter::TurnToWork(const Point& v) const {
  const TiltedPlane& plane = modal_.tilt;
  if (!plane.active)
    return v;
  const auto& [x, y, z] = plane.axes;
  return {v[0] * x[0] + v[1] * y[0] + v[2] * z[0], v[0] * x[1] + v[1] * y[1] + v[2] * z[1],
          v[0] * x[2] + v[1] * y[2] + v[2] * z[2]};
}

AxisState Interpreter::Reported() const {
  AxisState axes = modal_.axes;
  if (modal_.tilt.turned) {
    // The tip is programmed; the control chose the rotary axes' positions.
    axes.rotary_known = 0;
    axes.rotary = {0, 0, 0};
    axes.tool_centre_point = true;
    axes.has_vector = true;
    axes.vector = modal_.tilt.axes[2];
  }
  return axes;
}

// The block's plane commands: a cancel first (the block's moves are then
// work-frame moves), then a definition or a turn of the tool, which make
// the whole block (`done`). Otherwise checks what the block may do in the
// plane in force.
bool Interpreter::PlanTiltedPlane(bool& done) {
  TiltedPlane& plane = modal_.tilt;
  done = false;
  if (plan_.plane_cancel != 0 && plane.active) {
    // The tool stays where it is, in the work frame again; the rotary
    // axes stay where the control put them.
    modal_.position = ToWork(modal_.position);
    modal_.tangent_known = false;
    plane = TiltedPlane{};
  }
  if (plan_.plane_define == 0 && plan_.plane_turn == 0)
    return InTiltedPlane();
  done = true;
  modal_.axes.inverse_time = 0;
  const bool was_turned = plane.turned;
  const Point axis_before = plane.axes[2];
  if (plan_.plane_define != 0 && !DefinePlane(CommandName(plan_.plane_define)))
    return false;
  if (plan_.plane_turn == 0)
    return true;
  if (!plane.active)
    return Fail(CommandName(plan_.plane_turn) + " without a tilted plane");
  if (plan_.plane_define == 0 && !InTiltedPlane())
    return false;
  plane.turned = true;
  // The control positions the rotary axes: their positions are its own,
  // also once the plane ends.
  modal_.axes.rotary_known = 0;
  modal_.axes.rotary = {0, 0, 0};
  modal_.rotary_lost = kAxisA | kAxisB | kAxisC;
  plan_.axes_moved = !was_turned || !Same(plane.axes[2], axis_before);
  if (plan_.axes_moved && modal_.position_known)
    plan_.moves[static_cast<std::size_t>(plan_.move_count++)] = {
        Move::kRapid, modal_.position, {}, {}};
  return true;
}

// G68.2 X Y Z I J K: the origin in the work frame (absolute, 0 where left
// out) and Euler angles in degrees about Z, the new X and the new Z.
// CYCLE800(_FR, _TC, _ST, _MODE, _X0, _Y0, _Z0, _A, _B, _C, _X1, _Y1, _Z1,
// _DIR, _FR_I, _DMODE) with _MODE 57: the origin _X0 _Y0 _Z0, turned axis
// by axis about X, the new Y and the new Z, then moved by _X1 _Y1 _Z1
// along the turned axes. A new CYCLE800 replaces the plane in force; G68.2
// over G68.2 is a control's alarm.
bool Interpreter::DefinePlane(const std::string& command) {
  const Block& b = block_;
  TiltedPlane& plane = modal_.tilt;
  const bool swivel = plan_.plane_define == kSwivelCycle;
  if (plane.active && !swivel)
    return Fail(command + " while a tilted plane is in force: it must be cancelled first");
  if (modal_.axes.tool_centre_point)
    return Fail(command + " under tool-centre-point control");
  if (modal_.compensation != kCompensationOff)
    return Fail(command + " with cutter compensation on");
  if (modal_.cycle != 0 || modal_.mcall)
    return Fail(command + " in a drilling cycle");
  Point origin{0, 0, 0};
  Point shift{0, 0, 0};
  Matrix turn{};
  if (swivel) {
    const auto has = [&](int i) {
      return i < b.argument_count && (b.arguments_present >> i & 1) != 0;
    };
    const auto value = [&](int i) { return has(i) ? b.arguments[static_cast<std::size_t>(i)] : 0; };
    if (!has(3))
      return Fail("CYCLE800 needs its mode _MODE");
    if (value(3) != 57)
      return Fail("CYCLE800 mode " + Format("%g", value(3)) + " is not read");
    // _ST's units digit 1 turns the plane in force further.
    if (std::fmod(std::fabs(value(2)), 10) == 1)
      return Fail("CYCLE800 with an additive swivel (_ST) is not read");
    origin = {Convert(value(4)), Convert(value(5)), Convert(value(6))};
    turn = Product(Product(About(0, value(7)), About(1, value(8))), About(2, value(9)));
    shift = {Convert(value(10)), Convert(value(11)), Convert(value(12))};
  } else {
    const char letters[] = {'X', 'Y', 'Z'};
    for (std::size_t i = 0; i < 3; ++i)
      origin[i] = b.Has(letters[i]) ? Length(letters[i]) : 0;
    const auto angle = [&](char letter) { return b.Has(letter) ? Angle(letter) : 0.0; };
    turn = Product(Product(About(2, angle('I')), About(0, angle('J'))), About(2, angle('K')));
  }
  if (plane.active)
    modal_.position = ToWork(modal_.position);
  plane.active = true;
  plane.turned = false;
  plane.axes = Columns(turn);
  const Point moved = TurnToWork(shift);
  for (std::size_t i = 0; i < 3; ++i)
    plane.origin[i] = origin[i] + modal_.offset[i] + moved[i];
  modal_.position = ToPlane(plane, modal_.position);
  modal_.tangent_known = false;
  return true;
}

// What a block may not do in a tilted plane: turn the tool otherwise, move
// in machine coordinates or home, drill (the drill groups sent are vertical),
// compensate the cutter radius (sent for the work frame's XY plane) or change
// the work offset, which the plane's origin holds.
bool Interpreter::InTiltedPlane() {
  if (!modal_.tilt.active)
    return true;
  const Block& b = block_;
  if ((b.present & sys_.rotary_words) != 0 || b.vector_present != 0)
    return Fail("a rotary axis or tool vector in a tilted plane");
  if (plan_.tcp_code || b.tcp_on || b.tcp_off)
    return Fail("tool-centre-point control in a tilted plane");
  if (plan_.home || plan_.machine)
    return Fail("machine positions (G28, G53) in a tilted plane");
  if (modal_.cycle != 0 || b.cycle != 0)
    return Fail("a drilling cycle in a tilted plane is not read");
  if (modal_.compensation != kCompensationOff)
    return Fail("cutter compensation in a tilted plane is not read");
  if (modal_.offset_index != plan_.offset_before)
    return Fail("a work offset change in a tilted plane");
  return true;
}

}  // namespace zu::gcode::internal
