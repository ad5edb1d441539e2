// Checks what a road wrote with OptimizePath set against what it wrote for
// the same paths without: both files are read back into moves, the moves
// the optimisation left alone must be the same, and every stretch that
// differs must be a run of straight cuts on the unoptimised side and lines
// and arcs on the other that the path fitter's independent checker accepts
// for that run, within the tolerance.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/geometry.h"

namespace zu::fitcheck {

// A block of a written path: a line or an arc to `end`, or a block that is
// no move (feed type, compensation, dwell). `tag` holds what the block says
// besides its geometry and feed: everything for blocks that are no move, the
// fields a move keeps through the optimisation (compensation, dwell, mark)
// for moves. Feeds change within a run (its first cut is fed as a first
// cut), so a stretch that differs may pass over them: `feed` is a move's
// feed index, or -1; `feed_change` marks a block that only sets the feed.
struct WrittenStep {
  enum class Type { Line, Arc, Other };
  Type type = Type::Other;
  XYZ end;
  XYZ centre;  // arcs
  XYZ normal;  // arcs: counter-clockwise about it
  std::string tag;
  int feed = -1;
  bool feed_change = false;
  bool operator==(const WrittenStep&) const = default;
};
using WrittenPath = std::vector<WrittenStep>;

// The paths of a text tool-location file or of a post-path file; `error`
// says why the file could not be read (then no paths).
std::vector<WrittenPath> ToolLocationSteps(const std::string& bytes, std::string& error);
std::vector<WrittenPath> PostPathSteps(const std::string& bytes, std::string& error);

struct FitComparison {
  std::size_t runs = 0;             // stretches that differ
  std::size_t plain_moves = 0;      // moves of the file written without the optimisation
  std::size_t optimised_moves = 0;  // moves of the file written with it
  std::size_t fitted_arcs = 0;      // arcs in the stretches that differ
  std::size_t violations = 0;       // the checker's, over all stretches
  std::string problem;              // the first problem found (empty: none)
};

// Compares `optimised` with `plain`, path by path, at `tolerance`.
FitComparison CompareFittedPaths(const std::vector<WrittenPath>& plain,
                                 const std::vector<WrittenPath>& optimised, double tolerance);

}  // namespace zu::fitcheck
