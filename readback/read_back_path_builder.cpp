#include "readback/read_back_path_builder.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "host/math.h"
#include "host/path_geom_io.h"
#include "host/row_ops.h"
#include "host/services.h"
#include "readback/resource_scope.h"

namespace zu {
namespace {

constexpr double kSame = 1e-7;
constexpr double kFullTurn = 6.283185307179586;
constexpr double kPi = 3.141592653589793;
constexpr std::size_t kToolNameLength = 15;

bool Same(const XYZ& a, const XYZ& b) {
  return std::fabs(a.x - b.x) <= kSame && std::fabs(a.y - b.y) <= kSame &&
         std::fabs(a.z - b.z) <= kSame;
}

// A feed-table index for a segment kind, at the end of a path.
int EntryOfKind(int kind) {
  switch (kind) {
    case 2:
      return 0;
    case 3:
      return 1;
    case 7:
      return 3;
    default:
      return 2;
  }
}

// The segment kind a move of feed-table entry `entry` gets once the path
// is closed with `count` + 1 distinct feeds; `kind` when none applies.
int ReclassifiedKind(int kind, int entry, int count) {
  static const int kByCount[4][4] = {
      {4, -1, -1, -1},  // one feed: A
      {2, 4, -1, -1},   // two: D, A
      {2, 4, 7, -1},    // three: D, A, C
      {2, 5, 4, 7},     // four: D, B, A, C
  };
  if (count < 0 || count > 3)
    return kind;
  const int mapped = kByCount[count][entry];
  return mapped < 0 ? kind : mapped;
}

// An int from a double, truncated toward zero and kept in range.
int TruncatedInt(double value) {
  if (std::isnan(value))
    return 0;
  return static_cast<int>(std::clamp(std::trunc(value), double{INT_MIN}, double{INT_MAX}));
}

// At most `bytes` bytes of a text in the host's double-byte code page,
// never ending inside a double-byte character (GBK lead bytes 0x81-0xFE).
std::string CutAtCharacter(const char* text, std::size_t bytes) {
  std::string out;
  for (std::size_t i = 0; text[i];) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t width = lead >= 0x81 && lead <= 0xFE && text[i + 1] ? 2 : 1;
    if (out.size() + width > bytes)
      break;
    out.append(text + i, width);
    i += width;
  }
  return out;
}

tool_block* NewMove(int segment_kind) {
  tool_block* move = NcNewRow();
  int a = 0, b = 0, c = 7;
  SegKindToAttrs(segment_kind, a, b, c);
  move->a = static_cast<std::int8_t>(a);
  move->b = static_cast<std::int8_t>(b);
  move->c = c;
  move->host_byte_a2 = 1;
  move->host_byte_b = 5;
  return move;
}

}  // namespace

ReadBackPathBuilder::~ReadBackPathBuilder() {
  NcFreeRows(row_head_);
  delete open_path_;
}

int ReadBackPathBuilder::KindOfEntry(int index) {
  static const int kKinds[4] = {2, 3, 4, 7};
  return index >= 0 && index < 4 ? kKinds[index] : 9;
}

void ReadBackPathBuilder::StartPath() {
  if (open_path_)
    return;
  PathFactory* factory = nullptr;
  HostGetPathFactory(factory);
  open_path_ = factory->CreatePath(kMillingPath);
  open_path_->rows = new tool_row;
  open_path_->rows_extra = 0;
  feed_count_ = -1;
  row_head_ = row_tail_ = nullptr;
  first_point_pending_ = true;
  compensation_restart_ = false;
}

void ReadBackPathBuilder::Append(tool_block* move) {
  if (row_tail_) {
    row_tail_->next = move;
  } else {
    row_head_ = move;
  }
  row_tail_ = move;
}

