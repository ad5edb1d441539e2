// The holes: matched one by one in the program's order (a hole the code
// lacks or has in excess is passed over), then compared.
#include <cmath>

#include "verification/internal/text.h"
#include "verification/internal/verifier.h"

namespace zu::verify::internal {
namespace {

// Dwells are written in milliseconds or seconds with three decimals.
constexpr double kDwellTolerance = 0.0015;

// The cycle the code may use for an expected one: a drill or bore with a
// dwell at the bottom is the dwelling cycle.
bool SameCycle(int read, const cut::DrillCycle& cycle) {
  if (read == cycle.cycle)
    return true;
  if (cycle.dwell_seconds > 0)
    return (cycle.cycle == 81 && read == 82) || (cycle.cycle == 85 && read == 89);
  return false;
}

}  // namespace

Vec Verifier::HolePoint(std::size_t h) const {
  const cut::Hole& hole = expected_.paths[holes_[h].path].holes[holes_[h].index];
  return {hole.top.x, hole.top.y, hole.bottom};
}

void Verifier::AlignHoles() {
  const std::size_t count = holes_.size();
  const std::size_t read = read_holes_.size();
  const auto near = [&](std::size_t h, std::size_t r) {
    return Distance(HolePoint(h), HoleEvent(r).end) <= reach_;
  };
  std::size_t r = 0;
  for (std::size_t h = 0; h < count; ++h) {
    ++result_.holes_compared;
    const bool missing = r == read || (!near(h, r) && h + 1 < count && near(h + 1, r));
    if (missing) {
      AddMismatch(StepPlace(holes_[h].path, static_cast<int>(holes_[h].index), HolePoint(h), true),
                  "the hole at " + Point(HolePoint(h)) + " is not in the code");
      continue;
    }
    if (!near(h, r) && r + 1 < read && near(h, r + 1))
      ExtraHole(r++, h);
    CompareHole(h, r++);
  }
  for (; r < read; ++r)
    ExtraHole(r, count);
}

void Verifier::ExtraHole(std::size_t r, std::size_t h) {
  Spot place;
  if (h < holes_.size())
    place = StepPlace(holes_[h].path, static_cast<int>(holes_[h].index), HoleEvent(r).end, true);
  else
    place.point = HoleEvent(r).end;
  AddMismatch(place, "a hole at " + Point(HoleEvent(r).end) + " in the code is not expected");
}

void Verifier::CompareHole(std::size_t h, std::size_t r) {
  const std::uint32_t p = holes_[h].path;
  const cut::Path& path = expected_.paths[p];
  const cut::Hole& hole = path.holes[holes_[h].index];
  const ReadEvent& event = HoleEvent(r);
  const Vec expected = HolePoint(h);
  const Spot place = StepPlace(p, static_cast<int>(holes_[h].index), expected, true);
  const double off = Distance(event.end, expected);
  AddDeviation(off, place);
  std::string text;
  if (Beyond(off))
    text = "the hole is at " + Point(event.end) + ", " + Number(off) + " from " + Point(expected);
  const DrillGroup& group = read_.groups[event.detail];
  const double r_level = group.surface + group.safe;
  if (text.empty() && Beyond(std::fabs(r_level - hole.r_plane)))
    text = "the R level is " + Number(r_level) + ", not " + Number(hole.r_plane);
  if (text.empty() && path.drilling) {
    const cut::DrillCycle& cycle = *path.drilling;
    const bool pecks = cycle.cycle == 73 || cycle.cycle == 83;
    if (!SameCycle(group.mode, cycle))
      text = "cycle " + std::to_string(group.mode) + ", not " + std::to_string(cycle.cycle);
    else if (pecks && Beyond(std::fabs(group.peck - cycle.peck)))
      text = "peck " + Number(group.peck) + ", not " + Number(cycle.peck);
    else if (!(std::fabs(group.dwell - cycle.dwell_seconds) <= kDwellTolerance))
      text = "dwell " + Number(group.dwell) + " s, not " + Number(cycle.dwell_seconds);
  }
  if (!text.empty())
    AddMismatch(place, std::move(text));
  CheckTechnology(p, event, path.drilling ? path.drilling->feed : 0, place);
}

}  // namespace zu::verify::internal
