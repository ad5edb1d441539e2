#include "pathpicture/path_picture.h"

#include <cmath>

namespace zuhost {

namespace {

using zu::draw::Mark;
using zu::draw::Move;
using zu::draw::Point;
using zu::draw::Trace;

constexpr int kRapidSegment = 9;
// Points this close are one (the writers' own test for a dwell's place).
constexpr double kCoincident = 0.001;

Point P(const XYZ& p) {
  return {p.x, p.y, p.z};
}

bool Near(const XYZ& a, const XYZ& b) {
  return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z) <= kCoincident;
}

// A kind-63 path dwells before (after) a cutting move that starts (ends)
// where one of its source curves starts (ends), when its switch is on.
bool Kind63Dwell(const OrvoPath& path, const tool_block& move, const XYZ& at, bool before) {
  const auto* record = dynamic_cast<const SubPara63*>(path.sub_para.get());
  if (path.PathKind != 63 || !record || (before ? record->dwell_before : record->dwell_after) != 1)
    return false;
  if ((move.a != 2 && move.a != 4) || move.c <= 0 || !path.geometry)
    return false;
  for (const auto& curve : path.geometry->curves) {
    if (!curve.empty() && Near(at, before ? curve.front() : curve.back()))
      return true;
  }
  return false;
}

bool Kind65Dwell(const OrvoPath& path, const tool_block& move) {
  const auto* record = dynamic_cast<const SubPara65*>(path.sub_para.get());
  return path.PathKind == 65 && record && record->dwell == 1 && move.a == 5 && move.b == 2;
}

void AddMoves(const OrvoPath& path, Trace& trace) {
  for (const tool_row* row = path.rows; row; row = row->next) {
    for (const tool_block* block = row->first; block; block = block->next) {
      if (!block->geometry)
        continue;
      Move move;
      move.rapid = block->a == kRapidSegment;
      XYZ start, end;
      if (block->kind == kMoveArc) {
        const nc_arc& arc = *block->arc();
        start = arc.fourth;
        end = arc.end;
        const XYZ u{arc.second.x - arc.centre.x, arc.second.y - arc.centre.y,
                    arc.second.z - arc.centre.z};
        const XYZ v{arc.third.x - arc.centre.x, arc.third.y - arc.centre.y,
                    arc.third.z - arc.centre.z};
        move.kind = Move::Kind::kArc;
        move.centre = P(arc.centre);
        move.normal = {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
        move.sweep = arc.sweep;
      } else {
        start = block->line()[0].point;
        end = block->line()[1].point;
      }
      move.from = P(start);
      move.to = P(end);
      trace.moves.push_back(move);
      if (block->c == kCompensationStart)
        trace.marks.push_back({Mark::Kind::kCompensationOn, P(start)});
      else if (block->c == kCompensationEnd)
        trace.marks.push_back({Mark::Kind::kCompensationOff, P(start)});
      if (Kind63Dwell(path, *block, start, true))
        trace.marks.push_back({Mark::Kind::kDwell, P(start)});
      if (Kind65Dwell(path, *block) || Kind63Dwell(path, *block, end, false))
        trace.marks.push_back({Mark::Kind::kDwell, P(end)});
    }
  }
}

void AddHoles(const OrvoPath& path, Trace& trace) {
  if (path.PathKind != kDrillingPath || !path.geometry)
    return;
  double depth = 0;
  if (const auto* drill = dynamic_cast<const OrvoPath_DRILL*>(&path)) {
    const auto* owner = dynamic_cast<const OrvoDrillPath*>(&path);
    if (!owner || owner->has_drill_record)
      depth = drill->drill.hole_depth;
  }
  for (const XYZ& p : path.geometry->drill_points)
    trace.holes.push_back({P(p), p.z - depth});
}

// Five-axis rows: a straight move between each two path points, dashed
// from where a cutting stretch ends to where the next one starts.
void AddFiveAxisRows(const OrvoPath& path, Trace& trace) {
  for (const nc_row_5* row = path.rows5; row; row = row->next) {
    bool inside = false;  // within a cutting stretch
    bool have_last = false;
    bool last_closed = false;  // the last point ended a stretch
    XYZ last;
    for (int i = 0; i <= row->last && row->points; ++i) {
      const nc_point5& point = row->points[i];
      if (point.flag == kPointSkipped)
        continue;
      if (have_last) {
        Move move;
        move.from = P(last);
        move.to = P(point.point);
        move.rapid = last_closed;
        trace.moves.push_back(move);
      }
      trace.axes.push_back({P(point.point), P(point.axis)});
      last_closed = false;
      if (point.flag == kPointStretchEnd) {
        last_closed = inside;
        inside = !inside;
      }
      last = point.point;
      have_last = true;
    }
  }
}

}  // namespace

zu::draw::Picture PicturePaths(const std::vector<const OrvoPath*>& paths,
                               const PicturePathsOptions& options) {
  zu::draw::Picture picture;
  picture.title = options.title;
  for (const OrvoPath* path : paths) {
    Trace trace;
    trace.name = options.to_utf8(path->name.str());
    if (path->MultiAxisKind == kFiveAxis)
      AddFiveAxisRows(*path, trace);
    else
      AddMoves(*path, trace);
    AddHoles(*path, trace);
    picture.traces.push_back(std::move(trace));
  }
  return picture;
}

}  // namespace zuhost