bool ReadBackPathBuilder::AddLine(const XYZ& target, int kind, bool rapid) {
  if (first_point_pending_) {
    current_ = target;
    first_point_pending_ = false;
    return false;
  }
  if (Same(target, current_))
    return false;
  tool_block* move = NewMove(kind);
  move->host_int1 = rapid ? 1 : 0;
  move->host_int2 = 1;
  move->host_byte_a1 = 5;
  tls* line = NcNewLineGeom(1);
  line[0].point = current_;
  line[1].point = target;
  line[0].set = line[1].set = 1;
  move->geometry = line;
  move->kind = kMoveLine;
  Append(move);
  current_ = target;
  return true;
}

void ReadBackPathBuilder::RapidTo(double x, double y, double z) {
  AddLine({x, y, z}, kSegmentRapid, true);
}

void ReadBackPathBuilder::FeedTo(double x, double y, double z, int compensation) {
  if (!AddLine({x, y, z}, feed_kind_, false))
    return;
  if (compensation_restart_ && compensation != 0)
    row_tail_->c = kCompensationStart;
  compensation_restart_ = false;
  if (compensation == 0 || compensation == 1 || compensation == 2)
    compensation_on_ = compensation != 0;
  if (compensation == 0) {
    row_tail_->c = kCompensationEnd;
  } else if (compensation == 1 || compensation == 2) {
    row_tail_->c = kCompensationStart;
    // The side goes with the path, where the writers read a kind-7 path's
    // side: its selector 1 (left) or 2 (right).
    if (open_path_ && open_path_->PathKind == kMillingPath) {
      auto side = std::make_unique<SubPara7>();
      side->side_selector = compensation;
      open_path_->sub_para = std::move(side);
    }
  }
}

void ReadBackPathBuilder::ArcTo(double ex, double ey, double ez, double cx, double cy, double cz,
                                double nx, double ny, double nz) {
  const XYZ s = current_;
  const XYZ e{ex, ey, ez};
  const XYZ c{cx, cy, cz};
  const XYZ n{nx, ny, nz};
  // The sweep is measured in the arc's plane: a helix's end is taken back
  // along the axis into the plane of its start.
  XYZ axis = n;
  MathSplitVector(axis.x, axis.y, axis.z);
  const double rise = (e.x - s.x) * axis.x + (e.y - s.y) * axis.y + (e.z - s.z) * axis.z;
  const XYZ e_in_plane{e.x - rise * axis.x, e.y - rise * axis.y, e.z - rise * axis.z};
  double alpha = 0;
  MathArcAngle(c, s, e_in_plane, alpha);
  double sweep = alpha;
  if (Same(s, e_in_plane) && std::fabs(alpha) < kSame) {
    sweep = kFullTurn;
  } else {
    XYZ to_s, to_e, p;
    MathSub(s, c, to_s);
    MathSub(e_in_plane, c, to_e);
    CrossProduct(to_s, to_e, p);
    double beta = 0;
    MathVectorAngle(n, p, beta);
    if (std::fabs(beta - kPi) < kSame)
      sweep = kFullTurn - alpha;
  }
  XYZ radial;
  UnitDirection(c, s, radial);
  XYZ tangent;
  CrossProduct(radial, n, tangent);
  const XYZ t{c.x + 10 * tangent.x, c.y + 10 * tangent.y, c.z + 10 * tangent.z};
  TRANSF frame, back;
  if (!ArcFrameMatrix(s, c, t, frame) || !MatInverse(frame, back))
    return;
  XYZ p;
  PointTransform(c, frame, p);
  const double a0 = -p.x, b0 = -p.y;
  const double r = std::sqrt(a0 * a0 + b0 * b0);
  if (r < 1e-5)
    return;
  const double a = a0 / r, b = b0 / r;
  nc_arc* arc = NcNewArcGeom();
  PointTransform({p.x + 10 * a, p.y + 10 * b, p.z}, back, arc->second);
  PointTransform({p.x - 10 * b, p.y + 10 * a, p.z}, back, arc->third);
  arc->centre = c;
  arc->fourth = s;
  arc->end = e;
  arc->radius = PointDistance(s, c);
  arc->sweep = sweep;
  tool_block* move = NewMove(feed_kind_);
  move->host_byte_a1 = 245;
  move->geometry = arc;
  move->kind = kMoveArc;
  Append(move);
  current_ = e;
}

