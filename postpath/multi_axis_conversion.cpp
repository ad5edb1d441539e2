// Multi-axis paths (classes 2302 and 2303) as brackets of point-and-axis
// blocks: record by record, or with the moves between cutting runs rebuilt
// as retract, approach and plunge moves along the tool axis.
#include <memory>

#include "pathinput/five_axis_copy.h"
#include "pathinput/row_operations.h"
#include "postpath/conversions.h"

namespace zu {
namespace {

constexpr int kClassMultiAxis = 2302;
constexpr int kClassFiveAxis = 2303;
// Point flags that steer the record-by-record conversion.
constexpr std::uint8_t kFlagPlunge = 2;
constexpr std::uint8_t kFlagRetract = 3;
constexpr std::uint8_t kFlagMarkRetract = 4;
constexpr std::uint8_t kFlagMarkApproach = 5;

// Feed types of the linked conversion.
constexpr int kToApproachPoint = 2;
constexpr int kPlunge = 3;
constexpr int kCutting = 5;
constexpr int kRetractAfterRun = 8;
constexpr int kFinalRetract = 9;

XYZ Plus(const XYZ& p, double d, const XYZ& v) {
  return {p.x + d * v.x, p.y + d * v.y, p.z + d * v.z};
}

bool HasRecordFlags(const nc_row_5* rows) {
  for (const nc_row_5* row = rows; row; row = row->next) {
    for (int i = 0; i <= row->last; ++i) {
      if (row->points[i].flag == kFlagPlunge || row->points[i].flag == kFlagRetract)
        return true;
    }
  }
  return false;
}

const nc_row_5* FirstRowWithPoints(const nc_row_5* rows) {
  while (rows && rows->last < 0)
    rows = rows->next;
  return rows;
}

int RecordByRecord(AxisBlockWriter& blocks, const OrvoPath& copy, CPostPathMill3DPara& record,
                   PATHTYPE type) {
  // The home record is the first row's first point, or its second when the
  // first only marks the next point. Rows without points are passed over.
  const nc_row_5* first = FirstRowWithPoints(copy.rows5);
  if (copy.MultiAxisKind != kFiveAxis || !first)
    return 0;
  const nc_point5& home =
      first->points[first->points[0].flag == kFlagMarkApproach && first->last >= 1 ? 1 : 0];
  record.home_point = {home.point.x, home.point.y, copy.five_safe_height};
  record.has_tool_axis = true;
  record.tool_axis = home.axis;
  blocks.writer().StartToolPath(type, &record);
  blocks.Reset();
  int feed_type = kCutting;
  bool mark_retract = false;
  bool mark_approach = false;
  for (const nc_row_5* row = copy.rows5; row; row = row->next) {
    for (int i = 0; i <= row->last; ++i) {
      const nc_point5& p = row->points[i];
      switch (p.flag) {
        case kPointStretchEnd:
          feed_type = kFeedTypeRapid;
          break;
        case kFlagPlunge:
          feed_type = kPlunge;
          break;
        case kFlagRetract:
          feed_type = kRetractAfterRun;
          break;
        case kFlagMarkRetract:
          mark_retract = true;
          continue;
        case kFlagMarkApproach:
          mark_approach = true;
          continue;
        default:
          feed_type = kCutting;
          break;
      }
      // A retract mark wins over an approach mark.
      const int mark = mark_retract ? kMarkRetract : (mark_approach ? kMarkApproach : kMarkNone);
      mark_retract = mark_approach = false;
      blocks.Write(p.point, p.axis, feed_type, mark);
    }
  }
  blocks.writer().EndToolPath();
  return 1;
}

int Linked(AxisBlockWriter& blocks, const OrvoPath& copy, CPostPathMill3DPara& record,
           PATHTYPE type) {
  const double distance = copy.five_approach_distance;
  // The first path point of all rows.
  const nc_row_5* row = copy.rows5;
  int start = -1;
  for (; row; row = row->next) {
    for (int i = 0; i <= row->last && start < 0; ++i) {
      if (row->points[i].flag != kPointSkipped)
        start = i;
    }
    if (start >= 0)
      break;
  }
  if (!row)
    return 0;  // no point to move to: no bracket
  const nc_point5& p0 = row->points[start];
  int state = p0.flag == kPointStretchEnd ? -1 : 0;
  const XYZ approach = Plus(p0.point, distance, p0.axis);
  record.home_point = {approach.x, approach.y, copy.five_safe_height};
  record.has_tool_axis = true;
  record.tool_axis = p0.axis;
  blocks.writer().StartToolPath(type, &record);
  blocks.Reset();
  blocks.Write(approach, p0.axis, kToApproachPoint, kMarkApproach);
  blocks.Write(p0.point, p0.axis, kPlunge, kMarkNone);

  // Where the tool is, and its axis.
  XYZ tool = p0.point;
  XYZ axis = p0.axis;
  auto cut = [&](const nc_point5& p) {
    blocks.Write(p.point, p.axis, kCutting, kMarkNone);
    tool = p.point;
    axis = p.axis;
  };
  XYZ run_end;
  int s = start;
  for (bool first_row = true; row; row = row->next, first_row = false) {
    const nc_point5* points = row->points;
    const int last = row->last;
    if (!first_row) {
      s = 0;
      while (s <= last && points[s].flag == kPointSkipped)
        ++s;
      if (s > last)
        continue;
      if (s == 0 && points[0].flag == kPointInner) {
        blocks.Write(points[0].point, points[0].axis, kPlunge, kMarkNone);
        tool = points[0].point;
        axis = points[0].axis;
      }
    }
    bool linked = false;
    for (int g = s; g <= last; ++g) {
      if (points[g].flag != kPointStretchEnd)
        continue;
      if (state == -1) {
        state = 0;  // the path starts on this point
        continue;
      }
      linked = true;
      if (state == 0) {
        for (int k = s; k <= g; ++k)
          cut(points[k]);
        run_end = points[g].point;
        state = 1;
      } else {
        const nc_point5& next = points[g];
        blocks.Write(run_end, axis, kCutting, kMarkNone);
        blocks.Write(Plus(run_end, distance, axis), axis, kRetractAfterRun, kMarkRetract);
        blocks.Write(Plus(next.point, distance, next.axis), next.axis, kToApproachPoint,
                     kMarkApproach);
        blocks.Write(next.point, next.axis, kPlunge, kMarkNone);
        tool = next.point;
        axis = next.axis;
        s = g;
        state = 0;
      }
    }
    // A run still open at the row's end goes on to its last point: those
    // points are cut, not left out.
    if (!linked || state == 0) {
      for (int k = s; k <= last; ++k)
        cut(points[k]);
      s = 0;
    }
  }
  // The path ends where the tool is.
  blocks.Write(tool, axis, kCutting, kMarkNone);
  blocks.Write(Plus(tool, distance, axis), axis, kFinalRetract, kMarkNone);
  blocks.writer().EndToolPath();
  return 1;
}

}  // namespace

int ConvertMultiAxisPath(AxisBlockWriter& blocks, const OrvoPath& path, int /*path_index*/) {
  if (path.PathClassCode != kClassMultiAxis && path.PathClassCode != kClassFiveAxis)
    return 0;
  const std::unique_ptr<OrvoPath> copy = MakeFiveAxisWorkingCopy(path);
  CPostPathMill3DPara record;
  record.path_name = copy->GetPathNameInTree();
  record.path_type = path.PathClassCode == kClassMultiAxis ? PATHTYPE_MULTIAXIS : PATHTYPE_FIVEAXIS;
  record.spindle_speed = copy->feed.spindle_speed;
  record.safe_height = copy->five_link_height;
  record.approach_height = copy->five_approach_distance;
  record.origin = copy->wcs.origin;
  record.x_axis = copy->wcs.x_axis;
  record.y_axis = copy->wcs.y_axis;
  record.z_axis = copy->wcs.z_axis;
  const CRoughBlock& stock = g_roughblock;
  record.stock_min = stock.corner;
  record.stock_max = {stock.corner.x + stock.size.x, stock.corner.y + stock.size.y,
                      stock.corner.z + stock.size.z};
  record.tool = ToolRecordOf(path);
  FillFeedList(path, record.feeds);
  const auto type = static_cast<PATHTYPE>(record.path_type);
  return HasRecordFlags(copy->rows5) ? RecordByRecord(blocks, *copy, record, type)
                                     : Linked(blocks, *copy, record, type);
}

}  // namespace zu
