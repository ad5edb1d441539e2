#include "cutmodel/expand_cycles.h"

#include <algorithm>

namespace zu::cut {

namespace {

Step Move(Step::Kind kind, const Vec& end, double feed) {
  Step step;
  step.kind = kind;
  step.end = end;
  step.feed = feed;
  return step;
}

}  // namespace

std::vector<Step> HoleSteps(const Path& path, bool return_to_initial,
                            std::vector<std::string>& notes) {
  std::vector<Step> steps;
  if (!path.drilling)
    return steps;
  const DrillCycle& cycle = *path.drilling;
  const bool pecks = cycle.cycle == 83 || cycle.cycle == 73;
  const bool feed_out = cycle.cycle == 85 || cycle.cycle == 89;
  const bool dwells = cycle.dwell_seconds > 0 && !pecks && cycle.cycle != 81;
  if (cycle.cycle == 86 && !path.holes.empty())
    notes.push_back("without a boring cycle the spindle keeps turning on the way out (86)");
  for (const Hole& hole : path.holes) {
    Vec at = hole.top;
    at.z = hole.initial;
    steps.push_back(Move(Step::Kind::kRapid, at, 0));
    at.z = hole.r_plane;
    steps.push_back(Move(Step::Kind::kRapid, at, 0));
    if (pecks && cycle.peck > 0) {
      const double depth = hole.top.z - hole.bottom;
      const double peck = std::max(cycle.peck, depth / kMostPecks);
      for (int k = 1;; ++k) {
        at.z = std::max(hole.top.z - k * peck, hole.bottom);
        steps.push_back(Move(Step::Kind::kLine, at, cycle.feed));
        if (at.z <= hole.bottom)
          break;
        if (cycle.cycle == 83) {
          const double reached = at.z;
          at.z = hole.r_plane;
          steps.push_back(Move(Step::Kind::kRapid, at, 0));
          at.z = reached;
          steps.push_back(Move(Step::Kind::kRapid, at, 0));
        }
      }
    } else {
      at.z = hole.bottom;
      steps.push_back(Move(Step::Kind::kLine, at, cycle.feed));
    }
    if (dwells) {
      Step dwell;
      dwell.kind = Step::Kind::kDwell;
      dwell.seconds = cycle.dwell_seconds;
      steps.push_back(dwell);
    }
    at.z = hole.r_plane;
    steps.push_back(
        Move(feed_out ? Step::Kind::kLine : Step::Kind::kRapid, at, feed_out ? cycle.feed : 0));
    if (return_to_initial && hole.initial != hole.r_plane) {
      at.z = hole.initial;
      steps.push_back(Move(Step::Kind::kRapid, at, 0));
    }
  }
  return steps;
}

void ExpandCycles(Program& program, bool return_to_initial) {
  for (Path& path : program.paths) {
    if (!path.drilling || !path.refusal.empty())
      continue;
    path.steps = HoleSteps(path, return_to_initial, path.notes);
    if (!path.steps.empty())
      path.home = path.steps.front().end;
    path.drilling.reset();
    path.holes.clear();
  }
}

}  // namespace zu::cut
