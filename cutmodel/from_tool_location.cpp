#include "cutmodel/from_tool_location.h"

#include <array>

#include "cutmodel/internal/drilling.h"
#include "cutmodel/internal/frame_map.h"
#include "cutmodel/internal/move_list.h"

namespace zu::cut {

namespace {

using internal::FrameMap;
using internal::MoveList;

Vec V(const zu::Vec3& v) {
  return {v.x, v.y, v.z};
}

// The feed of a feed-type code: the feed line holds the feeds by code
// (A, -1, -1, D, B, A, B, B, C, -1 for codes 0 to 9); code 1 is always
// rapid.
double FeedOfCode(const FeedLine& line, int code) {
  const std::array<double, 10> feeds = {line.a, -1,     -1,     line.d, line.b,
                                        line.a, line.b, line.b, line.c, -1};
  if (code <= 1 || code > 9)
    return -1;
  return feeds[static_cast<std::size_t>(code)];
}

class MillReader {
 public:
  MillReader(const ToolLocationFile& file, const ToolLocationPath& record, const FrameMap& map,
             Path& path, int& feed_code, bool axes)
      : file_(file),
        record_(record),
        path_(path),
        moves_(map, path),
        feed_code_(feed_code),
        axes_(axes) {}

  void Read() {
    bool retract_first = file_.jig.use_jig != 0;
    for (const zu::Block& block : record_.blocks) {
      if (!path_.refusal.empty())
        return;
      switch (block.type) {
        case BlockType::Line:
          if (axes_ && block.end_vector) {
            const Vec axis = V(*block.end_vector);
            moves_.Line(V(block.end), Feed(feed_code_), &axis);
          } else {
            moves_.Line(V(block.end), Feed(feed_code_));
          }
          typed_by_next_ = {path_.steps.size() - 1};
          if (retract_first) {
            retract_first = false;
            HomeAfterRetract();
          }
          break;
        case BlockType::Arc:
          moves_.Arc(V(block.end), V(block.centre), V(block.normal), Feed(feed_code_));
          typed_by_next_ = {path_.steps.size() - 1};
          break;
        case BlockType::FeedType:
          FeedType(block.code);
          break;
        case BlockType::Compensation:
          Compensation(block.code);
          break;
        case BlockType::Dwell:
          Dwell();
          break;
      }
    }
    internal::SetKindsByFeed(path_);
  }

 private:
  double Feed(int code) {
    const double feed = FeedOfCode(record_.mill_keys->feed, code);
    if (feed == 0 && path_.refusal.empty())
      path_.refusal = "feed type " + std::to_string(code) + " has a feed of 0";
    return feed;
  }

  // With the fixture used, the file's first block is the retract above the
  // path's start and its moves start at the home point: the move from one
  // to the other is not in the file. It takes the retract's feed type.
  void HomeAfterRetract() {
    const Step retract = path_.steps.back();
    if (!path_.home || *path_.home == retract.end)
      return;
    moves_.Line(*path_.home, retract.feed);
    // Mapped already: put the home point back as it is.
    path_.steps.back().end = *path_.home;
    typed_by_next_.push_back(path_.steps.size() - 1);
  }

  void FeedType(int code) {
    if (code < 1 || code > 9) {
      path_.refusal = "feed type " + std::to_string(code) + " is not 1 to 9";
      return;
    }
    feed_code_ = code;
    for (std::size_t k : typed_by_next_)
      path_.steps[k].feed = Feed(code);
    typed_by_next_.clear();
  }

  void Compensation(int code) {
    if (code < 0 || code > 2) {
      path_.refusal = "compensation flag " + std::to_string(code) + " is not 0, 1 or 2";
      return;
    }
    const Side side = code == 0 ? Side::kOff : code == 1 ? Side::kLeft : Side::kRight;
    moves_.SetSide(side);
    if (Step* last = moves_.LastMove())
      last->compensation = side;
  }

