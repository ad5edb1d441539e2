#include "cutmodel/from_post_path.h"

#include "cutmodel/internal/drilling.h"
#include "cutmodel/internal/frame_map.h"
#include "cutmodel/internal/move_list.h"

namespace zu::cut {

namespace {

using internal::FrameMap;
using internal::MoveList;

Vec V(const ppf::Vec3& v) {
  return {v.x, v.y, v.z};
}

int ToolOf(const ppf::Tool& tool, Program& program) {
  for (std::size_t k = 0; k < program.tools.size(); ++k) {
    if (program.tools[k].number == tool.first_integer && program.tools[k].name == tool.name)
      return static_cast<int>(k);
  }
  program.tools.push_back({tool.first_integer, tool.name, tool.values[ppf::kToolDiameter],
                           tool.values[ppf::kToolCornerRadius]});
  return static_cast<int>(program.tools.size() - 1);
}

void ReadMill(const ppf::PostPath& bracket, const ppf::MillRecord& record, const FrameMap& map,
              Path& path, bool axes) {
  MoveList moves(map, path);
  double dwell = -1;
  const auto dwell_step = [&] {
    if (dwell < 0 && !internal::DwellSeconds(record.dwell_text, dwell)) {
      path.refusal = record.dwell_text.empty()
                         ? "it dwells but has no dwell text"
                         : "its dwell text \"" + record.dwell_text + "\" gives no dwell time";
      return false;
    }
    moves.Dwell(dwell);
    return true;
  };
  for (const ppf::Block& block : bracket.blocks) {
    if (block.feed_type < 0 || block.feed_type > 9) {
      path.refusal = "feed type " + std::to_string(block.feed_type) + " is not 0 to 9";
      return;
    }
    const double feed = record.feeds[static_cast<std::size_t>(block.feed_type)];
    if (feed == 0) {
      path.refusal = "feed type " + std::to_string(block.feed_type) + " has a feed of 0";
      return;
    }
    if (block.compensation < 0 || block.compensation > 2) {
      path.refusal = "compensation " + std::to_string(block.compensation) + " is not 0, 1 or 2";
      return;
    }
    moves.SetSide(block.compensation == ppf::kCompensationOff    ? Side::kOff
                  : block.compensation == ppf::kCompensationLeft ? Side::kLeft
                                                                 : Side::kRight);
    const bool before = block.dwell == ppf::kDwellBefore || block.dwell == ppf::kDwellBoth;
    const bool after = block.dwell == ppf::kDwellAfter || block.dwell == ppf::kDwellBoth;
    if (before && !dwell_step())
      return;
    if (block.kind == ppf::kBlockArc) {
      if (!moves.Arc(V(block.end), V(block.centre), V(block.vector), feed))
        return;
    } else if (axes && block.has_vector) {
      const Vec axis = V(block.vector);
      moves.Line(V(block.end), feed, &axis);
    } else {
      moves.Line(V(block.end), feed);
    }
    if (after && !dwell_step())
      return;
  }
  internal::SetKindsByFeed(path);
}

}  // namespace

Program FromPostPathFile(const ppf::PostPathFile& file, const ModelOptions& options) {
  Program program;
  for (const ppf::PostPath& bracket : file.paths) {
    const ppf::PathHead& head = bracket.head;
    Path path;
    path.name = head.name;
    path.tool = ToolOf(head.tool, program);
    path.spindle = head.spindle_speed;
    const FrameMap map(V(head.origin), V(head.x_axis), V(head.y_axis), V(head.z_axis));
    path.refusal = map.refusal();
    if (options.rotary_axes && map.tilted()) {
      path.refusal.clear();
      path.tilted = map.frame();
    }
    path.home = map.Point(V(head.home));
    // A multi-axis or five-axis bracket whose tool axis stays the machine's
    // Z (orientation milling in a system turned only about Z) is three-axis
    // motion.
    if (path.refusal.empty() && !options.rotary_axes &&
        (head.type == ppf::kPathMultiAxis || head.type == ppf::kPathFiveAxis)) {
      if (head.tool_axis)
        path.refusal = internal::ToolAxisRefusal(map, V(*head.tool_axis));
      for (const ppf::Block& block : bracket.blocks) {
        if (!path.refusal.empty())
          break;
        if (block.kind == ppf::kBlockLine && block.has_vector)
          path.refusal = internal::ToolAxisRefusal(map, V(block.vector));
      }
    }
    if (path.refusal.empty()) {
      if (const auto* mill = std::get_if<ppf::MillRecord>(&bracket.record)) {
        const double height =
            file.process.use_jig_retract ? file.process.jig_retract_height : mill->safe_height;
        path.safe_height = internal::SafeHeight(map, path, height);
        ReadMill(bracket, *mill, map, path, options.rotary_axes);
      } else if (path.tilted) {
        path.refusal = "its holes lie in a tilted coordinate system, where drilling is not written";
      } else {
        const auto& drill = std::get<ppf::DrillRecord>(bracket.record);
        std::vector<Vec> points;
        for (const ppf::Vec3& hole : bracket.holes)
          points.push_back(map.Point(V(hole)));
        internal::SetDrilling(
            {drill.drill_mode, drill.values[ppf::kDrillFeed], drill.values[ppf::kDrillClearance],
             drill.values[ppf::kDrillSafeDistance], drill.values[ppf::kDrillHoleDepth],
             drill.values[ppf::kDrillPeckDepth], drill.values[ppf::kDrillDwellTime]},
            points, path);
        if (!path.holes.empty())
          path.safe_height = path.holes.front().initial;
      }
    }
    program.paths.push_back(std::move(path));
  }
  return program;
}

}  // namespace zu::cut