void ReadBackPathBuilder::SetFeedRate(double feed) {
  for (int i = 0; i <= feed_count_; ++i) {
    if (std::fabs(feed_table_[i] - feed) <= kSame) {
      feed_kind_ = KindOfEntry(i);
      return;
    }
  }
  if (feed_count_ == 3) {
    // A path holds four feeds: the moves made at them keep them in a path
    // of their own, and the moves that follow go on in a new one.
    if (open_path_ && open_path_->PathKind != kDrillingPath && row_head_)
      ContinueInNewPath();
    feed_count_ = -1;
  }
  feed_table_[++feed_count_] = feed;
  feed_kind_ = KindOfEntry(feed_count_);
}

void ReadBackPathBuilder::ContinueInNewPath() {
  const tool kept_tool = open_path_->Tool;
  const double speed = open_path_->feed.spindle_speed;
  const auto* side = dynamic_cast<const SubPara7*>(open_path_->sub_para.get());
  const int side_selector = side ? side->side_selector : 0;
  const XYZ at = current_;
  EndPath();
  StartPath();
  open_path_->Tool = kept_tool;
  open_path_->feed.spindle_speed = speed;
  if (side_selector != 0) {
    auto new_side = std::make_unique<SubPara7>();
    new_side->side_selector = side_selector;
    open_path_->sub_para = std::move(new_side);
  }
  current_ = at;
  first_point_pending_ = false;
  compensation_restart_ = compensation_on_;
}

void ReadBackPathBuilder::SetSpindleSpeed(double speed) {
  // A spindle stop before the path ends is not the speed the path cut at.
  if (open_path_ && !(speed == 0 && open_path_->feed.spindle_speed > 0))
    open_path_->feed.spindle_speed = speed;
}

void ReadBackPathBuilder::NextPath(int) {
  EndPath();
  StartPath();
}

void ReadBackPathBuilder::SetToolName(const char* name) {
  if (open_path_ && name)
    open_path_->Tool.name = CutAtCharacter(name, kToolNameLength);
}

void ReadBackPathBuilder::SetToolDimension1(double value) {
  if (open_path_)
    open_path_->Tool.dims[0] = value;
}

void ReadBackPathBuilder::SetToolDimension3(double value) {
  if (open_path_)
    open_path_->Tool.dims[2] = value;
}

void ReadBackPathBuilder::SetToolDimension6(double value) {
  if (open_path_)
    open_path_->Tool.dims[5] = value;
}

void ReadBackPathBuilder::SetToolInteger2(int value) {
  if (open_path_)
    open_path_->Tool.int2 = value;
}

void ReadBackPathBuilder::SetToolInteger2Again(int value) {
  SetToolInteger2(value);
}

void ReadBackPathBuilder::IgnoreToolValue(double) {}

void ReadBackPathBuilder::SetToolDimension2(double value) {
  if (open_path_)
    open_path_->Tool.dims[1] = value;
}

void ReadBackPathBuilder::SetToolDimension7(double value) {
  if (open_path_)
    open_path_->Tool.dims[6] = value;
}

void ReadBackPathBuilder::SetToolDimension5(double value) {
  if (open_path_)
    open_path_->Tool.dims[4] = value;
}

void ReadBackPathBuilder::SetToolInteger1(int value) {
  if (open_path_)
    open_path_->Tool.int1 = value;
}

