// Drilling and milling path records of the text road.
#include "conditioning/fixture_mapping.h"
#include "host/math.h"
#include "host/path_geom_io.h"
#include "host/row_ops.h"
#include "pathinput/move_progress.h"
#include "pathinput/row_operations.h"
#include "pathinput/working_copy.h"
#include "toolloc/path_records.h"
#include "toolloc/record_parts.h"

namespace zu {
namespace {

void WriteStart(ToolLocationRecords& out, const OrvoPath& path, TextRoadState& state) {
  out.PathStart({path.GetPathNameInTree(), state.tool_index++});
}

Block LineBlock(const XYZ& end) {
  Block block;
  block.type = BlockType::Line;
  block.end = ToVec3(end);
  return block;
}

Block CodeBlock(BlockType type, int code) {
  Block block;
  block.type = type;
  block.code = code;
  return block;
}

}  // namespace

void WriteDrillPath(ToolLocationRecords& out, OrvoPath& copy, TextRoadState& state) {
  WriteStart(out, copy, state);
  out.PathPlacement(PlacementOf(copy, StartPoint(copy)));
  if (const auto* record = dynamic_cast<const DrillSubPara*>(copy.GetSubPara())) {
    zu::DrillKeys keys;
    keys.speed = record->spindle_speed;
    keys.drill_mode = record->drill_mode;
    keys.drill_feed = record->drill_feed;
    keys.clearance = record->clearance;
    keys.safe_distance = record->safe_distance;
    keys.hole_depth = record->hole_depth;
    keys.peck_depth = record->peck_depth;
    keys.dwell_time = record->dwell_time;
    keys.work_surface = record->work_surface;
    for (int i = 0; i < 20; ++i)
      keys.user[i] = record->user[i].str();
    out.DrillKeys(keys);
  }
  XYZ* holes = nullptr;
  int count = 0;
  CPathGeomIO io;
  io.GetDrillPoints(copy.geometry, holes, count);
  out.Holes(count);
  for (int i = 0; i < count; ++i) {
    XYZ hole = holes[i];
    PointTransformInPlace(hole, copy.wcs.matrix);
    // Every hole lies at the height of the work system's origin.
    hole.z = copy.wcs.origin.z;
    out.Hole(ToVec3(hole));
  }
  CPathGeomIO::FreePoints(holes);
  out.EndSection();
}

void WriteMillPath(ToolLocationRecords& out, OrvoPath& copy, TextRoadState& state,
                   const ncworkcoordinate& fixture, const TextRoadOptions& options) {
  WriteStart(out, copy, state);
  out.PathPlacement(PlacementOf(copy, StartPoint(copy)));
  zu::MillKeys keys;
  keys.path_type = kPathTypeMill;
  keys.safe_height = copy.safe_height;
  keys.safe_height_mode = copy.safe_height_mode;
  keys.approach_height = copy.approach_height;
  keys.approach_height_mode = copy.approach_height_mode;
  keys.speed = copy.feed.spindle_speed;
  keys.feed = FeedLineOf(copy);
  if (const Text* dwell = DwellText(copy))
    keys.dwell_text = dwell->str();
  out.MillKeys(keys);

  const int side = CompensationSide(copy);
  int skip = CompensationSkipCount(copy);
  bool armed = false;
  const FixtureMapping mapping(copy.wcs.matrix, fixture.matrix);
  auto retract = [&](const XYZ& p) {
    return mapping.RetractPoint(p, options.jig_tool_axis, options.jig_tool_up_height);
  };
  XYZ last_end;
  if (options.use_jig_coord) {
    // The retract above where the path starts; the path's first move may be
    // an arc, whose first geometry point is its centre, not its start.
    last_end = retract(StartPoint(copy));
    out.Block(LineBlock(last_end));
    if (const tool_block* first = FirstMove(copy))
      out.Block(CodeBlock(BlockType::FeedType, BlockFeedType(first)));
  }

  MoveProgress progress(++state.mill_paths);
  SourceCurveCache curves;
  for (const tool_row* row = copy.rows; row; row = row->next) {
    for (const tool_block* move = row->first; move; move = move->next) {
      progress.Next();
      bool dwell_before = false;
      if (copy.PathKind == 63 && DwellBeforeBlock(move, curves, copy)) {
        out.Block(CodeBlock(BlockType::Dwell, 0));
        dwell_before = true;
      }
      if (move->kind == kMoveLine && move->geometry) {
        last_end = move->line()[1].point;
        out.Block(LineBlock(last_end));
        if (move->c == kCompensationStart && side >= 0) {
          if (skip > 1) {
            --skip;
          } else {
            out.Block(CodeBlock(BlockType::Compensation, side + 1));
            armed = true;
          }
        } else if (move->c == kCompensationEnd && side >= 0 && armed) {
          out.Block(CodeBlock(BlockType::Compensation, 0));
          armed = false;
        }
      } else if (move->kind == kMoveArc && move->geometry) {
        const nc_arc& arc = *move->arc();
        Block block;
        block.type = BlockType::Arc;
        block.end = ToVec3(arc.end);
        block.centre = ToVec3(arc.centre);
        block.normal = ToVec3(ArcNormal(arc));
        out.Block(block);
        last_end = arc.end;
      }
      if (const int feed = BlockFeedType(move); feed != state.last_feed_type) {
        out.Block(CodeBlock(BlockType::FeedType, feed));
        state.last_feed_type = feed;
      }
      if (copy.PathKind == 65 && DwellAfterKind65Move(copy, *move))
        out.Block(CodeBlock(BlockType::Dwell, 1));
      if (copy.PathKind == 63 && DwellAfterBlock(move, curves, copy))
        out.Block(CodeBlock(BlockType::Dwell, dwell_before ? 2 : 1));
    }
  }
  if (options.use_jig_coord)
    out.Block(LineBlock(retract(last_end)));
}

}  // namespace zu
