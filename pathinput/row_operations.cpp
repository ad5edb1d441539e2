#include "pathinput/row_operations.h"

#include <cmath>

#include "host/math.h"
#include "host/path_geom_io.h"
#include "host/row_ops.h"

namespace zu {
namespace {

constexpr double kCoincident = 0.001;

template <typename Record>
Record* RecordOf(OrvoPath& path, int kind) {
  return path.PathKind == kind ? dynamic_cast<Record*>(path.GetSubPara()) : nullptr;
}

// The dwell check of kind-63 paths, on the move's start or end point and
// each curve's start or end point.
bool DwellAt(const tool_block* move, SourceCurveCache& curves, OrvoPath& path, bool before) {
  const auto* record = RecordOf<SubPara63>(path, 63);
  if (!move || !record || (before ? record->dwell_before : record->dwell_after) != 1)
    return false;
  if ((move->a != 2 && move->a != 4) || move->c <= 0)
    return false;
  XYZ start, end;
  HostGetHomePoint(move, start, end);
  const XYZ& point = before ? start : end;
  for (const curvecmp* curve = curves.Curves(path); curve; curve = curve->next) {
    XYZ curve_start, curve_end;
    CurveEnds(curve, curve_start, curve_end);
    if (NcPointDistance(point, before ? curve_start : curve_end) <= kCoincident)
      return true;
  }
  return false;
}

}  // namespace

int BlockFeedType(const tool_block* move) {
  if (!move)
    return kNoFeedType;
  int kind = 2;
  SegAttrsToKind(move->a, move->b, move->c, kind);
  return kind >= 1 && kind <= 8 ? kind + 1 : (kind == 9 ? kFeedTypeRapid : 5);
}

int CompensationSide(OrvoPath& path) {
  OrvoPathSubPara* record = path.GetSubPara();
  switch (path.PathKind) {
    case 71:
      if (const auto* r = dynamic_cast<SubPara71*>(record))
        return r->side_code == -1 ? 1 : 0;
      break;
    case 50:
      if (const auto* r = dynamic_cast<SubPara50*>(record); r && r->compensation == 1)
        return r->side == 0 ? 1 : (r->side == 1 ? 0 : kNoCompensation);
      break;
    case 62:
      if (const auto* r = dynamic_cast<SubPara62*>(record); r && r->compensation == 1)
        return r->side == 0 ? 1 : (r->side == 1 ? 0 : kNoCompensation);
      break;
    case 63:
      if (const auto* r = dynamic_cast<SubPara63*>(record); r && r->compensation == 1) {
        return r->compensation_side == 0 || r->compensation_side == 1 ? r->compensation_side
                                                                      : kNoCompensation;
      }
      break;
    case 7:
      if (const auto* r = dynamic_cast<SubPara7*>(record))
        return r->side_selector == 1 ? 0 : (r->side_selector == 2 ? 1 : kNoCompensation);
      break;
    case 90:
      if (const auto* r = dynamic_cast<OrvoPath_MacroMachining*>(record))
        return r->GetMachineToolCmp();
      break;
    default:
      break;
  }
  return kNoCompensation;
}

int CompensationSkipCount(OrvoPath& path) {
  const auto* record = RecordOf<SubPara62>(path, 62);
  return record && record->skip_switch == 1 ? record->skip_count : 0;
}

const Text* DwellText(OrvoPath& path) {
  if (const auto* r = RecordOf<SubPara63>(path, 63))
    return &r->dwell_text;
  if (const auto* r = RecordOf<SubPara65>(path, 65))
    return &r->dwell_text;
  return nullptr;
}

bool DwellAfterKind65Move(OrvoPath& path, const tool_block& move) {
  const auto* record = RecordOf<SubPara65>(path, 65);
  return record && move.a == 5 && move.b == 2 && record->dwell == 1;
}

SourceCurveCache::~SourceCurveCache() {
  CurveFree(first_);
}

const curvecmp* SourceCurveCache::Curves(const OrvoPath& path) {
  if (!fetched_) {
    fetched_ = true;
    CPathGeomIO io;
    io.GetCurvePathes(path.geometry, first_);
  }
  return first_;
}

bool DwellBeforeBlock(const tool_block* move, SourceCurveCache& curves, OrvoPath& path) {
  return DwellAt(move, curves, path, true);
}

bool DwellAfterBlock(const tool_block* move, SourceCurveCache& curves, OrvoPath& path) {
  return DwellAt(move, curves, path, false);
}

XYZ ArcNormal(const nc_arc& arc) {
  XYZ u, v, n;
  MathSub(arc.second, arc.centre, u);
  MathSub(arc.third, arc.centre, v);
  CrossProduct(u, v, n);
  if (arc.sweep < 0 || std::isnan(arc.sweep))
    return {-n.x, -n.y, -n.z};
  return n;
}

}  // namespace zu
