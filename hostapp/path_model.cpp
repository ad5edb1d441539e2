#include "host/path_model.h"

#include "host/math.h"
#include "host/row_ops.h"

CRoughBlock g_roughblock;

OrvoPathSubPara::~OrvoPathSubPara() = default;
OrvoPath_DRILL::~OrvoPath_DRILL() = default;

OrvoPath::~OrvoPath() {
  NcFreeToolRows(rows);
  NcFreeRows5(rows5);
  delete geometry;
}

OrvoPathSubPara* OrvoPath::GetSubPara() {
  return sub_para.get();
}

void OrvoPath::UpdatePath() {
  long count = 0;
  for (const tool_row* row = rows; row; row = row->next) {
    for (const tool_block* move = row->first; move; move = move->next)
      ++count;
  }
  for (const nc_row_5* row = rows5; row; row = row->next)
    count += row->last + 1;
  move_count_ = count;
}

void OrvoPath::CopyInto(OrvoPath& copy) const {
  copy.wcs = wcs;
  copy.MultiAxisKind = MultiAxisKind;
  copy.PathKind = PathKind;
  copy.PathClassCode = PathClassCode;
  copy.Tool = Tool;
  copy.geometry = geometry ? new Node(*geometry) : nullptr;
  copy.rows = NcCopyToolRows(rows);
  copy.rows_extra = rows_extra;
  copy.feed = feed;
  copy.safe_height = safe_height;
  copy.safe_height_mode = safe_height_mode;
  copy.approach_height = approach_height;
  copy.approach_height_mode = approach_height_mode;
  copy.five_safe_height = five_safe_height;
  copy.five_link_height = five_link_height;
  copy.five_approach_distance = five_approach_distance;
  copy.rows5 = NcCopyRows5(rows5);
  copy.name = name;
  copy.sub_para = sub_para ? sub_para->Clone() : nullptr;
  copy.move_count_ = move_count_;
}

OrvoPath* OrvoPath2d::ClonePath() const {
  auto* copy = new OrvoPath2d;
  CopyInto(*copy);
  return copy;
}

OrvoPath* OrvoPath3d::ClonePath() const {
  auto* copy = new OrvoPath3d;
  CopyInto(*copy);
  return copy;
}

OrvoPath* OrvoDrillPath::ClonePath() const {
  auto* copy = new OrvoDrillPath;
  CopyInto(*copy);
  copy->drill = drill;
  copy->has_drill_record = has_drill_record;
  return copy;
}

OrvoPath* OrvoPath5Axis::ClonePath() const {
  auto* copy = new OrvoPath5Axis;
  CopyInto(*copy);
  return copy;
}

void OrvoPath2d::RowNCwctoSYSwc(tool_row* first) {
  TRANSF to_system;
  if (MatInverse(wcs.matrix, to_system))
    NcTransformRows(first, to_system);
}
