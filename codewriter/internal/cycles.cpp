// Drilling: the machine's G8x cycles, the SIEMENS CYCLE8x calls, or plain
// moves where the machine has no cycles.
#include <algorithm>
#include <cmath>

#include "codewriter/internal/writer.h"
#include "codewriter/number_text.h"
#include "cutmodel/expand_cycles.h"

namespace zu::codewriter::internal {

namespace {

bool Peck(int cycle) {
  return cycle == 83 || cycle == 73;
}

bool DwellsAtBottom(const cut::DrillCycle& cycle) {
  return cycle.dwell_seconds > 0 && cycle.cycle != 81 && cycle.cycle != 83 && cycle.cycle != 73;
}

}  // namespace

void Writer::Drill(const cut::Path& path) {
  if (path.holes.empty())
    return;
  const cut::DrillCycle& cycle = *path.drilling;
  if (cycle.cycle == 84 && machine_.cycles.form != machine::CycleForm::kGCodes) {
    result_.error = "path \"" + path.name +
                    "\": tapping needs the machine's G84 cycle, which this machine's "
                    "configuration does not use";
    return;
  }
  switch (machine_.cycles.form) {
    case machine::CycleForm::kGCodes:
      NativeCycle(path);
      break;
    case machine::CycleForm::kSiemensCycles:
      SiemensCycles(path);
      break;
    case machine::CycleForm::kExpanded:
      ExpandedCycle(path);
      break;
  }
}

void Writer::NativeCycle(const cut::Path& path) {
  const cut::DrillCycle& cycle = *path.drilling;
  const machine::Cycles& form = machine_.cycles;
  bool active = false;
  double initial = 0, r_plane = 0, bottom = 0;
  for (const cut::Hole& hole : path.holes) {
    // The initial plane is where the cycle starts: another needs a new one.
    if (active && hole.initial != initial) {
      out_.Begin() += form.cancel;
      out_.End();
      active = false;
      motion_ = -1;
    }
    if (!active) {
      cut::Vec above = hole.top;
      above.z = hole.initial;
      PathStart(path, above);
      std::string& b = out_.Begin();
      b += form.return_to_initial ? form.retract_initial : form.retract_r;
      b += " G";
      AppendInteger(b, cycle.cycle);
      b += ' ';
      Length(b, 'X', hole.top.x);
      Length(b, 'Y', hole.top.y);
      Length(b, 'Z', hole.bottom);
      Length(b, 'R', hole.r_plane);
      if (Peck(cycle.cycle))
        Length(b, 'Q', cycle.peck);
      if (DwellsAtBottom(cycle))
        DwellWords(b, cycle.dwell_seconds);
      feed_text_.clear();
      FeedWord(b, cycle.feed);
      out_.End();
      active = true;
      initial = hole.initial;
      r_plane = hole.r_plane;
      bottom = hole.bottom;
    } else {
      std::string& b = out_.Begin();
      Length(b, 'X', hole.top.x);
      Length(b, 'Y', hole.top.y);
      if (hole.bottom != bottom)
        Length(b, 'Z', hole.bottom);
      if (hole.r_plane != r_plane)
        Length(b, 'R', hole.r_plane);
      out_.End();
      r_plane = hole.r_plane;
      bottom = hole.bottom;
    }
    position_ = {hole.top.x, hole.top.y, form.return_to_initial ? hole.initial : hole.r_plane};
  }
  out_.Begin() += form.cancel;
  out_.End();
  // Where the cycle left the tool, as the control knows it.
  known_ = {false, false, false};
  motion_ = -1;
}

void Writer::SiemensCycles(const cut::Path& path) {
  const cut::DrillCycle& cycle = *path.drilling;
  bool first = true;
  for (const cut::Hole& hole : path.holes) {
    cut::Vec above = hole.top;
    above.z = hole.initial;
    if (first) {
      PathStart(path, above);
      std::string& f = out_.Begin();
      feed_text_.clear();
      FeedWord(f, cycle.feed);
      out_.End();
      first = false;
    } else {
      Rapid(above, 3);
    }
    // CYCLE8x(RTP, RFP, SDIS, DP, DPR, ...): return plane, reference plane,
    // safety distance, absolute depth.
    std::string& b = out_.Begin();
    const int number = cycle.cycle == 73 ? 83 : cycle.cycle;
    b += "CYCLE";
    AppendInteger(b, number);
    b += '(';
    const int decimals = machine_.decimals.coordinates;
    const auto arg = [&](double mm) { AppendDecimal(b, mm * scale_, decimals); };
    arg(hole.initial);
    b += ',';
    arg(hole.top.z);
    b += ',';
    arg(hole.r_plane - hole.top.z);
    b += ',';
    arg(hole.bottom);
    const auto dwell = [&] {
      if (cycle.dwell_seconds > 0)
        AppendDecimal(b, cycle.dwell_seconds, machine_.decimals.dwell);
    };
    // After DP: DPR (left empty: the depth is absolute), then the cycle's own.
    switch (number) {
      case 82:
      case 89:
        b += ",,";
        dwell();
        break;
      case 83:
        // FDEP, FDPR (the first depth from the reference plane), DAM, DTB,
        // DTS, FRF, VARI (1 chip removal, 0 chip breaking).
        b += ",,,";
        arg(cycle.peck);
        b += ',';
        arg(cycle.peck);
        b += ',';
        dwell();
        b += ",,1,";
        b += cycle.cycle == 73 ? '0' : '1';
        break;
      case 85:
        // DTB, FFR (feed in), RFF (feed out).
        b += ",,";
        dwell();
        b += ',';
        AppendDecimal(b, cycle.feed * scale_, machine_.decimals.feed);
        b += ',';
        AppendDecimal(b, cycle.feed * scale_, machine_.decimals.feed);
        break;
      case 86:
        // DTB, SDIR (3: clockwise), RPA, RPO, RPAP (no lift), POSS.
        b += ",,";
        dwell();
        b += ",3,0,0,0,0";
        break;
    }
    b += ')';
    out_.End();
    position_ = {hole.top.x, hole.top.y, hole.initial};
  }
  known_ = {false, false, false};
  motion_ = -1;
}

void Writer::ExpandedCycle(const cut::Path& path) {
  std::vector<std::string> notes;
  const std::vector<cut::Step> steps =
      cut::HoleSteps(path, machine_.cycles.return_to_initial, notes);
  for (const std::string& note : notes)
    Note("path \"" + path.name + "\": " + note);
  if (steps.empty())
    return;
  PathStart(path, steps.front().end);
  for (const cut::Step& step : steps) {
    if (step.kind == cut::Step::Kind::kRapid)
      Rapid(step.end);
    else if (step.kind == cut::Step::Kind::kLine)
      Line(step.end, step.feed, cut::Side::kOff);
    else if (step.kind == cut::Step::Kind::kDwell)
      Dwell(step.seconds);
  }
}

}  // namespace zu::codewriter::internal
