// Paths in a tilted system (3+2) on a machine whose control has its own
// tilted-plane command: FANUC's "G68.2 X Y Z I J K" (origin and Z-X-Z Euler
// angles) with "G53.1", cancelled by "G69"; SIEMENS' "CYCLE800(...)" (swivel
// axis by axis: about X, the new Y, the new Z), cancelled by "CYCLE800()".
// Between them the path is three-axis code in the plane's coordinates.
#include <algorithm>
#include <cmath>

#include "codewriter/internal/writer.h"
#include "codewriter/number_text.h"

namespace zu::codewriter::internal {

namespace {

constexpr double kDegrees = 180 / 3.14159265358979323846;

double Dot(const cut::Vec& a, const cut::Vec& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// A work-frame point or direction in the plane's coordinates.
cut::Vec ToPlane(const cut::Frame& f, const cut::Vec& p, bool point) {
  const cut::Vec d = point ? cut::Vec{p.x - f.origin.x, p.y - f.origin.y, p.z - f.origin.z} : p;
  return {Dot(d, f.x), Dot(d, f.y), Dot(d, f.z)};
}

// The angles (degrees) of R = [x y z] as Rz(a) Rx(b) Rz(c).
void EulerZXZ(const cut::Frame& f, double angles[3]) {
  const double b = std::acos(std::clamp(f.z.z, -1.0, 1.0));
  double a = 0;
  double c = 0;
  if (std::sin(b) > 1e-12) {
    a = std::atan2(f.z.x, -f.z.y);
    c = std::atan2(f.x.z, f.y.z);
  } else {
    // About Z alone (or turned over): a and c add up.
    a = std::atan2(f.x.y, f.x.x);
  }
  angles[0] = a * kDegrees;
  angles[1] = b * kDegrees;
  angles[2] = c * kDegrees;
}

// The angles (degrees) of R = [x y z] as Rx(a) Ry(b) Rz(c).
void AxisByAxisXYZ(const cut::Frame& f, double angles[3]) {
  const double b = std::asin(std::clamp(f.z.x, -1.0, 1.0));
  double a = 0;
  double c = 0;
  if (std::cos(b) > 1e-12) {
    a = std::atan2(-f.z.y, f.z.z);
    c = std::atan2(-f.y.x, f.x.x);
  } else {
    a = std::atan2(f.y.z, f.y.y);
  }
  angles[0] = a * kDegrees;
  angles[1] = b * kDegrees;
  angles[2] = c * kDegrees;
}

}  // namespace

void Writer::PlaneWords(const cut::Frame& f) {
  std::string& b = out_.Begin();
  double angles[3];
  if (machine_.kinematics->tilted_plane == machine::TiltedPlane::kG68_2) {
    EulerZXZ(f, angles);
    b += "G68.2 ";
    Length(b, 'X', f.origin.x);
    Length(b, 'Y', f.origin.y);
    Length(b, 'Z', f.origin.z);
    const char names[3] = {'I', 'J', 'K'};
    for (int k = 0; k < 3; ++k) {
      b += names[k];
      AppendDecimal(b, angles[k], AngleDecimals());
      b += ' ';
    }
    out_.End();
    out_.Begin() += "G53.1";
    out_.End();
    return;
  }
  // CYCLE800(_FR, _TC, _ST, _MODE, _X0, _Y0, _Z0, _A, _B, _C, _X1, _Y1, _Z1,
  // _DIR, _FR_I, _DMODE): retract in Z first, the machine's swivel data,
  // axis by axis about X Y Z (mode 57), the plane's origin, the preferred
  // direction +.
  AxisByAxisXYZ(f, angles);
  b += "CYCLE800(1,\"\",0,57,";
  for (double v : {f.origin.x, f.origin.y, f.origin.z}) {
    AppendDecimal(b, v * scale_, machine_.decimals.coordinates);
    b += ',';
  }
  for (double a : angles) {
    AppendDecimal(b, a, AngleDecimals());
    b += ',';
  }
  b += "0,0,0,1,0,1)";
  out_.End();
}

void Writer::TiltedPlanePath(const cut::Path& path) {
  const cut::Frame& f = *path.tilted;
  // The path in the plane's coordinates: three-axis motion there.
  cut::Path local = path;
  local.tilted.reset();
  local.five_axis = false;
  if (local.home)
    local.home = ToPlane(f, *local.home, true);
  for (cut::Step& step : local.steps) {
    if (step.kind == cut::Step::Kind::kDwell)
      continue;
    step.end = ToPlane(f, step.end, true);
    step.centre = ToPlane(f, step.centre, true);
    step.normal = ToPlane(f, step.normal, false);
    // Exactly along an axis of the plane, as the arc's plane word needs.
    for (double* v : {&step.normal.x, &step.normal.y, &step.normal.z})
      *v = std::round(*v);
    step.axis = {0, 0, 1};
  }
  // Up in the work frame before the tool turns, then the plane.
  double clear = path.safe_height.value_or(0);
  for (const cut::Step& step : local.steps)
    clear = std::max(clear, step.end.z);
  const cut::Vec above = {f.origin.x + clear * f.z.x, f.origin.y + clear * f.z.y,
                          f.origin.z + clear * f.z.z};
  if (known_[2] && position_.z < above.z) {
    cut::Vec up = position_;
    up.z = above.z;
    Rapid(up, 4);
  }
  PlaneWords(f);
  // The control turns the rotary axes: where they go is the solution
  // nearest where they were; their words are written whole next time.
  const kin::ToolPose pose{{f.origin.x, f.origin.y, f.origin.z}, {f.z.x, f.z.y, f.z.z}};
  const auto turned =
      rotary_known_ ? kinematics_->NearestWithin(pose, machine_at_) : kinematics_->First(pose);
  if (turned) {
    machine_at_ = *turned;
    rotary_known_ = true;
  } else {
    rotary_known_ = false;
  }
  rotary_text_ = {};
  known_ = {false, false, false};
  motion_ = -1;
  MillPath(local);
  PathEnd(local);
  std::string& b = out_.Begin();
  b += machine_.kinematics->tilted_plane == machine::TiltedPlane::kG68_2 ? "G69" : "CYCLE800()";
  out_.End();
  // The tool is where the plane left it, now in the work frame's words.
  if (known_[0] && known_[1] && known_[2]) {
    const cut::Vec p = position_;
    position_ = {f.origin.x + p.x * f.x.x + p.y * f.y.x + p.z * f.z.x,
                 f.origin.y + p.x * f.x.y + p.y * f.y.y + p.z * f.z.y,
                 f.origin.z + p.x * f.x.z + p.y * f.y.z + p.z * f.z.z};
    const double values[3] = {position_.x, position_.y, position_.z};
    for (int k = 0; k < 3; ++k) {
      axis_text_[static_cast<std::size_t>(k)].clear();
      AppendDecimal(axis_text_[static_cast<std::size_t>(k)], values[k] * scale_,
                    machine_.decimals.coordinates);
    }
  }
  motion_ = -1;
}

}  // namespace zu::codewriter::internal
