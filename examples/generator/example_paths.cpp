#include "examples/generator/example_paths.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "host/math.h"
#include "host/row_ops.h"

namespace zuexamples {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Appends moves to one row of a path.
class RowWriter {
 public:
  explicit RowWriter(OrvoPath& path) {
    auto* row = new tool_row;
    tool_row** tail = &path.rows;
    while (*tail)
      tail = &(*tail)->next;
    *tail = row;
    tail_ = &row->first;
  }

  void Line(int segment_kind, const XYZ& from, const XYZ& to, int c = 7) {
    tool_block* move = NewMove(segment_kind, c);
    tls* line = NcNewLineGeom(1);
    line[0].point = from;
    line[1].point = to;
    move->geometry = line;
    Append(move);
  }

  // A line whose attributes a and b are given as they stand, also in
  // encodings SegKindToAttrs does not make (a kind-65 dwell move is 5, 2).
  void LineWithAttributes(int a, int b, const XYZ& from, const XYZ& to) {
    Line(a, from, to);
    last_->a = static_cast<std::int8_t>(a);
    last_->b = static_cast<std::int8_t>(b);
  }

  // An arc in a plane parallel to XY about `centre`, from `start`, turning
  // `sweep` radians (positive: counter-clockwise seen from +Z).
  void Arc(int segment_kind, const XYZ& centre, const XYZ& start, double sweep) {
    tool_block* move = NewMove(segment_kind, 7);
    move->kind = kMoveArc;
    move->host_byte_a1 = 245;
    nc_arc* arc = NcNewArcGeom();
    const double radius = PointDistance(centre, start);
    const double a0 = std::atan2(start.y - centre.y, start.x - centre.x);
    auto at = [&](double angle, double r) {
      return XYZ{centre.x + r * std::cos(angle), centre.y + r * std::sin(angle), centre.z};
    };
    arc->centre = centre;
    arc->second = at(a0, 10);
    arc->third = at(a0 + kPi / 2, 10);
    arc->fourth = start;
    arc->end = at(a0 + sweep, radius);
    arc->radius = radius;
    arc->sweep = sweep;
    move->geometry = arc;
    Append(move);
  }

