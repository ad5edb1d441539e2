// A block's meaning: its G and M codes and words taken into the modal state,
// checked before anything is sent; values in the program's units and frame.
#include "gcode/internal/interpreter_state.h"

namespace zu::gcode::internal {

double Interpreter::Length(char letter) const {
  double value = block_.Value(letter);
  const bool inches = modal_.units == Units::kInches;
  if (!sys_.calculator && !block_.Point(letter) && sys_.Scaled(letter))
    value /= kPowersOfTen[inches ? sys_.inch_increment_digits : sys_.metric_increment_digits];
  return inches ? value * kInch : value;
}

Point Interpreter::OffsetOf(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= offsets_.size())
    return {0, 0, 0};
  const WorkOffset& offset = offsets_[static_cast<std::size_t>(index)];
  return {offset.x, offset.y, offset.z};
}

double Interpreter::Target(int axis, char letter) const {
  if (!block_.Has(letter))
    return modal_.position[static_cast<std::size_t>(axis)];
  if (plan_.machine)
    return Length(letter);
  if (modal_.incremental)
    return modal_.position[static_cast<std::size_t>(axis)] + Length(letter);
  return Length(letter) + Shift(static_cast<std::size_t>(axis));
}

Point Interpreter::TargetPoint() const {
  return {Target(0, 'X'), Target(1, 'Y'), Target(2, 'Z')};
}

double Interpreter::Seconds(double value, bool has_point, TimeUnit unit, char letter,
                            std::string& error) const {
  if (value < 0) {
    error = std::string("a negative dwell time ") + letter;
    return 0;
  }
  switch (unit) {
    case TimeUnit::kSeconds:
      if (!sys_.calculator && !has_point && sys_.Scaled(letter))
        value /= kPowersOfTen[sys_.metric_increment_digits];
      return value;
    case TimeUnit::kMilliseconds:
      if (has_point) {
        error = std::string(1, letter) + " takes whole milliseconds, without a decimal point";
        return 0;
      }
      return value / 1000;
    case TimeUnit::kRevolutions:
      if (EffectiveSpeed() <= 0) {
        error = std::string("a dwell in revolutions (") + letter + ") needs a spindle speed";
        return 0;
      }
      return value * 60 / EffectiveSpeed();
  }
  return 0;
}

bool Interpreter::WholeNumber(char letter, long maximum, long& value) {
  const double v = block_.Value(letter);
  if (block_.Point(letter) || v < 0 || v > static_cast<double>(maximum) || v != std::floor(v))
    return Fail(std::string(1, letter) + " takes a whole number from 0 to " +
                std::to_string(maximum));
  value = static_cast<long>(v);
  return true;
}

bool Interpreter::Fail(std::string message) {
  Error(std::move(message));
  return false;
}

void Interpreter::Execute() {
  if (PlanPlainMove()) {
    CheckAlarms(modal_.position);
    Perform();
    return;
  }
  const Modal saved = modal_;
  if (!Plan()) {
    modal_ = saved;
    return;
  }
  CheckAlarms(saved.position);
  Perform();
}

// The most common block, a straight move in the modal G0 or G1 with at most
// a block number and a feed besides: planned as Plan() plans it, without
// its general checks, none of which it can fail. False, with nothing
// changed, for any other block.
bool Interpreter::PlanPlainMove() {
  const Block& b = block_;
  std::uint32_t plain = Bit('N') | Bit('X') | Bit('Y') | Bit('Z') | Bit('F');
  // D and H, wherever the system puts them, are technology words.
  for (const char address : {sys_.radius_offset_address, sys_.length_offset_address}) {
    if (address >= 'A' && address <= 'Z')
      plain &= ~Bit(address);
  }
  const std::uint32_t axes = Bit('X') | Bit('Y') | Bit('Z');
  if ((b.present & ~plain) != 0 || (b.present & axes) == 0 || b.g_count != 0 || b.m_count != 0 ||
      b.cip || b.ct || b.has_cr || b.point1_present != 0 || b.cycle != 0 || b.swivel || b.mcall ||
      b.ret || !b.call.empty() || b.has_tool_name || b.vector_present != 0 || b.tcp_on || b.tcp_off)
    return false;
  if ((modal_.motion != Motion::kRapid && modal_.motion != Motion::kLinear) || modal_.cycle != 0 ||
      modal_.mcall || modal_.inverse_time || (b.Has('F') && b.Value('F') < 0))
    return false;
  plan_.tool_change = plan_.stop = plan_.end = plan_.sub_end = plan_.home = false;
  plan_.path_tolerance = false;
  plan_.dwell = plan_.offset_data = plan_.machine = plan_.spindle_changed = false;
  plan_.call_form = 0;
  plan_.holes.count = 0;
  plan_.tool_named = false;
  plan_.offset_target = -1;
  plan_.axes_moved = plan_.has_inverse_f = false;
  plan_.rotary_words = 0;
  modal_.axes.inverse_time = 0;
  modal_.r_known = modal_.z_known = modal_.q_known = false;
  modal_.cycle_dwell = 0;
  if (b.Has('F')) {
    modal_.feed = Convert(b.Value('F'));
    modal_.feed_known = true;
  }
  plan_.moves[0] = {
      modal_.motion == Motion::kRapid ? Move::kRapid : Move::kFeed, TargetPoint(), {}, {}};
  plan_.move_count = 1;
  return true;
}

