// The feed moves and arcs: each expected move matched with the read-back
// pieces that make it (one, or several where the writer split or
// linearised it), then compared; the rapids between them by their ends.
#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <optional>
#include <span>

#include "verification/internal/text.h"
#include "verification/internal/verifier.h"

namespace zu::verify::internal {
namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
// The most pieces one expected move is looked for in, and how far ahead an
// expected move is looked for past moves the code has in excess.
constexpr std::size_t kMostPieces = 10000;
constexpr std::size_t kResyncReach = 16;

// Arcs read back as arcs keep the expected axis: a cosine this close to 1.
constexpr double kSameAxis = 0.999;

}  // namespace

const cut::Step& Verifier::StepOf(std::size_t i) const {
  return expected_.paths[cuts_[i].path].steps[cuts_[i].step];
}

Piece Verifier::ExpectedPiece(std::size_t i, const Vec& fallback_start) const {
  const cut::Step& step = StepOf(i);
  const Vec start = cuts_[i].start ? *cuts_[i].start : fallback_start;
  if (step.kind == cut::Step::Kind::kArc)
    return MakeArc(start, step.end, step.centre, step.normal);
  return MakeLine(start, step.end);
}

Piece Verifier::ReadPiece(std::size_t j) const {
  const ReadEvent& event = Cut(j);
  const Vec start = CutStart(j);
  if (event.kind == ReadEvent::Kind::kArc) {
    const ReadArc& arc = read_.arcs[event.detail];
    return MakeArc(start, event.end, arc.centre, arc.axis);
  }
  return MakeLine(start, event.end);
}

// The last read piece of expected move e (of `length`), the first being j,
// with the pieces from j to it in found_ and how far from e's end it ends in
// `off`; kNone where no run of pieces from j ends where the move ends.
std::size_t Verifier::FindPieces(const Piece& e, double length, std::size_t j, double& off) {
  const std::size_t n = read_cuts_.size();
  double run = 0;
  found_.clear();
  for (std::size_t k = j; k < n && k - j < kMostPieces; ++k) {
    if (k > j && !Cut(k).joined)
      break;  // the pieces of one move follow each other
    found_.push_back(ReadPiece(k));
    run += Length(found_.back());
    off = Distance(Cut(k).end, e.end);
    // Half the length at least: a full circle in pieces ends where it
    // starts, and so may its first short piece.
    if (off <= reach_ && run >= 0.5 * length - reach_) {
      const bool nearer_next =
          k + 1 < n && Cut(k + 1).joined && Distance(Cut(k + 1).end, e.end) < off;
      if (!nearer_next)
        return k;
    }
    // Pieces of the move lie within its length of its start, and together
    // are not much longer than the move.
    if (run > 1.5 * length + 2 * reach_ || Distance(Cut(k).end, e.start) > length + reach_)
      break;
  }
  return kNone;
}

// Whether expected move i is a straight move made by read straight move j
// alone, ending within the tolerance of where it should and nearer to it
// than the read move after: what FindPieces and AlignMoves decide for it
// then, found from the ends alone. `start`: where move i starts; `off`: how
// far from its end move j ends.
bool Verifier::OneLine(std::size_t i, std::size_t j, Vec& start, double& off) const {
  const cut::Step& step = StepOf(i);
  const ReadEvent& read = Cut(j);
  if (step.kind != cut::Step::Kind::kLine || read.kind != ReadEvent::Kind::kFeed)
    return false;
  const Vec read_start = CutStart(j);
  start = cuts_[i].start ? *cuts_[i].start : read_start;
  off = Distance(read.end, step.end);
  if (Beyond(off) || !(off <= reach_))
    return false;
  const double length = Distance(start, step.end);
  if (!(Distance(read_start, read.end) >= 0.5 * length - reach_))
    return false;
  return !(j + 1 < read_cuts_.size() && Cut(j + 1).joined &&
           Distance(Cut(j + 1).end, step.end) < off);
}

// Whether the largest distance between the segments from s0 to s1 and from
// r0 to r1 can be neither a new largest deviation nor beyond the tolerance.
// It is at most the larger of the distances between their starts and
// between their ends (the points at the same fraction of each are no
// further apart), which must keep below both by more than the rounding of
// either computation (a few units in the last place of the coordinates).
bool Verifier::UnderLargest(const Vec& s0, const Vec& s1, const Vec& r0, const Vec& r1) const {
  if (!(tolerance_ >= 0))
    return false;
  const double limit = std::min(result_.largest_deviation, tolerance_);
  const double scale = 1 + std::fabs(s0.x) + std::fabs(s0.y) + std::fabs(s0.z) + std::fabs(s1.x) +
                       std::fabs(s1.y) + std::fabs(s1.z);
  const double room = limit - 1e-13 * scale;
  if (!(room > 0))
    return false;
  const Vec starts = s0 - r0;
  const Vec ends = s1 - r1;
  return Dot(starts, starts) <= room * room && Dot(ends, ends) <= room * room;
}