 private:
  static tool_block* NewMove(int segment_kind, int c) {
    tool_block* move = NcNewRow();
    int a = 0, b = 0, c_out = 7;
    SegKindToAttrs(segment_kind, a, b, c_out);
    move->a = static_cast<std::int8_t>(a);
    move->b = static_cast<std::int8_t>(b);
    move->c = c;
    return move;
  }
  void Append(tool_block* move) {
    *tail_ = move;
    tail_ = &move->next;
    last_ = move;
  }
  tool_block** tail_;
  tool_block* last_ = nullptr;
};

void SetSystem(ncworkcoordinate& wcs, const char* name, const XYZ& origin, const XYZ& x_axis,
               const XYZ& y_axis) {
  std::snprintf(wcs.name, sizeof wcs.name, "%s", name);
  wcs.origin = origin;
  wcs.x_axis = {x_axis.x * 10, x_axis.y * 10, x_axis.z * 10};
  wcs.y_axis = {y_axis.x * 10, y_axis.y * 10, y_axis.z * 10};
  CrossProduct(x_axis, y_axis, wcs.z_axis);
  CoordSysMatrix(origin, x_axis, y_axis, wcs.matrix);
}

template <typename Path>
Path* NewPath(zuhost::PartDocument& document, const char* name, int kind, int class_code) {
  auto* path = new Path;
  path->name = name;
  path->PathKind = kind;
  path->PathClassCode = class_code;
  path->geometry = new Node;
  path->Tool.int1 = 1;
  path->Tool.int2 = 0;
  const double dims[7] = {10, 0, 75, 40, 10, 0, 0};
  std::copy(dims, dims + 7, path->Tool.dims);
  path->Tool.name = "D10 平底刀";
  path->feed = {3000, 800, 1200, 400, 600, 0, 0};
  path->safe_height = 50;
  path->approach_height = 5;
  document.paths.emplace_back(path);
  return path;
}

std::unique_ptr<zuhost::PartDocument> NewDocument() {
  auto document = std::make_unique<zuhost::PartDocument>();
  document->stock.corner = {-10, -10, -30};
  document->stock.size = {140, 100, 30};
  return document;
}

void Finish(zuhost::PartDocument& document) {
  for (auto& path : document.paths)
    path->UpdatePath();
}

// A rectangle with a rounded corner, cut at depth z: rapid in, compensation
// start, lines and an arc, compensation end, rapid out.
void Contour(RowWriter& row, double z, double size) {
  row.Line(kSegmentRapid, {-5, -5, 50}, {-5, -5, z});
  row.Line(2, {-5, -5, z}, {0, 0, z}, kCompensationStart);
  row.Line(4, {0, 0, z}, {size, 0, z});
  row.Line(4, {size, 0, z}, {size, size - 10, z});
  row.Arc(4, {size - 10, size - 10, z}, {size, size - 10, z}, kPi / 2);
  row.Line(4, {size - 10, size, z}, {0, size, z});
  row.Line(4, {0, size, z}, {0, 0, z});
  row.Line(5, {0, 0, z}, {-5, -5, z}, kCompensationEnd);
  row.Line(kSegmentRapid, {-5, -5, z}, {-5, -5, 50});
}

std::unique_ptr<zuhost::PartDocument> Drilling() {
  auto document = NewDocument();
  auto* drill = NewPath<OrvoDrillPath>(*document, "钻孔1", kDrillingPath, 2300);
  drill->Tool.name = "DR8.5 钻头";
  drill->geometry->drill_points = {{10, 10, 0}, {30, 10, 0}, {50, 10, 0}, {50, 40, 0}};
  DrillSubPara& d = drill->drill;
  d.spindle_speed = 1200;
  d.drill_mode = 1;
  d.drill_feed = 80;
  d.peck_depth = 2.5;
  d.work_surface = 0;
  d.hole_depth = 15;
  d.clearance = 3;
  d.dwell_time = 0.5;
  d.safe_distance = 2;
  d.user[0] = "M08";
  RowWriter(*drill).Line(kSegmentRapid, {10, 10, 50}, {10, 10, 3});

  auto* bare = NewPath<OrvoDrillPath>(*document, "钻孔2 无参数", kDrillingPath, 2300);
  bare->has_drill_record = false;
  bare->geometry->drill_points = {{70, 20, 0}, {90, 20, 0}};
  RowWriter(*bare).Line(kSegmentRapid, {70, 20, 50}, {70, 20, 3});
  Finish(*document);
  return document;
}

std::unique_ptr<zuhost::PartDocument> Milling2d() {
  auto document = NewDocument();
  auto* path = NewPath<OrvoPath2d>(*document, "轮廓铣", 7, 2300);
  auto para = std::make_unique<SubPara7>();
  para->side_selector = 1;
  path->sub_para = std::move(para);
  RowWriter row(*path);
  Contour(row, -5, 60);
  RowWriter second(*path);
  Contour(second, -10, 60);
  Finish(*document);
  return document;
}

std::unique_ptr<zuhost::PartDocument> Dwell() {
  auto document = NewDocument();
  auto* p63 = NewPath<OrvoPath2d>(*document, "槽加工 63", 63, 2300);
  auto para63 = std::make_unique<SubPara63>();
  para63->dwell_before = 1;
  para63->dwell_after = 1;
  para63->compensation_side = 0;
  para63->compensation = 1;
  para63->dwell_text = "G04 P1000";
  p63->sub_para = std::move(para63);
  p63->geometry->curves = {{{0, 0, -3}, {40, 0, -3}}, {{40, 0, -3}, {40, 30, -3}}};
  RowWriter r63(*p63);
  r63.Line(kSegmentRapid, {0, 0, 50}, {0, 0, -3});
  r63.Line(2, {0, 0, -3}, {40, 0, -3});
  r63.Line(4, {40, 0, -3}, {40, 30, -3});
  r63.Line(kSegmentRapid, {40, 30, -3}, {40, 30, 50});

  auto* p65 = NewPath<OrvoPath2d>(*document, "孔口倒角 65", 65, 2300);
  auto para65 = std::make_unique<SubPara65>();
  para65->dwell_text = "G04 X0.5";
  para65->dwell = 1;
  p65->sub_para = std::move(para65);
  p65->geometry->curves = {{{60, 10, -1}, {70, 10, -1}, {70, 20, -1}}};
  RowWriter r65(*p65);
  r65.Line(kSegmentRapid, {60, 10, 50}, {60, 10, -1});
  r65.Line(4, {60, 10, -1}, {70, 10, -1});
  r65.LineWithAttributes(5, 2, {70, 10, -1}, {70, 20, -1});  // dwells after it
  r65.Line(kSegmentRapid, {70, 20, -1}, {70, 20, 50});
  Finish(*document);
  return document;
}

// Compensation on the other sides and kinds: kind 62 passing over its first
// compensation start, kind 50 and kind 71.
std::unique_ptr<zuhost::PartDocument> Compensation() {
  auto document = NewDocument();
  auto* p62 = NewPath<OrvoPath3d>(*document, "侧铣 62", 62, 2301);
  auto para62 = std::make_unique<SubPara62>();
  para62->side = 0;
  para62->compensation = 1;
  para62->skip_switch = 1;
  para62->skip_count = 2;
  p62->sub_para = std::move(para62);
  RowWriter first(*p62);
  Contour(first, -3, 40);
  RowWriter second(*p62);
  Contour(second, -6, 40);

  auto* p50 = NewPath<OrvoPath2d>(*document, "外形 50", 50, 2300);
  auto para50 = std::make_unique<SubPara50>();
  para50->side = 1;
  para50->compensation = 1;
  p50->sub_para = std::move(para50);
  RowWriter r50(*p50);
  Contour(r50, -4, 50);

  auto* p71 = NewPath<OrvoPath2d>(*document, "型腔 71", 71, 2300);
  auto para71 = std::make_unique<SubPara71>();
  para71->side_code = -1;
  p71->sub_para = std::move(para71);
  RowWriter r71(*p71);
  Contour(r71, -2, 20);
  Finish(*document);
  return document;
}

std::unique_ptr<zuhost::PartDocument> Macro() {
  auto document = NewDocument();
  auto* path = NewPath<OrvoPath2d>(*document, "宏加工", 90, 2300);
  auto macro = std::make_unique<OrvoPath_MacroMachining>();
  macro->machine_tool_cmp = 1;
  macro->parameters["#101"] = {"深度", "mm", "-5.0", 1};
  macro->parameters["#102"] = {"进给", "mm/min", "800", 2};
  path->sub_para = std::move(macro);
  RowWriter first(*path);
  first.Line(kSegmentRapid, {0, 0, 50}, {0, 0, 2});
  first.Line(2, {0, 0, 2}, {0, 0, -5});
  first.Arc(4, {10, 0, -5}, {0, 0, -5}, -kPi);
  RowWriter second(*path);
  second.Line(4, {20, 0, -5}, {30, 0, -5});
  second.Line(kSegmentRapid, {30, 0, -5}, {30, 0, 50});
  Finish(*document);
  return document;
}

std::unique_ptr<zuhost::PartDocument> Milling3d() {
  auto document = NewDocument();
  auto* path = NewPath<OrvoPath3d>(*document, "曲面精加工", 7, 2301);
  RowWriter row(*path);
  row.Line(kSegmentRapid, {0, 0, 50}, {0, 0, 5});
  XYZ last{0, 0, 5};
  for (int i = 0; i <= 40; ++i) {
    const double x = i * 2.5;
    const XYZ next{x, 20 + 5 * std::sin(x / 10), 2 * std::cos(x / 15)};
    row.Line(3, last, next);
    last = next;
  }
  row.Line(kSegmentRapid, last, {last.x, last.y, 50});
  Finish(*document);
  return document;
}

std::unique_ptr<zuhost::PartDocument> Tilted() {
  auto document = NewDocument();
  const double s = std::sqrt(0.5);
  SetSystem(document->current_system, "装夹", {0, 0, 0}, {1, 0, 0}, {0, 1, 0});
  auto* path = NewPath<OrvoPath2d>(*document, "倾斜面铣", 7, 2300);
  SetSystem(path->wcs, "斜面45", {100, 0, 20}, {1, 0, 0}, {0, s, s});
  // The contour is drawn in the tilted system, and stored as documents store
  // moves: in system coordinates.
  RowWriter row(*path);
  Contour(row, -2, 30);
  path->RowNCwctoSYSwc(path->rows);
  Finish(*document);
  return document;
}

std::unique_ptr<zuhost::PartDocument> FiveAxis() {
  auto document = NewDocument();
  auto* path = NewPath<OrvoPath5Axis>(*document, "五轴侧铣", 7, 2302);
  path->MultiAxisKind = kFiveAxis;
  path->five_safe_height = 80;
  path->five_link_height = 30;
  path->five_approach_distance = 5;
  // Three rows, one cutting stretch each: its first and last point flagged
  // 0 (a stretch starts or ends there), the points between 1, and a last
  // point that is no path point (255).
  const int per_row = 12;
  nc_row_5** tail = &path->rows5;
  for (int r = 0; r < 3; ++r) {
    auto* row = new nc_row_5;
    row->last = per_row - 1;
    row->points = new nc_point5[per_row];
    for (int i = 0; i < per_row; ++i) {
      const double t = i / double(per_row - 1);
      nc_point5& p = row->points[i];
      p.point = {t * 60, 10.0 * r, -5 + 2 * std::sin(t * kPi)};
      p.axis = {std::sin(t * 0.5), 0, std::cos(t * 0.5)};
      p.flag = i == 0 || i == per_row - 2 ? kPointStretchEnd
                                          : (i == per_row - 1 ? kPointSkipped : kPointInner);
    }
    *tail = row;
    tail = &row->next;
  }
  auto* second = NewPath<OrvoPath5Axis>(*document, "五轴曲面", 7, 2303);
  second->MultiAxisKind = kFiveAxis;
  second->five_safe_height = 80;
  second->five_link_height = 25;
  second->five_approach_distance = 3;
  auto* row = new nc_row_5;
  row->last = 2;
  row->points = new nc_point5[3];
  row->points[0] = {{0, 50, 0}, {0, 0, 1}, kPointStretchEnd};
  row->points[1] = {{10, 50, -1}, {0, 0.1, 0.995}, kPointStretchEnd};
  row->points[2] = {{20, 50, -2}, {0, 0.2, 0.98}, kPointInner};
  second->rows5 = row;
  Finish(*document);
  return document;
}

// Points along a rounded rectangle from (0, 0), counter-clockwise, about
// `step` apart: what a CAD system's contour becomes when it is handed on as
// short straight cuts.
std::vector<XYZ> SampledRoundedRectangle(double width, double height, double radius, double z,
                                         double step) {
  std::vector<XYZ> points;
  auto straight = [&](const XYZ& from, const XYZ& to) {
    const int n = std::max(1, static_cast<int>(std::ceil(PointDistance(from, to) / step)));
    for (int i = 0; i < n; ++i) {
      const double t = static_cast<double>(i) / n;
      points.push_back({from.x + t * (to.x - from.x), from.y + t * (to.y - from.y),
                        from.z + t * (to.z - from.z)});
    }
  };
  auto corner = [&](double cx, double cy, double from_angle) {
    const int n = std::max(1, static_cast<int>(std::ceil(radius * kPi / 2 / step)));
    for (int i = 0; i < n; ++i) {
      const double a = from_angle + kPi / 2 * i / n;
      points.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a), z});
    }
  };
  straight({radius, 0, z}, {width - radius, 0, z});
  corner(width - radius, radius, -kPi / 2);
  straight({width, radius, z}, {width, height - radius, z});
  corner(width - radius, height - radius, 0);
  straight({width - radius, height, z}, {radius, height, z});
  corner(radius, height - radius, kPi / 2);
  straight({0, height - radius, z}, {0, radius, z});
  corner(radius, radius, kPi);
  points.push_back({radius, 0, z});
  return points;
}

