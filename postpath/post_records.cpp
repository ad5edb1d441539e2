#include "postpath/post_records.h"

#include <algorithm>

#include "host/math.h"
#include "host/path_geom_io.h"
#include "pathinput/row_operations.h"
#include "pathinput/working_copy.h"

namespace zu {
namespace {

// Name, spindle speed, home point, work system, stock box and tool.
void FillCommon(CPostPathPara& record, const OrvoPath& path, double spindle_speed) {
  record.path_name = path.GetPathNameInTree();
  record.spindle_speed = spindle_speed;
  record.home_point = StartPoint(path);
  record.origin = path.wcs.origin;
  record.x_axis = path.wcs.x_axis;
  record.y_axis = path.wcs.y_axis;
  record.z_axis = path.wcs.z_axis;
  const CRoughBlock& stock = g_roughblock;
  record.stock_min = stock.corner;
  record.stock_max = {stock.corner.x + stock.size.x, stock.corner.y + stock.size.y,
                      stock.corner.z + stock.size.z};
  record.tool = ToolRecordOf(path);
}

}  // namespace

CPostTool ToolRecordOf(const OrvoPath& path) {
  const tool& t = path.Tool;
  CPostTool record;
  record.name = t.name;
  record.second_name = t.name;
  record.first_integer = t.int1;
  record.second_integer = t.int2;
  record.third_integer = t.int2;
  const double values[7] = {t.dims[0], t.dims[5], t.dims[2], 0.0, t.dims[1], t.dims[4], t.dims[6]};
  std::copy(values, values + 7, record.values);
  return record;
}

void FillFeedList(const OrvoPath& path, double (&feeds)[10]) {
  const OrvoMillFeedRate& f = path.feed;
  const double list[10] = {f.feed_a, -1,       -1,       f.feed_d, f.feed_b,
                           f.feed_a, f.feed_b, f.feed_b, f.feed_c, -1};
  std::copy(list, list + 10, feeds);
}

CPostPathMill3DPara MillRecordOf(OrvoPath& path) {
  CPostPathMill3DPara record;
  FillCommon(record, path, path.feed.spindle_speed);
  record.path_type = PATHTYPE_MILL;
  record.safe_height = path.safe_height;
  record.approach_height = path.approach_height;
  if (path.PathKind == 90) {
    if (const auto* macro = dynamic_cast<const OrvoPath_MacroMachining*>(path.GetSubPara())) {
      for (const auto& [key, parameter] : macro->parameters)
        record.macro_pairs.emplace_back(key, parameter.text3);
    }
  }
  if (const Text* dwell = DwellText(path))
    record.dwell_text = *dwell;
  FillFeedList(path, record.feeds);
  return record;
}

bool DrillRecordOf(OrvoPath& path, CPostPathDrill3DPara& record) {
  const auto* drill = dynamic_cast<const DrillSubPara*>(path.GetSubPara());
  if (!drill)
    return false;
  FillCommon(record, path, drill->spindle_speed);
  record.path_type = PATHTYPE_DRILL;
  record.drill_mode = drill->drill_mode;
  const double values[7] = {static_cast<double>(drill->drill_feed),
                            drill->clearance,
                            drill->safe_distance,
                            drill->hole_depth,
                            drill->peck_depth,
                            drill->dwell_time,
                            drill->work_surface};
  std::copy(values, values + 7, record.drill_values);
  for (int i = 0; i < 20; ++i)
    record.user[i] = drill->user[i];
  XYZ* holes = nullptr;
  int count = 0;
  CPathGeomIO io;
  io.GetDrillPoints(path.geometry, holes, count);
  for (int i = 0; i < count; ++i) {
    XYZ hole = holes[i];
    PointTransformInPlace(hole, path.wcs.matrix);
    // Every hole lies at the height of the work system's origin.
    hole.z = path.wcs.origin.z;
    record.holes.push_back(hole);
  }
  CPathGeomIO::FreePoints(holes);
  return true;
}

bool AxisBlockWriter::Write(const XYZ& point, const XYZ& axis, int feed_type, int mark) {
  if (!filter_.Passes(point, axis))
    return false;
  CPostPathBlock block;
  block.kind = 1;
  block.feed_type = feed_type;
  block.position_mark = mark;
  block.has_vector = true;
  block.end_point = point;
  block.vector = axis;
  writer_.WriteBlock(&block);
  return true;
}

}  // namespace zu