// What a control would stop at in a block whose meaning is plain: reported,
// and the block read all the same. `before`: where the tool was.
void Interpreter::CheckAlarms(const Point& before) {
  bool cuts = false;
  Point from = before;
  const PlaneAxes& p = kPlanes[static_cast<int>(modal_.plane)];
  for (int i = 0; i < plan_.move_count; ++i) {
    const Move& move = plan_.moves[static_cast<std::size_t>(i)];
    cuts = cuts || move.kind != Move::kRapid;
    if (!modal_.compensation_starting)
      continue;
    if (move.kind == Move::kArc) {
      modal_.compensation_starting = false;
      Error(std::string("cutter compensation ") +
                (modal_.compensation == kCompensationLeft ? "G41" : "G42") +
                " starts on an arc (a control raises an alarm): it starts at the next straight "
                "move",
            Outcome::kRead);
    } else if (move.end[static_cast<std::size_t>(p.a)] != from[static_cast<std::size_t>(p.a)] ||
               move.end[static_cast<std::size_t>(p.b)] != from[static_cast<std::size_t>(p.b)]) {
      modal_.compensation_starting = false;
    }
    from = move.end;
  }
  // Holes are drilled at the feed rate too (CYCLE85 may bring its own).
  cuts = cuts || (plan_.holes.count > 0 && !(plan_.holes.values.feed > 0));
  if (cuts && modal_.inverse_time && !plan_.has_inverse_f)
    Error("a feed move under inverse-time feed (G93) without its F (a control raises an alarm)",
          Outcome::kRead);
  else if (cuts && !modal_.inverse_time && !modal_.feed_known)
    Error("a feed move with no feed rate in force (a control raises an alarm)", Outcome::kRead);
}