// Paths made of many short straight cuts, as the optimisation step finds
// them: a rounded rectangle sampled every 0.2 mm at two depths (with the
// compensation moves in and out), and passes over a cylinder across X,
// sampled every 0.5 mm, whose profiles are arcs in ZX.
std::unique_ptr<zuhost::PartDocument> Sampled() {
  auto document = NewDocument();
  auto* contour = NewPath<OrvoPath2d>(*document, "采样轮廓", 7, 2300);
  auto para = std::make_unique<SubPara7>();
  para->side_selector = 1;
  contour->sub_para = std::move(para);
  for (const double z : {-3.0, -6.0}) {
    RowWriter row(*contour);
    const auto points = SampledRoundedRectangle(100, 60, 10, z, 0.2);
    row.Line(kSegmentRapid, {-5, -5, 50}, {-5, -5, z});
    row.Line(2, {-5, -5, z}, points.front(), kCompensationStart);
    for (std::size_t i = 1; i < points.size(); ++i)
      row.Line(4, points[i - 1], points[i]);
    row.Line(5, points.back(), {-5, -5, z}, kCompensationEnd);
    row.Line(kSegmentRapid, {-5, -5, z}, {-5, -5, 50});
  }

  auto* passes = NewPath<OrvoPath3d>(*document, "采样曲面", 7, 2301);
  constexpr double kCylinderRadius = 80;
  for (int pass = 0; pass < 3; ++pass) {
    const double y = 10.0 * pass;
    auto height = [&](double x) {
      return std::sqrt(kCylinderRadius * kCylinderRadius - (x - 50) * (x - 50)) - kCylinderRadius;
    };
    RowWriter row(*passes);
    XYZ last{0, y, 50};
    const XYZ first{0, y, height(0)};
    row.Line(kSegmentRapid, last, {0, y, 5});
    row.Line(2, {0, y, 5}, first);
    last = first;
    for (int i = 1; i <= 200; ++i) {
      const double x = i * 0.5;
      const XYZ next{x, y, height(x)};
      row.Line(4, last, next);
      last = next;
    }
    row.Line(kSegmentRapid, last, {last.x, y, 50});
  }
  Finish(*document);
  return document;
}

