// Moves, arcs and dwells, with the modal words suppressed where the machine
// keeps them.
#include <algorithm>
#include <cmath>

#include "codewriter/internal/writer.h"
#include "codewriter/number_text.h"

namespace zu::codewriter::internal {

namespace {

constexpr char kAxis[3] = {'X', 'Y', 'Z'};
constexpr char kCentre[3] = {'I', 'J', 'K'};

}  // namespace

void Writer::Length(std::string& b, char address, double mm) {
  b += address;
  AppendDecimal(b, mm * scale_, machine_.decimals.coordinates);
  b += ' ';
}

void Writer::MotionWord(std::string& b, int g) {
  if (g == motion_ && machine_.modal.motion)
    return;
  b += 'G';
  AppendInteger(b, g);
  b += ' ';
  motion_ = g;
}

void Writer::PlaneWord(std::string& b, int plane) {
  if (plane == plane_)
    return;
  b += 'G';
  AppendInteger(b, plane);
  b += ' ';
  plane_ = plane;
}

void Writer::SideWords(std::string& b, cut::Side side) {
  if (side == side_)
    return;
  side_ = side;
  if (side == cut::Side::kOff) {
    b += "G40 ";
    return;
  }
  b += side == cut::Side::kLeft ? "G41 " : "G42 ";
  if (machine_.tools.change != machine::ToolChange::kTName && tool_) {
    b += 'D';
    AppendInteger(b, program_.tools[*tool_].number + machine_.tools.radius_register_offset);
    b += ' ';
  }
}

bool Writer::AxisWords(std::string& b, const cut::Vec& end, unsigned axes) {
  bool any = false;
  const double values[3] = {end.x, end.y, end.z};
  double* position[3] = {&position_.x, &position_.y, &position_.z};
  for (int k = 0; k < 3; ++k) {
    if ((axes >> k & 1) == 0)
      continue;
    word_.clear();
    AppendDecimal(word_, values[k] * scale_, machine_.decimals.coordinates);
    if (known_[k] && word_ == axis_text_[k] && machine_.modal.coordinates) {
      *position[k] = values[k];
      continue;
    }
    b += kAxis[k];
    b += word_;
    b += ' ';
    axis_text_[k] = word_;
    known_[k] = true;
    *position[k] = values[k];
    any = true;
  }
  return any;
}

void Writer::FeedWord(std::string& b, double feed) {
  word_.clear();
  AppendDecimal(word_, feed * scale_, machine_.decimals.feed);
  if (word_ == feed_text_ && machine_.modal.feed)
    return;
  b += 'F';
  b += word_;
  b += ' ';
  feed_text_ = word_;
}

void Writer::Rapid(const cut::Vec& end, unsigned axes) {
  std::string& b = out_.Begin();
  const std::size_t empty = b.size();
  const int motion = motion_;
  MotionWord(b, 0);
  if (!AxisWords(b, end, axes)) {
    // Nowhere to go: no block.
    b.resize(empty);
    motion_ = motion;
    return;
  }
  out_.End();
}

void Writer::Line(const cut::Vec& end, double feed, cut::Side side) {
  std::string& b = out_.Begin();
  const std::size_t empty = b.size();
  const int motion = motion_;
  const cut::Side before = side_;
  SideWords(b, side);
  MotionWord(b, 1);
  const bool moves = AxisWords(b, end, 7);
  if (!moves && side == before) {
    b.resize(empty);
    motion_ = motion;
    return;
  }
  FeedWord(b, feed);
  out_.End();
}

double Writer::LineTolerance(const machine::MachineConfig& machine, double scale) {
  // The written ends are rounded to the machine's decimals: up to half a
  // unit of the last decimal on each axis. Lines standing for an arc keep
  // that much room within the tolerance.
  const double tolerance = machine.verification.tolerance;
  const double rounding =
      0.5 * std::pow(10.0, -machine.decimals.coordinates) / scale * std::sqrt(3.0);
  return std::max(tolerance - rounding, tolerance / 4);
}

void Writer::Arc(const cut::Step& step) {
  SplitArc(position_, step, machine_.arcs, line_tolerance_, split_);
  if (split_.outcome != ArcOutcome::kArcs) {
    ++arc_outcomes_[split_.outcome];
    for (const ArcPiece& piece : split_.pieces)
      Line(piece.end, step.feed, step.compensation);
    return;
  }
  if (split_.pieces.size() > 1)
    ++split_arcs_;
  const PlaneAxes axes = AxesOf(step.normal);
  const int plane = axes.normal == 2 ? 17 : axes.normal == 1 ? 18 : 19;
  const bool ccw = Get(step.normal, axes.normal) > 0;
  for (const ArcPiece& piece : split_.pieces) {
    const cut::Vec start = position_;
    std::string& b = out_.Begin();
    PlaneWord(b, plane);
    SideWords(b, step.compensation);
    // A circle's centre words say nothing without the motion word.
    motion_ = -1;
    MotionWord(b, ccw ? 3 : 2);
    // Every in-plane axis is written: the control checks the arc's end.
    known_[static_cast<std::size_t>(axes.first)] = false;
    known_[static_cast<std::size_t>(axes.second)] = false;
    AxisWords(b, piece.end, 7);
    switch (machine_.arcs.centre) {
      case machine::ArcCentre::kIncremental:
        for (int k : {axes.first, axes.second})
          Length(b, kCentre[k], Get(piece.centre, k) - Get(start, k));
        break;
      case machine::ArcCentre::kAbsolute:
        for (int k : {axes.first, axes.second})
          Length(b, kCentre[k], Get(piece.centre, k));
        break;
      case machine::ArcCentre::kRadius:
        b += machine_.arcs.radius_word == machine::RadiusWord::kR ? "R" : "CR=";
        AppendDecimal(b, piece.radius * scale_, machine_.decimals.coordinates);
        b += ' ';
        break;
    }
    FeedWord(b, step.feed);
    out_.End();
  }
}

void Writer::DwellWords(std::string& b, double seconds) {
  const machine::Cycles& cycles = machine_.cycles;
  b += cycles.dwell_address;
  if (cycles.dwell_unit == machine::DwellUnit::kMilliseconds)
    AppendInteger(b, std::llround(seconds * 1000));
  else
    AppendDecimal(b, seconds, machine_.decimals.dwell);
  b += ' ';
}

void Writer::Dwell(double seconds) {
  if (!(seconds > 0))
    return;
  std::string& b = out_.Begin();
  b += "G4 ";
  DwellWords(b, seconds);
  out_.End();
}

}  // namespace zu::codewriter::internal