// Gives the block its meaning: the modal state it leaves and what it sends,
// with nothing sent yet. False (the error reported) if it has none.
bool Interpreter::Plan() {
  Block& b = block_;
  plan_.tool_change = plan_.stop = plan_.end = plan_.sub_end = plan_.home = false;
  plan_.path_tolerance = false;
  plan_.dwell = plan_.offset_data = plan_.machine = plan_.spindle_changed = false;
  plan_.call_form = 0;
  plan_.move_count = 0;
  plan_.holes.count = 0;
  plan_.tool_named = false;
  plan_.offset_target = -1;
  plan_.axes_moved = plan_.has_inverse_f = false;
  plan_.rotary_words = 0;
  plan_.tcp_code = false;
  plan_.plane_define = plan_.plane_turn = plan_.plane_cancel = 0;
  plan_.offset_before = modal_.offset_index;

  if (b.Has('O'))
    return Fail("a program number must begin its line");

  // G codes: the modal state first, as the control does.
  bool motion_code = false;
  bool cycle_code = false;
  const int cycle_before = modal_.cycle;
  for (int i = 0; i < b.g_count; ++i) {
    const int key = b.g[static_cast<std::size_t>(i)];
    const Code code = sys_.g[static_cast<std::size_t>(key)];
    switch (code.function) {
      case Function::kUndefined:
        return Fail(key % 10 == 0 ? "unknown code G" + std::to_string(key / 10)
                                  : "unknown code G" + std::to_string(key / 10) + "." +
                                        std::to_string(key % 10));
      case Function::kRapid:
        modal_.motion = Motion::kRapid;
        motion_code = true;
        break;
      case Function::kLinear:
        modal_.motion = Motion::kLinear;
        motion_code = true;
        break;
      case Function::kArcClockwise:
        modal_.motion = Motion::kClockwise;
        motion_code = true;
        break;
      case Function::kArcCounterClockwise:
        modal_.motion = Motion::kCounterClockwise;
        motion_code = true;
        break;
      case Function::kDwell:
        plan_.dwell = true;
        break;
      case Function::kPlaneXY:
        modal_.plane = Plane::kXY;
        break;
      case Function::kPlaneZX:
        modal_.plane = Plane::kZX;
        break;
      case Function::kPlaneYZ:
        modal_.plane = Plane::kYZ;
        break;
      case Function::kInches:
        modal_.units = Units::kInches;
        break;
      case Function::kMillimetres:
        modal_.units = Units::kMillimetres;
        break;
      case Function::kAbsolute:
        modal_.incremental = false;
        break;
      case Function::kIncremental:
        modal_.incremental = true;
        break;
      case Function::kWorkOffset:
        modal_.offset_index = code.argument;
        modal_.offset = OffsetOf(code.argument);
        break;
      case Function::kOffsetCancel:
        modal_.offset_index = -1;
        modal_.offset = {0, 0, 0};
        break;
      case Function::kMachineCoordinates:
        plan_.machine = true;
        break;
      case Function::kCompensationOff:
      case Function::kCompensationLeft:
      case Function::kCompensationRight: {
        const int compensation = code.function == Function::kCompensationOff ? kCompensationOff
                                 : code.function == Function::kCompensationLeft
                                     ? kCompensationLeft
                                     : kCompensationRight;
        if (compensation != modal_.compensation) {
          modal_.compensation_starting =
              compensation != kCompensationOff &&
              (modal_.compensation == kCompensationOff || modal_.compensation_starting);
          modal_.compensation = compensation;
          modal_.compensation_changed = true;
        }
        break;
      }
      case Function::kLengthOffset:
      case Function::kLengthOffsetCancel:
        // One modal group with G43.4: either ends tool-centre-point control.
        modal_.axes.tool_centre_point = false;
        modal_.axes.has_vector = false;
        break;
      case Function::kToolCentrePoint:
        modal_.axes.tool_centre_point = true;
        plan_.tcp_code = true;
        break;
      case Function::kTiltedPlane:
        plan_.plane_define = key;
        break;
      case Function::kToolToPlane:
        plan_.plane_turn = key;
        break;
      case Function::kTiltedPlaneCancel:
        plan_.plane_cancel = key;
        break;
      case Function::kInverseTime:
      case Function::kFeedPerMinute: {
        // F changes its meaning: a feed per minute must be given again.
        const bool inverse = code.function == Function::kInverseTime;
        if (inverse != modal_.inverse_time)
          modal_.feed_known = false;
        modal_.inverse_time = inverse;
        break;
      }
      case Function::kCycle:
        if (sys_.cycle_form != CycleForm::kGCodes)
          return Fail("this system has no drilling cycles of G codes");
        modal_.cycle = code.argument;
        cycle_code = true;
        break;
      case Function::kCycleCancel:
        modal_.cycle = 0;
        break;
      case Function::kReturnInitial:
        modal_.return_to_r = false;
        break;
      case Function::kReturnR:
        modal_.return_to_r = true;
        break;
      case Function::kOffsetData:
        plan_.offset_data = true;
        break;
      case Function::kHome:
        plan_.home = true;
        break;
      case Function::kPathTolerance:
        plan_.path_tolerance = true;
        break;
      case Function::kIgnore:
        break;
      default:
        return Fail("unknown code G" + std::to_string(key / 10));
    }
  }
  // A motion code ends a G8x cycle, unless the same block starts one.
  if (motion_code && !cycle_code)
    modal_.cycle = 0;
  if (modal_.cycle == 0) {
    modal_.r_known = modal_.z_known = modal_.q_known = false;
    modal_.cycle_dwell = 0;
  } else if (cycle_before == 0) {
    modal_.initial_z = modal_.position[2];
  }
  if (plan_.machine && modal_.incremental)
    return Fail("G53 positions are absolute: the block cannot be incremental");

  for (int i = 0; i < b.m_count; ++i) {
    const int number = b.m[static_cast<std::size_t>(i)];
    switch (sys_.m[static_cast<std::size_t>(number)].function) {
      case Function::kToolChange:
        plan_.tool_change = true;
        break;
      case Function::kSpindleClockwise:
      case Function::kSpindleCounterClockwise:
        modal_.spindle_stopped = false;
        plan_.spindle_changed = true;
        break;
      case Function::kSpindleStop:
        modal_.spindle_stopped = true;
        plan_.spindle_changed = true;
        break;
      case Function::kStop:
        plan_.stop = true;
        break;
      case Function::kProgramEnd:
        plan_.end = true;
        break;
      case Function::kSubprogramCall:
        if (sys_.call_form != CallForm::kMCode)
          return Fail("M" + std::to_string(number) + " calls no subprogram on this system");
        plan_.call_form = 1;
        break;
      case Function::kSubprogramEnd:
        plan_.sub_end = true;
        break;
      case Function::kIgnore:
        break;
      default:
        return Fail("unknown code M" + std::to_string(number));
    }
  }
  if (b.ret)
    plan_.sub_end = true;
  if (!b.call.empty()) {
    // A named call stands in a block of its own (with its repeat count):
    // anything else there is a statement this reader does not know.
    std::uint32_t own = Bit('N');
    if (sys_.call_repeat_address != '\0')
      own |= Bit(sys_.call_repeat_address);
    if ((b.present & ~own) != 0 || b.g_count != 0 || b.m_count != 0 || b.cycle != 0 || b.mcall ||
        b.cip || b.ct || b.has_cr || b.point1_present != 0 || b.ret || b.has_tool_name || b.swivel)
      return Fail("unknown word " + b.call + " (a subprogram call stands in a block of its own)");
    plan_.call_form = 2;
  }
  if (b.swivel) {
    if ((b.present & ~Bit('N')) != 0 || b.g_count != 0 || b.m_count != 0 || b.mcall || b.cip ||
        b.ct || b.has_cr || b.point1_present != 0 || b.ret || b.has_tool_name ||
        b.vector_present != 0 || b.tcp_on || b.tcp_off)
      return Fail("CYCLE800 stands in a block of its own");
    // With arguments it sets a plane and turns the tool to it; without, it
    // ends the plane.
    if (b.arguments_present != 0)
      plan_.plane_define = plan_.plane_turn = kSwivelCycle;
    else
      plan_.plane_cancel = kSwivelCycle;
  }
  const bool plane_block = plan_.plane_define != 0 || plan_.plane_turn != 0;
  if (plane_block && plan_.plane_cancel != 0)
    return Fail(CommandName(plan_.plane_define != 0 ? plan_.plane_define : plan_.plane_turn) +
                " and " + CommandName(plan_.plane_cancel) + " in one block");
  if (plane_block &&
      (plan_.dwell || plan_.offset_data || plan_.home || plan_.machine || plan_.call_form != 0 ||
       b.cycle != 0 || b.mcall || plan_.tcp_code || b.tcp_on || b.tcp_off || b.vector_present != 0))
    return Fail(CommandName(plan_.plane_define != 0 ? plan_.plane_define : plan_.plane_turn) +
                " with a command of another kind in one block");

  // Which words the block's meaning uses; any other is an error.
  std::uint32_t allowed = Bit('N') | Bit('G') | Bit('M') | Bit('F') | Bit('S') | Bit('T') |
                          Bit(sys_.radius_offset_address);
  if (sys_.length_offset_address != '\0')
    allowed |= Bit(sys_.length_offset_address);
  const bool arcs =
      modal_.motion == Motion::kClockwise || modal_.motion == Motion::kCounterClockwise;
  if (plan_.dwell) {
    for (const DwellWord& word : sys_.dwell_words)
      allowed |= Bit(word.address);
  } else if (plan_.offset_data) {
    allowed |= Bit('L') | Bit('P') | Bit('R') | Bit('X') | Bit('Y') | Bit('Z');
  } else if (plan_.plane_define != 0) {
    allowed |= Bit('X') | Bit('Y') | Bit('Z') | Bit('I') | Bit('J') | Bit('K');  // origin, angles
  } else if (plan_.plane_turn != 0) {
    // The control turns the tool: no axis word.
  } else {
    allowed |= Bit('X') | Bit('Y') | Bit('Z');
    if (!plan_.home)
      allowed |= sys_.rotary_words;
    if (modal_.cycle != 0) {
      allowed |= Bit('R') | Bit('Q') | Bit('P');
      if (sys_.cycle_repeat_address != '\0')
        allowed |= Bit(sys_.cycle_repeat_address);
    } else if (arcs) {
      allowed |= Bit('I') | Bit('J') | Bit('K');
      if (sys_.radius_address != '\0')
        allowed |= Bit(sys_.radius_address);
    }
  }
  if (plan_.path_tolerance) {
    // The tolerances are read and left to the control's planner: the path
    // is sent as programmed. Where P or Q means something else already,
    // which of the two meanings holds is not guessed.
    if ((plan_.dwell || plan_.offset_data || modal_.cycle != 0) && (b.Has('P') || b.Has('Q')))
      return Fail("P or Q of a path tolerance in a block that uses them otherwise");
    allowed |= Bit('P') | Bit('Q');
  }
  if (plan_.call_form == 1) {
    allowed |= Bit(sys_.call_number_address);
    if (sys_.call_repeat_address != '\0')
      allowed |= Bit(sys_.call_repeat_address);
  } else if (plan_.call_form == 2 && sys_.call_repeat_address != '\0') {
    allowed |= Bit(sys_.call_repeat_address);
  }
  const std::uint32_t stray = b.present & ~allowed;
  if (stray != 0) {
    char letter = 'A';
    while ((stray & Bit(letter)) == 0)
      ++letter;
    return Fail(std::string(1, letter) + " has no meaning in this block");
  }
  if ((b.cip || b.ct || b.has_cr || b.point1_present != 0) && modal_.cycle != 0)
    return Fail("an arc word in a drilling cycle");
  if (b.cip)
    modal_.motion = Motion::kCip;
  if (b.ct)
    modal_.motion = Motion::kCt;
  if (b.cip && b.ct)
    return Fail("CIP and CT in one block");
  if (b.point1_present != 0 && modal_.motion != Motion::kCip)
    return Fail("I1=, J1=, K1= belong to CIP");
  if (b.has_cr && modal_.motion != Motion::kClockwise && modal_.motion != Motion::kCounterClockwise)
    return Fail("CR= belongs to G2 and G3");

  bool plane_done = false;
  if (!TakeTechnology() || !PlanTiltedPlane(plane_done))
    return false;
  if (plane_done)
    return true;
  if (!PlanAxes())
    return false;
  if (plan_.dwell)
    return PlanDwell();
  if (plan_.offset_data)
    return PlanOffsetData();
  if (plan_.home)
    return PlanHome();

  // SIEMENS cycle calls: MCALL CYCLE8x(...) sets a modal call, MCALL alone
  // ends it, CYCLE8x(...) alone drills once where the block ends.
  if (b.mcall) {
    if (b.cycle != 0) {
      modal_.mcall = true;
      modal_.mcall_cycle = b.cycle;
      modal_.mcall_count = b.argument_count;
      modal_.mcall_present = b.arguments_present;
      modal_.mcall_arguments = b.arguments;
    } else {
      modal_.mcall = false;
    }
  }
  if (modal_.cycle != 0)
    return PlanCycleHoles() && HolesAtFeedPerMinute();
  const bool moves = (b.present & (Bit('X') | Bit('Y') | Bit('Z'))) != 0;
  if (!PlanMotion() || !PlanInverseTime())
    return false;
  if (b.cycle != 0 && !b.mcall) {
    return PlanCallHoles(b.cycle, b.arguments.data(), b.arguments_present, b.argument_count) &&
           HolesAtFeedPerMinute();
  }
  if (modal_.mcall && !b.mcall && moves) {
    return PlanCallHoles(modal_.mcall_cycle, modal_.mcall_arguments.data(), modal_.mcall_present,
                         modal_.mcall_count) &&
           HolesAtFeedPerMinute();
  }
  return true;
}

