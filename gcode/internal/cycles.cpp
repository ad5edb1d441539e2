// Drilling cycles: G8x holes and SIEMENS CYCLE8x calls.
#include "gcode/internal/interpreter_state.h"

namespace zu::gcode::internal {

bool Interpreter::PlanCycleHoles() {
  const Block& b = block_;
  if (b.cycle != 0 || b.mcall)
    return Fail("a cycle call in a G8x drilling cycle");
  if ((b.present & (Bit('X') | Bit('Y') | Bit('Z') | Bit('R'))) == 0)
    return true;  // no position: no hole
  if (plan_.machine)
    return Fail("G53 in a drilling cycle");
  if (b.Has('R'))
    modal_.cycle_r =
        modal_.incremental ? modal_.initial_z + Length('R') : Length('R') + modal_.offset[2];
  modal_.r_known = modal_.r_known || b.Has('R');
  if (b.Has('Z'))
    modal_.cycle_z =
        modal_.incremental ? modal_.cycle_r + Length('Z') : Length('Z') + modal_.offset[2];
  modal_.z_known = modal_.z_known || b.Has('Z');
  if (b.Has('Q')) {
    modal_.cycle_q = std::fabs(Length('Q'));
    modal_.q_known = true;
  }
  if (b.Has('P')) {
    std::string error;
    modal_.cycle_dwell = Seconds(b.Value('P'), b.Point('P'), sys_.cycle_dwell_unit, 'P', error);
    if (!error.empty())
      return Fail(error);
  }
  long repeats = 1;
  const char repeat = sys_.cycle_repeat_address;
  if (repeat != '\0' && b.Has(repeat) && !WholeNumber(repeat, kMaxRepeats, repeats))
    return false;
  if (!modal_.r_known)
    return Fail("the drilling cycle needs its R level");
  if (!modal_.z_known)
    return Fail("the drilling cycle needs its Z depth");
  const int mode = modal_.cycle;
  const bool pecks = mode == kPeckDrill || mode == kChipBreakDrill;
  if (pecks && (!modal_.q_known || modal_.cycle_q <= 0))
    return Fail("the peck drilling cycle needs its peck depth Q");
  const double depth = modal_.cycle_r - modal_.cycle_z;
  if (!(depth > 0))
    return Fail("the hole's bottom Z is not below its R level");

  Holes& holes = plan_.holes;
  holes.values.mode = mode;
  holes.values.safe = 0;
  holes.values.dwell = modal_.cycle_dwell;
  holes.values.peck = pecks ? modal_.cycle_q : 0;
  holes.values.depth = depth;
  holes.values.clearance = modal_.return_to_r ? modal_.cycle_r : modal_.initial_z;
  holes.values.surface = modal_.cycle_r;
  holes.values.feed = modal_.feed;
  holes.values.speed = EffectiveSpeed();
  const Point& at = modal_.position;
  if (modal_.incremental) {
    holes.step = {b.Has('X') ? Length('X') : 0, b.Has('Y') ? Length('Y') : 0, 0};
    holes.first = {at[0] + holes.step[0], at[1] + holes.step[1], modal_.cycle_z};
  } else {
    holes.step = {0, 0, 0};
    holes.first = {b.Has('X') ? Length('X') + modal_.offset[0] : at[0],
                   b.Has('Y') ? Length('Y') + modal_.offset[1] : at[1], modal_.cycle_z};
  }
  holes.count = static_cast<int>(repeats);
  holes.after_z = holes.values.clearance;
  return true;
}

// The CYCLE8x calls, their arguments in the control's order:
//   CYCLE81(RTP, RFP, SDIS, DP, DPR)
//   CYCLE82(RTP, RFP, SDIS, DP, DPR, DTB)
//   CYCLE83(RTP, RFP, SDIS, DP, DPR, FDEP, FDPR, DAM, DTB, DTS, FRF, VARI)
//   CYCLE85(RTP, RFP, SDIS, DP, DPR, DTB, FFR, RFF)
//   CYCLE86(RTP, RFP, SDIS, DP, DPR, DTB, ...)
//   CYCLE89(RTP, RFP, SDIS, DP, DPR, DTB)
bool Interpreter::PlanCallHoles(int cycle, const double* arguments, std::uint32_t present,
                                int count) {
  const auto has = [&](int index) { return index < count && (present >> index & 1) != 0; };
  const auto length = [&](int index) { return Convert(arguments[index]); };
  const std::string name = "CYCLE" + std::to_string(cycle);
  if (cycle != 81 && cycle != 82 && cycle != 83 && cycle != 85 && cycle != 86 && cycle != 89)
    return Fail(name + " is not read");
  const int most = cycle == 81 ? 5 : cycle == 83 ? 12 : cycle == 85 ? 8 : cycle == 86 ? 11 : 6;
  if (count > most)
    return Fail(name + " takes at most " + std::to_string(most) + " arguments");
  if (!has(0) || !has(1))
    return Fail(name + " needs its return plane RTP and reference plane RFP");
  if (!has(3) && !has(4))
    return Fail(name + " needs its depth DP or DPR");
  DrillValues& values = plan_.holes.values;
  values.mode = cycle == 83 ? kChipBreakDrill : cycle;
  values.clearance = length(0) + modal_.offset[2];
  values.surface = length(1) + modal_.offset[2];
  values.safe = has(2) ? length(2) : 0;
  const double bottom =
      has(4) ? values.surface - std::fabs(length(4)) : length(3) + modal_.offset[2];
  values.depth = values.surface - bottom;
  if (!(values.depth > 0))
    return Fail(name + ": the hole's bottom is not below its reference plane");
  if (values.safe < 0)
    return Fail(name + ": a negative safety distance");
  if (values.clearance < values.surface)
    return Fail(name + ": the return plane lies below the reference plane");
  const int dwell_index = cycle == 83 ? 8 : cycle == 81 ? -1 : 5;
  values.dwell = 0;
  if (dwell_index >= 0 && has(dwell_index)) {
    const double dtb = arguments[dwell_index];
    // A negative DTB counts spindle revolutions.
    if (dtb < 0) {
      if (EffectiveSpeed() <= 0)
        return Fail(name + ": a dwell in revolutions needs a spindle speed");
      values.dwell = -dtb * 60 / EffectiveSpeed();
    } else {
      values.dwell = dtb;
    }
  }
  values.peck = 0;
  if (cycle == 83) {
    if (has(6))
      values.peck = std::fabs(length(6));
    else if (has(5))
      values.peck = values.surface - (length(5) + modal_.offset[2]);
    else
      return Fail("CYCLE83 needs its first depth FDEP or FDPR");
    if (!(values.peck > 0))
      return Fail("CYCLE83: the first depth is not below the reference plane");
    if (has(11)) {
      const double vari = arguments[11];
      if (vari != 0 && vari != 1)
        return Fail("CYCLE83: VARI is 0 (chip breaking) or 1 (chip removal)");
      values.mode = vari == 1 ? kPeckDrill : kChipBreakDrill;
    }
  }
  values.feed = cycle == 85 && has(6) ? length(6) : modal_.feed;
  values.speed = EffectiveSpeed();
  if (values.feed < 0)
    return Fail(name + ": a negative feed rate");
  Point at = modal_.position;
  for (int i = 0; i < plan_.move_count; ++i)
    at = plan_.moves[static_cast<std::size_t>(i)].end;
  plan_.holes.first = {at[0], at[1], bottom};
  plan_.holes.step = {0, 0, 0};
  plan_.holes.count = 1;
  plan_.holes.after_z = values.clearance;
  return true;
}

}  // namespace zu::gcode::internal
