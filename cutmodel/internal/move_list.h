// The moves of one milling path as a file gives them, before their kinds
// are known: each move keeps the feed the file names for it until the path
// ends, then becomes a rapid or a feed move.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cutmodel/cut_model.h"
#include "cutmodel/internal/frame_map.h"

namespace zu::cut::internal {

class MoveList {
 public:
  MoveList(const FrameMap& map, Path& path) : map_(map), path_(path) {}

  // Lines and arcs in the path's coordinates; `feed` negative for a rapid.
  void Line(const Vec& end, double feed);
  // False (and the path refused) when the normal is not along an axis.
  bool Arc(const Vec& end, const Vec& centre, const Vec& normal, double feed);
  void Dwell(double seconds);
  // The compensation of the moves added from now on.
  void SetSide(Side side) { side_ = side; }

  // The move just added, if any (dwells are not moves).
  Step* LastMove();
  // Where the last move ended, in the machine's frame.
  std::optional<Vec> LastEnd() const;

 private:
  const FrameMap& map_;
  Path& path_;
  std::optional<std::size_t> last_move_;
  Side side_ = Side::kOff;
};

// Sets the kind of each move from its feed: negative feeds are rapids.
void SetKindsByFeed(Path& path);

}  // namespace zu::cut::internal