void Verifier::AlignMoves() {
  const std::size_t m = cuts_.size();
  const std::size_t n = read_cuts_.size();
  std::size_t j = 0;
  std::size_t rapid_from = 0;
  std::size_t last_event = kNone;
  for (std::size_t i = 0; i < m; ++i) {
    ++result_.moves_compared;
    Vec start;
    double end_off = 0;
    if (j < n && OneLine(i, j, start, end_off)) {
      // As below, with no pieces built.
      const bool entering = i == 0 || cuts_[i - 1].path != cuts_[i].path;
      CheckRapids(rapid_from, cuts_[i].rapids_before, last_event, read_cuts_[j],
                  entering ? cuts_[i].path : kNoPath);
      rapid_from = cuts_[i].rapids_before;
      const Vec& end = StepOf(i).end;
      const Vec read_start = CutStart(j);
      if (UnderLargest(start, end, read_start, Cut(j).end)) {
        // Nothing to record but the technology (and no end off: OneLine).
        carried_off_ = 0;
        CheckTechnologies(i, j, j);
      } else {
        const Farthest far = SegmentsApart(start, end, read_start, Cut(j).end);
        FinishMove(i, far, end_off, start, j, j, result_.mismatch_count);
      }
      last_event = read_cuts_[j];
      ++j;
      continue;
    }
    const Vec fallback = j < n ? CutStart(j) : Vec{};
    Piece e = ExpectedPiece(i, fallback);
    if (j >= n) {
      MissingMove(i, e, j);
      continue;
    }
    const double length = Length(e);
    // A straight move shorter than the tolerance that the code does not
    // make may be left out (a move to where the tool is is never sent).
    if (!e.arc && !Beyond(length) && Beyond(Distance(Cut(j).end, e.end))) {
      MissingMove(i, e, j);
      continue;
    }
    double off = 0;
    std::size_t b = FindPieces(e, length, j, off);
    // The code goes on nearer to where the next move ends: this one is
    // missing (so that one fault does not shift every move after it).
    if (b == kNone)
      off = Distance(Cut(j).end, e.end);
    if (Beyond(off) && i + 1 < m && Distance(Cut(j).end, StepOf(i + 1).end) < off) {
      MissingMove(i, e, j);
      continue;
    }
    if (b == kNone) {
      // Moves the code has in excess: the expected move made by one piece
      // a little further on.
      for (std::size_t k = j + 1; k < n && k <= j + kResyncReach; ++k) {
        if (!Beyond(Distance(Cut(k).end, e.end)) && !Beyond(Distance(CutStart(k), e.start))) {
          AddMismatch(StepPlace(cuts_[i].path, static_cast<int>(cuts_[i].step), Cut(j).end),
                      std::to_string(k - j) +
                          " move(s) in the code before this one, the first to " +
                          Point(Cut(j).end));
          j = k;
          b = k;
          break;
        }
      }
      if (b == kNone)
        b = j;  // compared as it stands
      found_.assign(1, ReadPiece(b));
    }
    const bool entering = i == 0 || cuts_[i - 1].path != cuts_[i].path;
    CheckRapids(rapid_from, cuts_[i].rapids_before, last_event, read_cuts_[j],
                entering ? cuts_[i].path : kNoPath);
    rapid_from = cuts_[i].rapids_before;
    // A move whose start the expected program leaves open starts where the
    // code's does.
    if (!cuts_[i].start)
      e = ExpectedPiece(i, CutStart(j));
    CompareMove(i, e, j, b);
    last_event = read_cuts_[b];
    j = b + 1;
  }
  CheckRapids(rapid_from, rapids_.size(), last_event, read_.events.size(), kNoPath);
  if (j < n) {
    const std::size_t extra = n - j;
    AddMismatch({kNoPath, -1, false, Cut(j).end},
                std::to_string(extra) + " move(s) in the code after the last expected one, the " +
                    "first to " + Point(Cut(j).end));
  }
}

