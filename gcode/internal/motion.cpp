// The moves of a block: straight moves, arcs (centre or radius, CIP, CT), G28.
#include "gcode/internal/interpreter_state.h"

namespace zu::gcode::internal {

bool Interpreter::PlanHome() {
  const Block& b = block_;
  if (modal_.cycle != 0)
    return Fail("G28 in a drilling cycle");
  const Point through = TargetPoint();
  plan_.moves[static_cast<std::size_t>(plan_.move_count++)] = {Move::kRapid, through, {}, {}};
  Point home = through;
  const char letters[] = {'X', 'Y', 'Z'};
  bool moved = false;
  for (std::size_t axis = 0; axis < 3; ++axis) {
    if (b.Has(letters[axis]) && sys_.home_set[axis]) {
      home[axis] = sys_.home[axis];
      moved = true;
    }
  }
  if (moved)
    plan_.moves[static_cast<std::size_t>(plan_.move_count++)] = {Move::kRapid, home, {}, {}};
  return true;
}

bool Interpreter::PlanMotion() {
  const Block& b = block_;
  const bool axes = (b.present & (Bit('X') | Bit('Y') | Bit('Z'))) != 0;
  // Rotary axis words or a tool vector alone make a straight move that
  // keeps X, Y and Z, once the tool's position is known (before, the turn
  // goes with the first move); an arc needs its own words.
  const bool turns = plan_.rotary_words != 0 || b.vector_present != 0;
  const bool arc_words = axes || (b.present & (Bit('I') | Bit('J') | Bit('K'))) != 0 || b.has_cr ||
                         b.point1_present != 0 ||
                         (sys_.radius_address != '\0' && b.Has(sys_.radius_address));
  if (turns && !arc_words && modal_.motion != Motion::kRapid && modal_.motion != Motion::kLinear)
    return Fail("a rotary axis or tool vector alone in an arc block");
  switch (modal_.motion) {
    case Motion::kRapid:
    case Motion::kLinear:
      if (axes || (turns && modal_.position_known))
        plan_.moves[static_cast<std::size_t>(plan_.move_count++)] = {
            modal_.motion == Motion::kRapid ? Move::kRapid : Move::kFeed, TargetPoint(), {}, {}};
      return true;
    case Motion::kClockwise:
    case Motion::kCounterClockwise:
      if (plan_.machine)
        return Fail("G53 takes straight moves only");
      if (!axes && (b.present & (Bit('I') | Bit('J') | Bit('K'))) == 0 && !b.has_cr &&
          !(sys_.radius_address != '\0' && b.Has(sys_.radius_address)))
        return true;
      return PlanArc(modal_.motion == Motion::kClockwise);
    case Motion::kCip:
      if (plan_.machine)
        return Fail("G53 takes straight moves only");
      if (!axes && b.point1_present == 0)
        return true;
      return PlanCip();
    case Motion::kCt:
      if (plan_.machine)
        return Fail("G53 takes straight moves only");
      if (!axes)
        return true;
      return PlanCt();
  }
  return true;
}

bool Interpreter::PlanArc(bool clockwise) {
  const Block& b = block_;
  const PlaneAxes& p = kPlanes[static_cast<int>(modal_.plane)];
  const std::size_t a = static_cast<std::size_t>(p.a);
  const std::size_t bb = static_cast<std::size_t>(p.b);
  const std::size_t n = static_cast<std::size_t>(p.n);
  const Point& start = modal_.position;
  const Point end = TargetPoint();
  const double tolerance = sys_.arc_tolerance;
  if (b.Has(p.other))
    return Fail(std::string(1, p.other) + " is no centre word in the " + p.name);
  const bool has_r = sys_.radius_address != '\0' && b.Has(sys_.radius_address);
  const bool has_centre = b.Has(p.centre_a) || b.Has(p.centre_b);
  double ca = 0;
  double cb = 0;
  const double da = end[a] - start[a];
  const double db = end[bb] - start[bb];
  if (has_r || b.has_cr) {
    const double r = b.has_cr ? Convert(b.cr) : Length(sys_.radius_address);
    const double chord = std::hypot(da, db);
    if (chord < 1e-9)
      return Fail("an arc given by its radius cannot be a full circle");
    const double half = chord / 2;
    if (std::fabs(r) < half - tolerance)
      return Fail("the radius " + Format("%.4f", std::fabs(r)) +
                  " mm is too small for the arc's end point, " + Format("%.4f", half) +
                  " mm away from the middle");
    const double h2 = r * r - half * half;
    const double h = h2 > 0 ? std::sqrt(h2) : 0;
    // The centre lies left of the chord for a short counter-clockwise arc.
    const double side = (clockwise ? -1.0 : 1.0) * (r < 0 ? -1.0 : 1.0);
    ca = start[a] + da / 2 - side * h * db / chord;
    cb = start[bb] + db / 2 + side * h * da / chord;
  } else if (has_centre) {
    const auto centre = [&](char letter, std::size_t axis) {
      if (sys_.centre_absolute)
        return b.Has(letter) ? Length(letter) + Shift(axis) : start[axis];
      return start[axis] + (b.Has(letter) ? Length(letter) : 0.0);
    };
    ca = centre(p.centre_a, a);
    cb = centre(p.centre_b, bb);
    const double r1 = std::hypot(start[a] - ca, start[bb] - cb);
    const double r2 = std::hypot(end[a] - ca, end[bb] - cb);
    if (r1 < 1e-9)
      return Fail("the arc's centre is its start point");
    if (std::fabs(r1 - r2) > tolerance)
      return Fail("the arc's radius at its start (" + Format("%.4f", r1) + " mm) and end (" +
                  Format("%.4f", r2) + " mm) differ by more than " + Format("%g", tolerance) +
                  " mm");
  } else {
    return Fail(std::string("the arc needs its centre (") + p.centre_a + ", " + p.centre_b +
                ") or a radius");
  }
  Move& move = plan_.moves[static_cast<std::size_t>(plan_.move_count++)];
  move.kind = Move::kArc;
  move.end = end;
  move.centre[a] = ca;
  move.centre[bb] = cb;
  move.centre[n] = start[n];
  move.axis = {0, 0, 0};
  move.axis[n] = clockwise ? -1 : 1;
  return true;
}

bool Interpreter::PlanCip() {
  const Block& b = block_;
  const Point& start = modal_.position;
  const Point end = TargetPoint();
  Point middle = start;
  for (std::size_t axis = 0; axis < 3; ++axis) {
    if ((b.point1_present >> axis & 1) == 0)
      continue;
    const double value = Convert(b.point1[axis]);
    middle[axis] = modal_.incremental ? start[axis] + value : value + Shift(axis);
  }
  const Point u = Minus(middle, start);
  const Point v = Minus(end, start);
  const Point w = Cross(u, v);
  const double w2 = Dot(w, w);
  const double scale = Dot(u, u) * Dot(v, v);
  if (w2 <= 1e-18 * scale || scale < 1e-18)
    return Fail("CIP's start, intermediate and end points lie on one line");
  const Point first = Cross(v, w);
  const Point second = Cross(w, u);
  Move& move = plan_.moves[static_cast<std::size_t>(plan_.move_count++)];
  move.kind = Move::kArc;
  move.end = end;
  for (std::size_t i = 0; i < 3; ++i)
    move.centre[i] = start[i] + (Dot(u, u) * first[i] + Dot(v, v) * second[i]) / (2 * w2);
  const double length = std::sqrt(w2);
  move.axis = {w[0] / length, w[1] / length, w[2] / length};
  return true;
}

bool Interpreter::PlanCt() {
  const PlaneAxes& p = kPlanes[static_cast<int>(modal_.plane)];
  const std::size_t a = static_cast<std::size_t>(p.a);
  const std::size_t bb = static_cast<std::size_t>(p.b);
  const std::size_t n = static_cast<std::size_t>(p.n);
  const Point& start = modal_.position;
  const Point end = TargetPoint();
  double ta = modal_.tangent[a];
  double tb = modal_.tangent[bb];
  const double t = std::hypot(ta, tb);
  if (!modal_.tangent_known || t < 1e-12)
    return Fail("CT needs the direction of the move before it in the " + std::string(p.name));
  ta /= t;
  tb /= t;
  const double va = end[a] - start[a];
  const double vb = end[bb] - start[bb];
  const double v2 = va * va + vb * vb;
  if (v2 < 1e-18)
    return Fail("CT needs an end point apart from its start");
  // The centre lies on the normal to the tangent through the start.
  const double dot = -tb * va + ta * vb;
  Move& move = plan_.moves[static_cast<std::size_t>(plan_.move_count++)];
  move.end = end;
  if (std::fabs(dot) <= 1e-12 * std::sqrt(v2)) {
    move.kind = Move::kFeed;  // the end lies straight ahead
    return true;
  }
  const double rho = v2 / (2 * dot);
  move.kind = Move::kArc;
  move.centre[a] = start[a] - rho * tb;
  move.centre[bb] = start[bb] + rho * ta;
  move.centre[n] = start[n];
  move.axis = {0, 0, 0};
  move.axis[n] = rho > 0 ? 1 : -1;
  return true;
}

}  // namespace zu::gcode::internal