  void Dwell() {
    const std::optional<std::string>& text = record_.mill_keys->dwell_text;
    double seconds = 0;
    if (!text || !internal::DwellSeconds(*text, seconds)) {
      path_.refusal = text ? "its dwell text \"" + *text + "\" gives no dwell time"
                           : "it dwells but has no dwell text";
      return;
    }
    moves_.Dwell(seconds);
  }

  const ToolLocationFile& file_;
  const ToolLocationPath& record_;
  Path& path_;
  MoveList moves_;
  int& feed_code_;
  bool axes_;  // lines take the tool axes the file gives
  // The moves the next feed-type block gives its type to.
  std::vector<std::size_t> typed_by_next_;
};

}  // namespace

Program FromToolLocationFile(const ToolLocationFile& file, const ModelOptions& options) {
  Program program;
  for (const ToolEntry& entry : file.tools)
    program.tools.push_back({entry.integer1, entry.name, entry.dimension1, entry.dimension3});
  // The file writes a feed type only where it changes, across paths too.
  int feed_code = 1;
  for (const ToolLocationPath& record : file.paths) {
    Path path;
    path.name = record.start.name;
    bool tool_found = false;
    for (std::size_t k = 0; k < file.tools.size(); ++k) {
      if (file.tools[k].index == record.start.tool_index) {
        path.tool = static_cast<int>(k);
        tool_found = true;
        break;
      }
    }
    if (!tool_found)
      path.refusal =
          "its tool " + std::to_string(record.start.tool_index) + " is not in the tool list";
    else if (!record.placement)
      path.refusal = options.rotary_axes ? "it is a five-axis path without moves"
                                         : "it is a five-axis path: its code needs rotary axes";
    if (!path.refusal.empty()) {
      program.paths.push_back(std::move(path));
      continue;
    }
    const PathPlacement& placement = *record.placement;
    const FrameMap map(V(placement.frame.origin), V(placement.frame.x_axis),
                       V(placement.frame.y_axis), V(placement.frame.z_axis));
    path.refusal = map.refusal();
    if (options.rotary_axes && map.tilted()) {
      path.refusal.clear();
      path.tilted = map.frame();
    }
    path.home = map.Point(V(placement.home));
    if (path.refusal.empty() && record.mill_keys) {
      const MillKeys& keys = *record.mill_keys;
      // A five-axis record whose tool axis stays the machine's Z
      // (orientation milling in a system turned only about Z) is
      // three-axis motion.
      if (keys.path_type == kPathTypeFiveAxis && !options.rotary_axes) {
        for (const zu::Block& block : record.blocks) {
          if (block.type == BlockType::Line && block.end_vector) {
            path.refusal = internal::ToolAxisRefusal(map, V(*block.end_vector));
            if (!path.refusal.empty())
              break;
          }
        }
      }
      if (path.refusal.empty()) {
        path.spindle = keys.speed;
        path.safe_height = internal::SafeHeight(map, path, keys.safe_height);
        MillReader(file, record, map, path, feed_code, options.rotary_axes).Read();
      }
    } else if (path.refusal.empty() && path.tilted) {
      path.refusal = "its holes lie in a tilted coordinate system, where drilling is not written";
    } else if (path.refusal.empty()) {
      if (!record.drill_keys) {
        if (record.holes && !record.holes->empty())
          path.refusal = "its holes have no drilling parameters";
      } else {
        const DrillKeys& keys = *record.drill_keys;
        path.spindle = keys.speed;
        std::vector<Vec> points;
        for (const zu::Vec3& hole : record.holes.value_or(std::vector<zu::Vec3>{}))
          points.push_back(map.Point(V(hole)));
        internal::SetDrilling({keys.drill_mode, keys.drill_feed, keys.clearance, keys.safe_distance,
                               keys.hole_depth, keys.peck_depth, keys.dwell_time},
                              points, path);
        if (!points.empty())
          path.safe_height = path.holes.front().initial;
      }
    }
    program.paths.push_back(std::move(path));
  }
  return program;
}

}  // namespace zu::cut
