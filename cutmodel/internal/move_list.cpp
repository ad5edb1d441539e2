#include "cutmodel/internal/move_list.h"

namespace zu::cut::internal {

MoveList::MoveList(const FrameMap& map, Path& path) : map_(map), path_(path) {
  if (path_.tilted)
    axis_ = path_.tilted->z;
}

void MoveList::Line(const Vec& end, double feed, const Vec* axis) {
  Step step;
  step.kind = Step::Kind::kLine;
  step.end = map_.Point(end);
  step.feed = feed;
  step.compensation = side_;
  if (axis) {
    Vec d = map_.Direction(*axis);
    if (!Unit(d)) {
      path_.refusal = "a tool axis has no length";
      return;
    }
    // An axis within rounding of Z is Z: such moves are three-axis motion.
    constexpr double kAlongZ = 1 - 1e-9;
    axis_ = d.z >= kAlongZ ? Vec{0, 0, 1} : d;
  }
  step.axis = axis_;
  last_move_ = path_.steps.size();
  path_.steps.push_back(step);
}

bool MoveList::Arc(const Vec& end, const Vec& centre, const Vec& normal, double feed) {
  Step step;
  step.kind = Step::Kind::kArc;
  step.end = map_.Point(end);
  step.centre = map_.Point(centre);
  step.feed = feed;
  step.compensation = side_;
  step.axis = axis_;
  // In a tilted system the arc lies in one of its planes.
  Vec snapped = path_.tilted ? normal : map_.Direction(normal);
  if (!SnapToAxis(snapped)) {
    path_.refusal = "an arc lies in a plane other than XY, ZX or YZ";
    return false;
  }
  step.normal = path_.tilted ? map_.Direction(snapped) : snapped;
  last_move_ = path_.steps.size();
  path_.steps.push_back(step);
  return true;
}

void MoveList::Dwell(double seconds) {
  Step step;
  step.kind = Step::Kind::kDwell;
  step.seconds = seconds;
  path_.steps.push_back(step);
}

Step* MoveList::LastMove() {
  return last_move_ ? &path_.steps[*last_move_] : nullptr;
}

std::optional<Vec> MoveList::LastEnd() const {
  if (!last_move_)
    return std::nullopt;
  return path_.steps[*last_move_].end;
}

void SetKindsByFeed(Path& path) {
  double fastest = 0;
  for (const Step& step : path.steps) {
    if (step.kind != Step::Kind::kDwell && !(step.axis == Vec{0, 0, 1}))
      path.five_axis = true;
    if (step.kind != Step::Kind::kDwell && step.feed > fastest)
      fastest = step.feed;
  }
  for (Step& step : path.steps) {
    if (step.kind == Step::Kind::kDwell || !(step.feed < 0))
      continue;
    if (step.kind == Step::Kind::kLine) {
      step.kind = Step::Kind::kRapid;
      step.feed = 0;
    } else if (fastest > 0) {
      // A control moves straight at rapid: an arc marked rapid keeps its
      // shape at the fastest feed the path has.
      step.feed = fastest;
    } else {
      path.refusal = "an arc is marked rapid and the path has no feed to cut it at";
    }
  }
}

}  // namespace zu::cut::internal