void Verifier::MissingMove(std::size_t i, const Piece& e, std::size_t j) {
  const ExpectedCut& cut = cuts_[i];
  carried_off_ = 0;
  // Measured against the code where it goes on; past the code's last move
  // the mismatch says enough.
  if (j < read_cuts_.size()) {
    window_.clear();
    if (j > 0)
      window_.push_back(ReadPiece(j - 1));
    window_.push_back(ReadPiece(j));
    const Farthest far = Directed(std::span(&e, 1), window_);
    AddDeviation(far.distance, StepPlace(cut.path, static_cast<int>(cut.step), far.point));
  }
  // A straight move shorter than the tolerance may be left out: the code
  // is as close as asked without it.
  if (e.arc || Beyond(Length(e)))
    AddMismatch(StepPlace(cut.path, static_cast<int>(cut.step), e.end),
                "the move to " + Point(e.end) + " is not in the code");
}

void Verifier::CompareMove(std::size_t i, const Piece& e, std::size_t a, std::size_t b) {
  const ExpectedCut& cut = cuts_[i];
  const int index = static_cast<int>(cut.step);
  const std::uint64_t mismatches = result_.mismatch_count;
  const Vec read_end = Cut(b).end;
  const double off = Distance(read_end, e.end);
  if (Beyond(off))
    AddMismatch(StepPlace(cut.path, index, e.end),
                "ends at " + Point(read_end) + ", " + Number(off) + " from " + Point(e.end));
  if (e.arc)
    CompareArc(i, e, a, b);

  // found_ holds the pieces a to b.
  Farthest far;
  const Piece& first = found_.front();
  if (a == b && !e.arc && !first.arc) {
    far = LinesApart(e, first);
  } else if (a == b && e.arc && first.arc && Dot(e.axis, first.axis) >= kSameAxis) {
    far = ArcsApart(e, first);
  } else if (a < b && SplitArcApart(e, found_, far)) {
    // An arc in arcs: each against its stretch of the expected one.
  } else {
    // Split or linearised: both ways, each against the other side's pieces
    // and their joined neighbours.
    const std::size_t n = read_cuts_.size();
    window_.clear();
    if (a > 0 && Cut(a).joined)
      window_.push_back(ReadPiece(a - 1));
    window_.insert(window_.end(), found_.begin(), found_.end());
    if (b + 1 < n && Cut(b + 1).joined)
      window_.push_back(ReadPiece(b + 1));
    const Farthest there = Directed(std::span(&e, 1), window_);
    pieces_.clear();
    if (cut.joined && i > 0)
      pieces_.push_back(ExpectedPiece(i - 1, e.start));
    pieces_.push_back(e);
    if (i + 1 < cuts_.size() && cuts_[i + 1].joined)
      pieces_.push_back(ExpectedPiece(i + 1, e.end));
    const Farthest back = Directed(found_, pieces_);
    far = there.distance >= back.distance ? there : back;
  }
  FinishMove(i, far, off, e.start, a, b, mismatches);
}

// The rest of comparing move i (starting at `start`) with read pieces a to b:
// the largest distance `far` between them, how far off the end is, and the
// technology. `mismatches`: the count before the move was compared.
void Verifier::FinishMove(std::size_t i, const Farthest& far, double off, const Vec& start,
                          std::size_t a, std::size_t b, std::uint64_t mismatches) {
  const ExpectedCut& cut = cuts_[i];
  const int index = static_cast<int>(cut.step);
  const Spot place = StepPlace(cut.path, index, far.point);
  AddDeviation(far.distance, place);
  // Where the last move ended off, this one starts there: that is said.
  const bool carried =
      cut.joined && carried_off_ > 0 && Distance(far.point, start) <= carried_off_ + tolerance_;
  carried_off_ = Beyond(off) ? off : 0;
  if (result_.mismatch_count == mismatches && Beyond(far.distance) && !carried)
    AddMismatch(place,
                "the code runs " + Number(far.distance) + " from the move at " + Point(far.point));
  CheckTechnologies(i, a, b);
}

// The feed, speed and tool of read pieces a to b against expected move i.
// A check just made with the same path, read technology and expected feed
// says nothing new: each mismatch is said once per path.
void Verifier::CheckTechnologies(std::size_t i, std::size_t a, std::size_t b) {
  const ExpectedCut& cut = cuts_[i];
  const double feed = StepOf(i).feed;
  for (std::size_t k = a; k <= b; ++k) {
    const ReadEvent& event = Cut(k);
    if (cut.path == checked_.path && event.technology == checked_.technology &&
        std::bit_cast<std::uint64_t>(feed) == checked_.feed)
      continue;
    checked_ = {cut.path, event.technology, std::bit_cast<std::uint64_t>(feed)};
    CheckTechnology(cut.path, event, feed,
                    StepPlace(cut.path, static_cast<int>(cut.step), event.end));
  }
}