void ReadBackPathBuilder::StartDrillPath(int drill_mode, double safe_distance, double dwell_time,
                                         double peck_depth, double hole_depth, double clearance,
                                         double work_surface, double drill_feed,
                                         double spindle_speed) {
  delete open_path_;
  PathFactory* factory = nullptr;
  HostGetPathFactory(factory);
  open_path_ = factory->CreatePath(kDrillingPath);
  open_path_->rows = new tool_row;
  open_path_->rows_extra = 0;
  auto* drill = dynamic_cast<OrvoPath_DRILL*>(open_path_);
  DrillSubPara& d = drill->drill;
  d.drill_mode = drill_mode;
  d.safe_distance = safe_distance;
  d.dwell_time = dwell_time;
  d.peck_depth = peck_depth;
  d.hole_depth = hole_depth;
  d.clearance = clearance;
  d.work_surface = work_surface;
  d.drill_feed = TruncatedInt(drill_feed);
  d.spindle_speed = TruncatedInt(spindle_speed);
}

void ReadBackPathBuilder::AddDrillPoint(double x, double y, double z) {
  const XYZ point{x, y, z};
  if (Same(point, current_) && (!open_path_ || open_path_->PathKind != kDrillingPath))
    return;
  holes_.push_back(point);
  current_ = point;
}

void ReadBackPathBuilder::FlushDrillPoints() {
  if (!open_path_)
    return;
  CPathGeomIO io;
  io.SaveDrillPoints(open_path_->geometry, holes_.data(), static_cast<int>(holes_.size()) - 1);
  open_path_->UpdatePath();
  holes_.clear();
}

void ReadBackPathBuilder::EndPath() {
  if (!open_path_)
    return;
  const bool drilling = open_path_->PathKind == kDrillingPath;
  // A drilling path may be only its holes: it is kept all the same.
  const bool has_holes = drilling && !open_path_->geometry->drill_points.empty();
  if (!row_head_ && !has_holes)
    return;
  const ResourceScope resources;
  OrvoPath* path = open_path_;
  if (drilling) {
    NcFreeRows(row_head_);
    row_head_ = row_tail_ = nullptr;
  } else {
    OrvoMillFeedRate& f = path->feed;
    const double* t = feed_table_;
    switch (feed_count_) {
      case 0:
        f.feed_a = t[0];
        break;
      case 1:
        f.feed_d = t[0];
        f.feed_a = t[1];
        break;
      case 2:
        f.feed_d = t[0];
        f.feed_a = t[1];
        f.feed_c = t[2];
        break;
      case 3:
        f.feed_d = t[0];
        f.feed_b = t[1];
        f.feed_a = t[2];
        f.feed_c = t[3];
        break;
      default:
        break;
    }
    path->rows->first = row_head_;
    path->rows->next = nullptr;
    row_head_ = row_tail_ = nullptr;
    for (tool_block* move = path->rows->first; move; move = move->next) {
      int kind = 2;
      SegAttrsToKind(move->a, move->b, move->c, kind);
      if (kind == kSegmentRapid)
        continue;
      const int next_kind = ReclassifiedKind(kind, EntryOfKind(kind), feed_count_);
      int a = move->a, b = move->b, c = move->c;
      SegKindToAttrs(next_kind, a, b, c);
      move->a = static_cast<std::int8_t>(a);
      move->b = static_cast<std::int8_t>(b);
      // The compensation marks in attribute c stay: they are what the
      // writers read compensation from.
    }
  }
  HostGetCurrentCoordSys(path->wcs);
  if (auto* path2d = dynamic_cast<OrvoPath2d*>(path))
    path2d->RowNCwctoSYSwc(path->rows);
  // The holes too are in the NC system's coordinates: into the document's,
  // as the moves.
  TRANSF to_document;
  if (MatInverse(path->wcs.matrix, to_document)) {
    for (XYZ& hole : path->geometry->drill_points)
      PointTransformInPlace(hole, to_document);
  }
  path->UpdatePath();
  open_path_ = nullptr;
  HostAddObject(path, 0);
  HostShowObject(path);
}

}  // namespace zu