std::unique_ptr<zuhost::PartDocument> EmptyPath() {
  auto document = NewDocument();
  NewPath<OrvoPath2d>(*document, "空轨迹", 7, 2300);
  Finish(*document);
  return document;
}

// A zigzag of `moves` short cuts over the stock.
std::unique_ptr<zuhost::PartDocument> Large(long moves) {
  auto document = NewDocument();
  auto* path = NewPath<OrvoPath3d>(*document, "大轨迹", 7, 2301);
  RowWriter row(*path);
  XYZ last{0, 0, 0};
  for (long i = 0; i < moves; ++i) {
    const long line = i / 1000;
    const long step = i % 1000;
    const double x = line % 2 == 0 ? step * 0.12 : 120 - step * 0.12;
    const XYZ next{x, line * 0.5, -0.5 * std::sin(x / 7.0) - 0.001 * line};
    row.Line(i == 0 ? kSegmentRapid : 4, last, next);
    last = next;
  }
  Finish(*document);
  return document;
}

}  // namespace

std::vector<NamedDocument> MakeExampleDocuments(long large_moves) {
  std::vector<NamedDocument> documents;
  documents.push_back({"drilling.json", Drilling()});
  documents.push_back({"milling_2d.json", Milling2d()});
  documents.push_back({"dwell.json", Dwell()});
  documents.push_back({"compensation.json", Compensation()});
  documents.push_back({"macro.json", Macro()});
  documents.push_back({"milling_3d.json", Milling3d()});
  documents.push_back({"tilted.json", Tilted()});
  documents.push_back({"five_axis.json", FiveAxis()});
  documents.push_back({"empty_path.json", EmptyPath()});
  documents.push_back({"sampled.json", Sampled()});
  if (large_moves > 0)
    documents.push_back({"large.json", Large(large_moves)});
  return documents;
}

}  // namespace zuexamples
