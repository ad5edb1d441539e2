#include "verification/check_picture.h"

#include <optional>

#include "drawing/svg_text.h"
#include "verification/internal/geometry.h"

namespace zu::verify {

namespace {

using zu::draw::Mark;
using zu::draw::Move;

zu::draw::Point P(const cut::Vec& v) {
  return {v.x, v.y, v.z};
}

// An arc from `start` to `end` about `axis` (counter-clockwise), as the
// verification measures it: the centre taken into the start's plane, a
// full turn where the ends meet.
Move ArcMove(const cut::Vec& start, const cut::Vec& end, const cut::Vec& centre,
             const cut::Vec& axis, bool rapid) {
  const internal::Piece piece = internal::MakeArc(start, end, centre, axis);
  Move move;
  move.rapid = rapid;
  move.from = P(start);
  move.to = P(end);
  if (piece.arc) {
    move.kind = Move::Kind::kArc;
    move.centre = P(piece.centre);
    move.normal = P(piece.axis);
    move.sweep = piece.sweep;
  }
  return move;
}

Move LineMove(const cut::Vec& from, const cut::Vec& to, bool rapid) {
  Move move;
  move.rapid = rapid;
  move.from = P(from);
  move.to = P(to);
  return move;
}

// One expected path; `at` is where the tool is (none before the first
// move the program states).
zu::draw::Trace ExpectedTrace(const cut::Path& path, std::optional<cut::Vec>& at) {
  zu::draw::Trace trace;
  trace.stroke_px = 5;
  if (path.home) {
    if (at)
      trace.moves.push_back(LineMove(*at, *path.home, true));
    at = *path.home;
  }
  cut::Side side = cut::Side::kOff;
  for (const cut::Step& step : path.steps) {
    if (step.kind == cut::Step::Kind::kDwell) {
      if (at)
        trace.marks.push_back({Mark::Kind::kDwell, P(*at)});
      continue;
    }
    if (at) {
      if (step.kind == cut::Step::Kind::kArc)
        trace.moves.push_back(ArcMove(*at, step.end, step.centre, step.normal, false));
      else
        trace.moves.push_back(LineMove(*at, step.end, step.kind == cut::Step::Kind::kRapid));
      if (step.compensation != side) {
        trace.marks.push_back({step.compensation == cut::Side::kOff ? Mark::Kind::kCompensationOff
                                                                    : Mark::Kind::kCompensationOn,
                               P(*at)});
      }
    }
    side = step.compensation;
    at = step.end;
  }
  for (const cut::Hole& hole : path.holes) {
    trace.holes.push_back({P(hole.top), hole.bottom});
    at = cut::Vec{hole.top.x, hole.top.y, hole.initial};
  }
  return trace;
}

zu::draw::Trace ReadTrace(const std::vector<ReadMove>& motion) {
  zu::draw::Trace trace;
  trace.name = "the program read back";
  trace.colour = "#000000";
  trace.stroke_px = 1;
  trace.moves.reserve(motion.size());
  for (const ReadMove& m : motion) {
    if (!m.start_known)
      continue;
    switch (m.kind) {
      case ReadMove::Kind::kRapid:
        trace.moves.push_back(LineMove(m.start, m.end, true));
        break;
      case ReadMove::Kind::kFeed:
        trace.moves.push_back(LineMove(m.start, m.end, false));
        break;
      case ReadMove::Kind::kArc:
        trace.moves.push_back(ArcMove(m.start, m.end, m.centre, m.axis, false));
        break;
      case ReadMove::Kind::kHole:
        trace.moves.push_back(LineMove(m.start, m.end, false));
        break;
    }
  }
  return trace;
}

}  // namespace

zu::draw::Picture CheckPicture(const cut::Program& expected, const VerifyResult& result,
                               const CheckPictureOptions& options) {
  zu::draw::Picture picture;
  picture.title = options.title;
  std::optional<cut::Vec> at;
  std::size_t refused = 0;
  for (const cut::Path& path : expected.paths) {
    if (!path.refusal.empty()) {
      ++refused;
      continue;
    }
    zu::draw::Trace trace = ExpectedTrace(path, at);
    trace.name = options.to_utf8(path.name);
    picture.traces.push_back(std::move(trace));
  }
  if (!result.motion.empty())
    picture.traces.push_back(ReadTrace(result.motion));
  for (const Deviation& d : result.deviations) {
    picture.callouts.push_back({P(d.low), P(d.high), zu::draw::Length(d.largest) + " mm"});
  }
  picture.notes.push_back(std::string(result.ok ? "PASS" : "FAIL") + ": largest deviation " +
                          zu::draw::Length(result.largest_deviation) + " mm, tolerance " +
                          zu::draw::Length(result.tolerance) + " mm");
  if (result.deviation_count > 0) {
    picture.notes.push_back(std::to_string(result.deviation_count) +
                            " stretch(es) beyond the tolerance, circled in red" +
                            (result.deviation_count > result.deviations.size()
                                 ? " (the first " + std::to_string(result.deviations.size()) + ")"
                                 : std::string()));
  }
  if (result.mismatch_count > 0)
    picture.notes.push_back(std::to_string(result.mismatch_count) +
                            " mismatch(es): see the check report");
  if (refused > 0)
    picture.notes.push_back(std::to_string(refused) + " path(s) refused, not drawn");
  return picture;
}

}  // namespace zu::verify