// F, S, T, D, H: values checked and kept in the modal state.
bool Interpreter::TakeTechnology() {
  const Block& b = block_;
  const auto dwell_word = [&](char letter) {
    if (!plan_.dwell)
      return false;
    for (const DwellWord& word : sys_.dwell_words) {
      if (word.address == letter)
        return true;
    }
    return false;
  };
  if (b.Has('F') && !dwell_word('F')) {
    if (modal_.inverse_time) {
      // 1/minutes, whatever the units: turned into a feed per minute with
      // the block's moves (rotary.cpp).
      if (!(b.Value('F') > 0))
        return Fail("an inverse-time F (G93) must be above 0");
      plan_.inverse_f = b.Value('F');
      plan_.has_inverse_f = true;
    } else {
      if (b.Value('F') < 0)
        return Fail("a negative feed rate");
      modal_.feed = Convert(b.Value('F'));
      modal_.feed_known = true;
    }
  }
  if (b.Has('S') && !dwell_word('S')) {
    if (b.Value('S') < 0)
      return Fail("a negative spindle speed");
    modal_.speed = b.Value('S');
    modal_.speed_known = true;
  }
  long number = 0;
  const char d = sys_.radius_offset_address;
  if (b.Has(d)) {
    if (!WholeNumber(d, kMaxOffsetNumber, number))
      return false;
    modal_.d = static_cast<int>(number);
  }
  const char h = sys_.length_offset_address;
  if (h != '\0' && b.Has(h)) {
    if (!WholeNumber(h, kMaxOffsetNumber, number))
      return false;
    modal_.h = static_cast<int>(number);
  }
  if (b.Has('T') || b.has_tool_name) {
    if (b.Has('T')) {
      if (!WholeNumber('T', 99999999, number))
        return false;
      modal_.next_tool = number;
    } else {
      modal_.next_tool = -1;
    }
    plan_.tool_named = true;
    plan_.tool_name = b.has_tool_name          ? b.tool_name
                      : sys_.name_from_comment ? std::string(b.comment.substr(0, 64))
                                               : std::string();
    if (!sys_.change_on_m6)
      plan_.tool_change = true;
  }
  return true;
}

