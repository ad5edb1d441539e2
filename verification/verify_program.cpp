#include "verification/verify_program.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "gcode/interpreter.h"
#include "gcode/line_source.h"
#include "verification/internal/recorder.h"
#include "verification/internal/tool_axes.h"
#include "verification/internal/tool_tip.h"
#include "verification/internal/text.h"
#include "verification/internal/verifier.h"

namespace zu::verify {
namespace internal {
namespace {

constexpr std::uint8_t kFeedReported = 1;
constexpr std::uint8_t kSpeedReported = 2;
constexpr std::uint8_t kToolReported = 4;

// Feeds are written rounded to the writer's decimals.
bool FeedsMatch(double read, double expected) {
  return std::fabs(read - expected) <= std::max(0.05, 1e-3 * std::fabs(expected));
}

// Spindle speeds are written as whole revolutions per minute.
bool SpeedsMatch(double read, double expected) {
  return std::fabs(read - expected) <= std::max(0.5, 1e-3 * std::fabs(expected));
}

}  // namespace

Verifier::Verifier(const cut::Program& expected, const Recorder& read, const VerifyOptions& options,
                   VerifyResult& result)
    : expected_(expected),
      read_(read),
      options_(options),
      result_(result),
      tolerance_(options.tolerance),
      reach_(std::max(10 * options.tolerance, 0.1)) {}

void Verifier::Run() {
  if (!(tolerance_ >= 0) || std::isinf(tolerance_))
    AddMismatch({}, "the tolerance " + Number(tolerance_) + " is not a distance");
  Flatten();
  read_cuts_.reserve(read_.events.size());
  for (std::size_t k = 0; k < read_.events.size(); ++k) {
    const ReadEvent::Kind kind = read_.events[k].kind;
    if (kind == ReadEvent::Kind::kFeed || kind == ReadEvent::Kind::kArc)
      read_cuts_.push_back(static_cast<std::uint32_t>(k));
    else if (kind == ReadEvent::Kind::kHole)
      read_holes_.push_back(static_cast<std::uint32_t>(k));
  }
  result_.moves_read = read_cuts_.size();
  result_.holes_read = read_holes_.size();
  AlignMoves();
  AlignHoles();
}

void Verifier::Flatten() {
  const std::vector<cut::Path>& paths = expected_.paths;
  tool_numbers_.assign(paths.size(), -1);
  reported_.assign(paths.size(), 0);
  std::size_t moves = 0;
  for (const cut::Path& path : paths)
    moves += path.steps.size();
  cuts_.reserve(moves);
  for (std::uint32_t p = 0; p < paths.size(); ++p) {
    const cut::Path& path = paths[p];
    if (!path.refusal.empty()) {
      ++result_.paths_refused;
      continue;
    }
    ++result_.paths;
    five_axis_ = five_axis_ || path.five_axis;
    if (path.tool >= 0 && static_cast<std::size_t>(path.tool) < expected_.tools.size())
      tool_numbers_[p] = expected_.tools[static_cast<std::size_t>(path.tool)].number;
    else
      AddMismatch(StepPlace(p, -1, {}),
                  "the path names tool " + std::to_string(path.tool) + ", which is not listed");
    // Where a path starts after the last is the writer's choice unless the
    // path says where it starts.
    bool gap = true;
    const Vec* at = nullptr;
    if (path.home && !path.steps.empty()) {
      rapids_.push_back({*path.home, p, -1});
      at = &*path.home;
    }
    for (std::uint32_t s = 0; s < path.steps.size(); ++s) {
      const cut::Step& step = path.steps[s];
      switch (step.kind) {
        case cut::Step::Kind::kRapid:
          rapids_.push_back({step.end, p, static_cast<int>(s)});
          gap = true;
          break;
        case cut::Step::Kind::kLine:
        case cut::Step::Kind::kArc:
          cuts_.push_back({at, p, s, static_cast<std::uint32_t>(rapids_.size()), !gap});
          gap = false;
          break;
        case cut::Step::Kind::kDwell:
          continue;
      }
      at = &step.end;
    }
    for (std::uint32_t h = 0; h < path.holes.size(); ++h)
      holes_.push_back({p, h});
  }
}

Place Verifier::PlaceOf(const Spot& spot) const {
  Place place;
  if (spot.path != kNoPath)
    place.path = expected_.paths[spot.path].name;
  place.index = spot.index;
  place.hole = spot.hole;
  place.point = spot.point;
  return place;
}

void Verifier::AddMismatch(const Spot& where, std::string text) {
  ++result_.mismatch_count;
  if (result_.mismatches.size() < options_.max_mismatches)
    result_.mismatches.push_back({PlaceOf(where), std::move(text)});
}

void Verifier::AddDeviation(double distance, const Spot& where) {
  if (!(distance <= result_.largest_deviation)) {
    result_.largest_deviation = distance;
    result_.deviation_at = PlaceOf(where);
  }
  if (Beyond(distance) && where.path != kNoPath)
    AddStretch(distance, where);
}

// A move beyond the tolerance right after one of the same path (the same
// step again, or the next) grows its stretch; anything else starts one.
void Verifier::AddStretch(double distance, const Spot& where) {
  std::vector<Deviation>& kept = result_.deviations;
  const bool grows = stretch_path_ == where.path && !where.hole && !kept.empty() &&
                     !kept.back().hole &&
                     (where.index == kept.back().last || where.index == kept.back().last + 1);
  if (grows && stretch_kept_) {
    Deviation& d = kept.back();
    d.last = where.index;
    if (!(distance <= d.largest)) {
      d.largest = distance;
      d.at = where.point;
    }
    d.low = {std::min(d.low.x, where.point.x), std::min(d.low.y, where.point.y),
             std::min(d.low.z, where.point.z)};
    d.high = {std::max(d.high.x, where.point.x), std::max(d.high.y, where.point.y),
              std::max(d.high.z, where.point.z)};
    return;
  }
  if (grows)
    return;
  ++result_.deviation_count;
  stretch_path_ = where.path;
  stretch_kept_ = kept.size() < options_.max_deviations;
  if (stretch_kept_) {
    kept.push_back({expected_.paths[where.path].name, where.index, where.index, where.hole,
                    distance, where.point, where.point, where.point});
  }
}

void Verifier::CheckTechnology(std::uint32_t path, const ReadEvent& event, double feed,
                               const Spot& where) {
  std::uint8_t& reported = reported_[path];
  const Technology& read = read_.TechnologyOf(event);
  if (feed > 0 && !(reported & kFeedReported) && !FeedsMatch(read.feed, feed)) {
    reported |= kFeedReported;
    AddMismatch(where, "feed " + Number(read.feed) + " mm/min, not " + Number(feed));
  }
  const double speed = expected_.paths[path].spindle;
  if (speed > 0 && !(reported & kSpeedReported) && !SpeedsMatch(read.speed, speed)) {
    reported |= kSpeedReported;
    AddMismatch(where, "spindle " + Number(read.speed) + " rev/min, not " + Number(speed));
  }
  const int tool = tool_numbers_[path];
  if (tool_numbers_[path] >= 0 && !(reported & kToolReported) && read.tool != tool) {
    reported |= kToolReported;
    AddMismatch(where,
                (read.tool < 0 ? std::string("no tool") : "tool T" + std::to_string(read.tool)) +
                    " in use, not T" + std::to_string(tool));
  }
}

}  // namespace internal

VerifyResult VerifyProgram(const cut::Program& expected, std::string_view code_text,
                           const gcode::NcSystem& system, const VerifyOptions& options) {
  VerifyResult result;
  result.tolerance = options.tolerance;
  result.notes = options.notes;
  internal::Recorder recorder;
  recorder.tools = &expected.tools;
  // About one event per expected step and hole, and the writer's rapids.
  std::size_t events = 64;
  for (const cut::Path& path : expected.paths)
    events += path.steps.size() + path.holes.size() + 4;
  recorder.events.reserve(events);
  gcode::TextLineSource source(code_text);
  gcode::ReadOptions read_options;
  read_options.max_errors = std::max<std::size_t>(options.max_mismatches, 1);
  std::optional<internal::ToolTip> tip;
  if (options.kinematics)
    tip.emplace(recorder, *options.kinematics);
  const gcode::ProgramRead read = tip ? gcode::ReadProgram(system, source, *tip, *tip, read_options)
                                      : gcode::ReadProgram(system, source, recorder, read_options);
  result.lines_read = read.lines;
  internal::Verifier verifier(expected, recorder, options, result);
  // The code's own errors first: a block the control refuses is a fault of
  // the code whatever the comparison finds.
  for (const gcode::Diagnostic& error : read.errors) {
    ++result.mismatch_count;
    if (result.mismatches.size() < options.max_mismatches) {
      Mismatch& mismatch = result.mismatches.emplace_back();
      mismatch.text =
          "line " + std::to_string(error.line) + ": " + error.message + ": " + error.block;
    }
  }
  result.mismatch_count += read.error_count - read.errors.size();
  verifier.Run();
  result.ok = result.mismatch_count == 0 && result.largest_deviation <= options.tolerance;
  if (tip) {
    const internal::AxisComparison axes =
        internal::CompareToolAxes(expected, tip->samples, options.tolerance);
    result.axis_tolerance_degrees = options.axis_tolerance_degrees;
    result.largest_rotary_turn = tip->largest_turn;
    result.rotary_turn_axis = tip->turn_axis;
    result.moves_read = tip->cuts_read;
    result.axes_compared = axes.compared;
    result.largest_axis_deviation = axes.largest_degrees;
    if (axes.compared > 0) {
      result.axis_deviation_at.path = expected.paths[axes.path].name;
      result.axis_deviation_at.index = axes.step;
      result.axis_deviation_at.point = axes.point;
    }
    result.ok = result.ok && axes.largest_degrees <= options.axis_tolerance_degrees;
  }
  if (options.keep_motion)
    result.motion = internal::MotionOf(recorder);
  return result;
}

}  // namespace zu::verify
