// The comparison of a read-back program (Recorder) with the expected one,
// shared by verify_program.cpp (the flattened expected program, the
// technology checks, the result) and moves.cpp and holes.cpp (the two
// alignments).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cutmodel/cut_model.h"
#include "verification/internal/geometry.h"
#include "verification/internal/recorder.h"
#include "verification/verify_program.h"

namespace zu::verify::internal {

// An expected feed move or arc, in the program's order.
struct ExpectedCut {
  // Where the move starts, in the expected program (the path's home or the
  // step before); null where the path leaves it to the writer.
  const Vec* start = nullptr;
  std::uint32_t path = 0;
  std::uint32_t step = 0;
  std::uint32_t rapids_before = 0;  // expected rapids listed before this move
  // Follows the previous expected cut of the same path with no rapid between.
  bool joined = false;
};

// An expected rapid end: a rapid step, or a milling path's start point.
struct ExpectedRapid {
  Vec end;
  std::uint32_t path = 0;
  int step = -1;  // -1: the path's start point
};

struct ExpectedHole {
  std::uint32_t path = 0;
  std::uint32_t index = 0;
};

// A place in the expected program while comparing: Place without the
// path's name, which is copied only where a place is kept.
inline constexpr std::uint32_t kNoPath = 0xffffffff;
struct Spot {
  std::uint32_t path = kNoPath;
  int index = -1;
  bool hole = false;
  Vec point;
};

class Verifier {
 public:
  Verifier(const cut::Program& expected, const Recorder& read, const VerifyOptions& options,
           VerifyResult& result);
  void Run();

 private:
  // verify_program.cpp
  void Flatten();
  Place PlaceOf(const Spot& spot) const;
  void AddMismatch(const Spot& where, std::string text);
  void AddDeviation(double distance, const Spot& where);
  void AddStretch(double distance, const Spot& where);
  // One mismatch per path for each of feed, speed and tool: the first.
  void CheckTechnology(std::uint32_t path, const ReadEvent& event, double feed, const Spot& where);
  Spot StepPlace(std::uint32_t path, int index, const Vec& point, bool hole = false) const {
    return {path, index, hole, point};
  }
  bool Beyond(double distance) const { return !(distance <= tolerance_); }

  // moves.cpp
  void AlignMoves();
  std::size_t FindPieces(const Piece& e, double length, std::size_t j, double& off);
  bool OneLine(std::size_t i, std::size_t j, Vec& start, double& off) const;
  bool UnderLargest(const Vec& s0, const Vec& s1, const Vec& r0, const Vec& r1) const;
  void CheckTechnologies(std::size_t i, std::size_t a, std::size_t b);
  void CompareMove(std::size_t i, const Piece& e, std::size_t a, std::size_t b);
  void FinishMove(std::size_t i, const Farthest& far, double off, const Vec& start, std::size_t a,
                  std::size_t b, std::uint64_t mismatches);
  void CompareArc(std::size_t i, const Piece& e, std::size_t a, std::size_t b);
  void MissingMove(std::size_t i, const Piece& e, std::size_t j);
  void CheckRapids(std::size_t first, std::size_t end, std::size_t after_event,
                   std::size_t before_event, std::uint32_t entering);
  void CheckCrossing(std::uint32_t path, std::size_t from, std::size_t to, std::size_t after_event,
                     std::size_t before_event);
  Piece ExpectedPiece(std::size_t i, const Vec& fallback_start) const;
  Piece ReadPiece(std::size_t j) const;
  const ReadEvent& Cut(std::size_t j) const { return read_.events[read_cuts_[j]]; }
  Vec CutStart(std::size_t j) const { return read_.StartOf(read_cuts_[j]); }
  const cut::Step& StepOf(std::size_t i) const;

  // holes.cpp
  void AlignHoles();
  void CompareHole(std::size_t h, std::size_t r);
  void ExtraHole(std::size_t r, std::size_t h);
  Vec HolePoint(std::size_t h) const;
  const ReadEvent& HoleEvent(std::size_t r) const { return read_.events[read_holes_[r]]; }

  const cut::Program& expected_;
  bool five_axis_ = false;  // some expected path turns the tool
  const Recorder& read_;
  const VerifyOptions& options_;
  VerifyResult& result_;
  double tolerance_;
  double reach_;            // how far apart two end points may be and still be matched
  double carried_off_ = 0;  // how far off the last move compared ended, where beyond
  // The stretch beyond the tolerance being grown: its path, and whether it
  // was kept (only the first max_deviations are).
  std::uint32_t stretch_path_ = kNoPath;
  bool stretch_kept_ = false;

  std::vector<ExpectedCut> cuts_;
  std::vector<ExpectedRapid> rapids_;
  std::vector<ExpectedHole> holes_;
  std::vector<std::uint32_t> read_cuts_;   // indices of read feed moves and arcs
  std::vector<std::uint32_t> read_holes_;  // indices of read holes
  std::vector<int> tool_numbers_;          // per path: the T number, -1 where unknown
  std::vector<std::uint8_t> reported_;     // per path: technology mismatches reported
  // The last technology check of a move: path, read technology, feed's bits.
  struct {
    std::uint32_t path = kNoPath;
    std::uint32_t technology = 0;
    std::uint64_t feed = 0;
  } checked_;
  // Scratch, kept to save allocations: the read pieces matched with the
  // move being compared, and the two sides' windows around it.
  std::vector<Piece> found_;
  std::vector<Piece> window_;
  std::vector<Piece> pieces_;
};

}  // namespace zu::verify::internal
