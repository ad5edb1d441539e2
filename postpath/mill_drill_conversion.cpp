// Two- and three-axis milling and drilling paths as brackets of the
// post-path writer.
#include "conditioning/fixture_mapping.h"
#include "host/services.h"
#include "pathinput/move_progress.h"
#include "pathinput/row_operations.h"
#include "pathinput/working_copy.h"
#include "postpath/conversions.h"

namespace zu {

int ConvertMillOrDrillPath(CPostPathWrite& writer, OrvoPath& path, int path_index,
                           const MainRoadOptions& options) {
  if (path.PathKind == kDrillingPath) {
    CPostPathDrill3DPara record;
    if (!DrillRecordOf(path, record))
      return 0;
    writer.StartToolPath(PATHTYPE_DRILL, &record);
    writer.EndToolPath();
    return 1;
  }

  CPostPathMill3DPara record = MillRecordOf(path);
  ncworkcoordinate fixture;
  HostGetCurrentCoordSys(fixture);
  const FixtureMapping mapping(path.wcs.matrix, fixture.matrix);
  auto retract = [&](const XYZ& p) {
    return mapping.RetractPoint(p, options.jig_tool_axis, options.jig_tool_up_height);
  };
  // Where the path starts: of an arc its start point, not its centre.
  const XYZ start = StartPoint(path);
  const bool fixture_mode = options.use_jig_coord != 0;
  if (fixture_mode) {
    record.home_point = retract(start);
    record.has_tool_axis = true;
    record.tool_axis = path.wcs.z_axis;
  }
  writer.StartToolPath(PATHTYPE_MILL, &record);

  const int side = CompensationSide(path);
  int skip = CompensationSkipCount(path);
  bool armed = false;
  SourceCurveCache curves;
  // One block for the whole path: what a move does not set, it keeps.
  CPostPathBlock block;
  XYZ last_end = start;
  if (fixture_mode) {
    block.kind = 1;
    block.dwell = -1;
    block.feed_type = BlockFeedType(FirstMove(path));
    block.end_point = retract(start);
    writer.WriteBlock(&block);
  }
  block.kind = 1;
  block.dwell = -1;
  block.end_point = start;
  writer.WriteBlock(&block);

  MoveProgress progress(path_index, fixture_mode ? 1 : 0);
  for (const tool_row* row = path.rows; row; row = row->next) {
    for (const tool_block* move = row->first; move; move = move->next) {
      progress.Next();
      block.dwell = -1;
      bool dwell_before = false;
      if (path.PathKind == 63 && DwellBeforeBlock(move, curves, path)) {
        block.dwell = 0;
        dwell_before = true;
      }
      if (move->kind == kMoveLine && move->geometry) {
        block.kind = 1;
        block.has_vector = false;
        block.end_point = move->line()[1].point;
        last_end = block.end_point;
        if (move->c == kCompensationStart && side >= 0) {
          if (skip < 2) {
            block.compensation = side + 1;
            armed = true;
          } else {
            --skip;
          }
        } else if (move->c == kCompensationEnd && side >= 0 && armed) {
          block.compensation = 0;
          armed = false;
        }
      } else if (move->kind == kMoveArc && move->geometry) {
        const nc_arc& arc = *move->arc();
        block.kind = 2;
        block.has_vector = true;
        block.end_point = arc.end;
        block.centre = arc.centre;
        block.vector = ArcNormal(arc);
        last_end = arc.end;
      }
      block.feed_type = BlockFeedType(move);
      if (path.PathKind == 65 && DwellAfterKind65Move(path, *move))
        block.dwell = 1;
      if (path.PathKind == 63 && DwellAfterBlock(move, curves, path))
        block.dwell = dwell_before ? 2 : 1;
      writer.WriteBlock(&block);
    }
    // A macro path's further rows are not written.
    if (path.PathKind == 90)
      break;
  }
  if (fixture_mode) {
    block.kind = 1;
    block.has_vector = false;
    block.dwell = -1;
    block.end_point = retract(last_end);
    writer.WriteBlock(&block);
  }
  writer.EndToolPath();
  return 1;
}

}  // namespace zu
