// Five-axis orientation milling: a two- or three-axis path written in the
// fixture system, every point with the path's Z direction as its tool axis
// and arcs as chord points.
#include "conditioning/arc_chords.h"
#include "conditioning/fixture_mapping.h"
#include "host/math.h"
#include "host/services.h"
#include "pathinput/move_progress.h"
#include "pathinput/row_operations.h"
#include "pathinput/working_copy.h"
#include "postpath/conversions.h"

namespace zu {
namespace {

// The approach height of an orientation bracket: a third of the retract
// height.
constexpr double kApproachShare = 0.3333333333333333;

}  // namespace

int ConvertToFiveAxisOrientation(AxisBlockWriter& blocks, OrvoPath& path, int path_index,
                                 const MainRoadOptions& options) {
  if (path.PathKind == kDrillingPath) {
    if (options.show_message)
      options.show_message("定向加工中不支持固定循环的输出。");
    ConvertMillOrDrillPath(blocks.writer(), path, path_index, options);
    return 0;
  }
  ncworkcoordinate fixture;
  HostGetCurrentCoordSys(fixture);
  const FixtureMapping mapping(path.wcs.matrix, fixture.matrix);

  CPostPathMill3DPara record = MillRecordOf(path);
  record.path_type = PATHTYPE_FIVEAXIS;
  record.safe_height = options.jig_tool_up_height;
  record.approach_height = options.jig_tool_up_height * kApproachShare;
  record.origin = fixture.origin;
  record.x_axis = fixture.x_axis;
  record.y_axis = fixture.y_axis;
  record.z_axis = fixture.z_axis;
  // Where the path starts (of an arc its start, not its centre), in the
  // fixture system; the tool axis is the path's Z direction there.
  const XYZ start = mapping.ToFixture(StartPoint(path));
  record.home_point = start;
  XYZ axis{0, 0, 1};
  UnitDirection(mapping.ToFixture({0, 0, 0}), mapping.ToFixture({0, 0, 10}), axis);
  record.has_tool_axis = true;
  record.tool_axis = axis;
  blocks.writer().StartToolPath(PATHTYPE_FIVEAXIS, &record);

  blocks.Write(start, axis, kFeedTypeRapid, kMarkApproach);
  XYZ current = StartPoint(path);
  int feed_type = kFeedTypeRapid;
  MoveProgress progress(path_index);
  for (const tool_row* row = path.rows; row; row = row->next) {
    for (const tool_block* move = row->first; move; move = move->next) {
      progress.Next();
      feed_type = BlockFeedType(move);
      if (move->kind == kMoveLine && move->geometry) {
        current = move->line()[1].point;
        blocks.Write(mapping.ToFixture(current), axis, feed_type, kMarkNone);
      } else if (move->kind == kMoveArc && move->geometry) {
        for (const XYZ& point : ArcChordPoints(*move->arc(), options.jig_tolerance))
          blocks.Write(mapping.ToFixture(point), axis, feed_type, kMarkNone);
        current = move->arc()->end;
      }
    }
  }
  blocks.Write(mapping.ToFixture(current), axis, feed_type, kMarkRetract);
  blocks.writer().EndToolPath();
  return 1;
}

}  // namespace zu
