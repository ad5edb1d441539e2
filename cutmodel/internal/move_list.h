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
  // In a `tilted` path every move's tool axis is the system's Z.
  MoveList(const FrameMap& map, Path& path);

  // Lines and arcs in the path's coordinates; `feed` negative for a rapid.
  // A line may give its tool axis (in the path's coordinates, any length);
  // other moves keep the axis of the move before them.
  void Line(const Vec& end, double feed, const Vec* axis = nullptr);
  // False (and the path refused) when the normal is not along an axis (of
  // the path's system where it is tilted, else of the machine).
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
  Vec axis_{0, 0, 1};
};

// Sets the kind of each move from its feed: negative feeds are rapids; and
// marks the path five-axis where a move's tool axis is not the machine's Z.
void SetKindsByFeed(Path& path);

}  // namespace zu::cut::internal