bool Interpreter::PlanDwell() {
  int words = 0;
  for (const DwellWord& word : sys_.dwell_words) {
    if (!block_.Has(word.address))
      continue;
    ++words;
    std::string error;
    Seconds(block_.Value(word.address), block_.Point(word.address), word.unit, word.address, error);
    if (!error.empty())
      return Fail(error);
  }
  if (words == 0)
    return Fail("the dwell needs its time");
  if (words > 1)
    return Fail("the dwell takes one time word");
  return true;
}

bool Interpreter::PlanOffsetData() {
  const Block& b = block_;
  long l = 0;
  long p = 0;
  if (!b.Has('L') || !b.Has('P'))
    return Fail("G10 needs L and P");
  if (!WholeNumber('L', 99, l) || !WholeNumber('P', kMaxOffsetNumber, p))
    return false;
  if (l == 2) {
    if (b.Has('R'))
      return Fail("R has no meaning in G10 L2");
    const int key = 530 + 10 * static_cast<int>(p);
    for (std::size_t i = 0; i < offsets_.size() && p >= 1 && p <= 6; ++i) {
      if (offsets_[i].g_key == key)
        plan_.offset_target = static_cast<int>(i);
    }
    if (plan_.offset_target < 0)
      return Fail("G10 L2 P" + std::to_string(p) + ": no such work offset");
    plan_.offset_is_radius = false;
    plan_.offset_axes = 0;
    const char letters[] = {'X', 'Y', 'Z'};
    for (int axis = 0; axis < 3; ++axis) {
      if (b.Has(letters[axis])) {
        plan_.offset_values[static_cast<std::size_t>(axis)] = Length(letters[axis]);
        plan_.offset_axes |= static_cast<std::uint8_t>(1 << axis);
      }
    }
    return true;
  }
  if (l < 10 || l > 13)
    return Fail("G10 L" + std::to_string(l) + " is not read");
  if (!b.Has('R'))
    return Fail("G10 L" + std::to_string(l) + " needs R");
  if ((b.present & (Bit('X') | Bit('Y') | Bit('Z'))) != 0)
    return Fail("G10 L" + std::to_string(l) + " takes no axis word");
  if (l == 12) {
    plan_.offset_target = static_cast<int>(p);
    plan_.offset_is_radius = true;
    plan_.offset_values[0] = std::fabs(Length('R'));
  }
  return true;
}

}  // namespace zu::gcode::internal