void Verifier::CompareArc(std::size_t i, const Piece& e, std::size_t a, std::size_t b) {
  const ExpectedCut& cut = cuts_[i];
  const Spot place = StepPlace(cut.path, static_cast<int>(cut.step), e.end);
  for (std::size_t k = a; k <= b; ++k) {
    const Piece& r = found_[k - a];
    if (!r.arc)
      continue;  // linearised: the geometry decides
    const double turn = Dot(r.axis, e.axis);
    Vec apart = r.centre - e.centre;
    apart = apart - Dot(apart, e.axis) * e.axis;
    const double centre_off = Norm(apart);
    const double radius_off = std::fabs(r.radius - e.radius);
    std::string text;
    if (turn < -kSameAxis)
      text = "the arc turns the other way (axis " + Point(r.axis) + ", not " + Point(e.axis) + ")";
    else if (!(turn >= kSameAxis))
      text =
          "the arc lies in another plane (axis " + Point(r.axis) + ", not " + Point(e.axis) + ")";
    else if (Beyond(centre_off))
      text = "the arc's centre is " + Point(r.centre) + ", " + Number(centre_off) + " from " +
             Point(e.centre);
    else if (Beyond(radius_off))
      text = "the arc's radius is " + Number(r.radius) + ", not " + Number(e.radius);
    if (!text.empty()) {
      AddMismatch(place, std::move(text));
      return;
    }
  }
}

// The expected rapid ends [first, end) must be reached, in order, between
// read events after_event and before_event (the rapids the code has there,
// or where the tool already was); the writer's own rapids may come between.
// `entering`: the path whose first move follows, or kNoPath.
void Verifier::CheckRapids(std::size_t first, std::size_t end, std::size_t after_event,
                           std::size_t before_event, std::uint32_t entering) {
  // Candidates: where the tool was (after_event's end), then each rapid end.
  std::size_t q = after_event == kNone ? 0 : after_event;
  // The writer's own moves lie after the last rapid of the paths before
  // and up to the first of the path entered.
  std::size_t writer_from = after_event;
  std::size_t writer_to = kNone;
  for (std::size_t r = first; r < end; ++r) {
    const ExpectedRapid& rapid = rapids_[r];
    ++result_.rapids_compared;
    std::size_t k = q;
    for (; k < before_event; ++k) {
      const ReadEvent& event = read_.events[k];
      const bool candidate = k == after_event || event.kind == ReadEvent::Kind::kRapid;
      if (candidate && !Beyond(Distance(event.end, rapid.end)))
        break;
    }
    if (k < before_event) {
      q = k;
      if (rapid.path != entering)
        writer_from = k;
      else if (writer_to == kNone)
        writer_to = k;
      continue;
    }
    const std::string what = rapid.step < 0 ? "the path's start point " : "the rapid move to ";
    AddMismatch(StepPlace(rapid.path, rapid.step, rapid.end),
                what + Point(rapid.end) + " is not reached in the code");
  }
  if (entering != kNoPath && after_event != kNone)
    CheckCrossing(entering, writer_from, writer_to == kNone ? before_event : writer_to + 1,
                  after_event, before_event);
}

// Between two paths the writer goes up to the entered path's safe height
// before it moves across: a rapid among events (from, to) that moves in X
// or Y below it is named (the first). Where holes lie between, the drilling
// path's own approach is not judged here.
void Verifier::CheckCrossing(std::uint32_t path, std::size_t from, std::size_t to,
                             std::size_t after_event, std::size_t before_event) {
  const std::optional<double>& safe = expected_.paths[path].safe_height;
  if (!safe)
    return;
  for (std::size_t k = after_event + 1; k < before_event; ++k) {
    if (read_.events[k].kind == ReadEvent::Kind::kHole)
      return;
  }
  for (std::size_t k = from + 1; k < to; ++k) {
    const ReadEvent& event = read_.events[k];
    if (event.kind != ReadEvent::Kind::kRapid)
      continue;
    const Vec start = read_.StartOf(k);
    const double across = std::sqrt((event.end.x - start.x) * (event.end.x - start.x) +
                                    (event.end.y - start.y) * (event.end.y - start.y));
    const double low = std::min(start.z, event.end.z);
    if (!Beyond(across) || !Beyond(*safe - low))
      continue;
    // Out of a five-axis path the tool leaves along its axis, rising
    // straight to the safe height; the rotary axes turn the part under the
    // tool: no moves across.
    if (five_axis_ && ((event.end.z > start.z && !Beyond(*safe - event.end.z)) ||
                       std::binary_search(read_.turning.begin(), read_.turning.end(),
                                          static_cast<std::uint32_t>(k))))
      continue;
    AddMismatch(StepPlace(path, -1, event.end),
                "a rapid move across from " + Point(start) + " to " + Point(event.end) +
                    " below the path's safe height " + Number(*safe));
    return;
  }
}

}  // namespace zu::verify::internal
