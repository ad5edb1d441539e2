#include "hostapp/part_document.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "host/row_ops.h"

namespace zuhost {
namespace {

using json = nlohmann::ordered_json;

constexpr const char* kFormat = "zuhost part document";
constexpr int kVersion = 1;

// A refusal: the field's path in the document and what is wrong with it.
struct Refusal : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Reads one JSON object, naming fields by their path for error messages.
class Reader {
 public:
  Reader(const json& value, std::string where) : value_(value), where_(std::move(where)) {}

  [[noreturn]] void Fail(const std::string& what) const { throw Refusal(where_ + ": " + what); }

  const json& value() const { return value_; }
  const std::string& where() const { return where_; }

  Reader Field(const char* name) const {
    if (!value_.is_object())
      Fail("expected an object");
    auto it = value_.find(name);
    if (it == value_.end())
      Fail(std::string("missing field \"") + name + "\"");
    return Reader(*it, where_ + "." + name);
  }
  bool Has(const char* name) const { return value_.is_object() && value_.contains(name); }

  Reader At(std::size_t index) const {
    return Reader(value_[index], where_ + "[" + std::to_string(index) + "]");
  }
  std::size_t Size() const {
    if (!value_.is_array())
      Fail("expected an array");
    return value_.size();
  }

  double Number() const {
    if (!value_.is_number())
      Fail("expected a number");
    const double v = value_.get<double>();
    if (!std::isfinite(v))
      Fail("not a finite number");
    return v;
  }
  int Int() const {
    if (!value_.is_number_integer())
      Fail("expected an integer");
    const auto v = value_.get<long long>();
    if (v < INT32_MIN || v > INT32_MAX)
      Fail("integer out of range");
    return static_cast<int>(v);
  }
  std::string String() const {
    if (!value_.is_string())
      Fail("expected a text");
    return value_.get<std::string>();
  }
  XYZ Point() const {
    if (Size() != 3)
      Fail("expected 3 numbers");
    return {At(0).Number(), At(1).Number(), At(2).Number()};
  }

 private:
  const json& value_;
  std::string where_;
};

// The code point of the UTF-8 character `c`, as U+XXXX.
std::string CodePointOf(std::string_view c) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(c[i]); };
  unsigned value = c.empty() ? 0 : byte(0);
  std::size_t length = 1;
  if (value >= 0xF0) {
    value &= 0x07;
    length = 4;
  } else if (value >= 0xE0) {
    value &= 0x0F;
    length = 3;
  } else if (value >= 0xC0) {
    value &= 0x1F;
    length = 2;
  }
  for (std::size_t i = 1; i < length && i < c.size(); ++i)
    value = (value << 6) | (byte(i) & 0x3F);
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", value);
  return text;
}

// The text at `r` in the host's code page; refused when a character of it
// would be lost.
std::string AnsiOf(const Reader& r, const TextCodec& codec) {
  AnsiText ansi = codec.to_ansi(r.String());
  if (!ansi.unrepresentable.empty()) {
    r.Fail("the character \"" + ansi.unrepresentable + "\" (" + CodePointOf(ansi.unrepresentable) +
           ") cannot be held in the host's code page");
  }
  return std::move(ansi.text);
}

// A UTF-8 file name as the file system takes it (wide on Windows).
std::filesystem::path FilePath(const std::string& utf8) {
  return std::filesystem::path(
      std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

// Follows the parser through the document as the field path the refusals
// use ("document.paths[1].rows[2][0]"), so that a fault the parser itself
// finds, such as a number out of range, can name its field.
class ParsePosition {
 public:
  bool operator()(int, json::parse_event_t event, json& parsed) {
    switch (event) {
      case json::parse_event_t::object_start:
      case json::parse_event_t::array_start:
        levels_.push_back({event == json::parse_event_t::array_start, 0, {}});
        break;
      case json::parse_event_t::key:
        if (!levels_.empty())
          levels_.back().key = parsed.get<std::string>();
        break;
      case json::parse_event_t::object_end:
      case json::parse_event_t::array_end:
        if (!levels_.empty())
          levels_.pop_back();
        ElementDone();
        break;
      case json::parse_event_t::value:
        ElementDone();
        break;
    }
    return true;
  }

  std::string Where() const {
    std::string where = "document";
    for (const auto& level : levels_) {
      where += level.array ? "[" + std::to_string(level.index) + "]"
                           : (level.key.empty() ? "" : "." + level.key);
    }
    return where;
  }

 private:
  void ElementDone() {
    if (!levels_.empty() && levels_.back().array)
      ++levels_.back().index;
  }

  struct Level {
    bool array;
    std::size_t index;
    std::string key;
  };
  std::vector<Level> levels_;
};

// The field at which parsing `text` stops with an error. Parsing again with
// a callback is slower, so it is done only for a document being refused.
std::string WhereParsingStops(std::string_view text) {
  ParsePosition position;
  try {
    const json ignored = json::parse(text, std::ref(position));
  } catch (const json::exception&) {
  }
  return position.Where();
}

json PointJson(const XYZ& p) {
  return json::array({p.x, p.y, p.z});
}

// ---- reading -------------------------------------------------------------

ncworkcoordinate ReadSystem(const Reader& r, const TextCodec& codec) {
  ncworkcoordinate wcs;
  const std::string name = AnsiOf(r.Field("name"), codec);
  if (name.size() > 15)
    r.Field("name").Fail("longer than 15 bytes");
  name.copy(wcs.name, 15);
  wcs.origin = r.Field("origin").Point();
  wcs.x_axis = r.Field("x_axis").Point();
  wcs.y_axis = r.Field("y_axis").Point();
  wcs.z_axis = r.Field("z_axis").Point();
  const Reader matrix = r.Field("matrix");
  if (matrix.Size() != 16)
    matrix.Fail("expected 16 numbers, row by row");
  for (int i = 0; i < 16; ++i)
    wcs.matrix.m[i / 4][i % 4] = matrix.At(i).Number();
  return wcs;
}

tool ReadTool(const Reader& r, const TextCodec& codec) {
  tool t;
  t.int1 = r.Field("int1").Int();
  t.int2 = r.Field("int2").Int();
  const Reader dims = r.Field("dimensions");
  if (dims.Size() != 7)
    dims.Fail("expected 7 numbers");
  for (int i = 0; i < 7; ++i)
    t.dims[i] = dims.At(i).Number();
  t.name = AnsiOf(r.Field("name"), codec);
  return t;
}

OrvoMillFeedRate ReadFeed(const Reader& r) {
  if (r.Size() != 7)
    r.Fail("expected 7 numbers");
  return {r.At(0).Number(), r.At(1).Number(), r.At(2).Number(), r.At(3).Number(),
          r.At(4).Number(), r.At(5).Number(), r.At(6).Number()};
}

std::int8_t ReadByte(const Reader& r) {
  const int v = r.Int();
  if (v < -128 || v > 127)
    r.Fail("attribute out of the range of a signed byte");
  return static_cast<std::int8_t>(v);
}

// A move: [kind, a, b, c, geometry...]; an arc has 17 geometry numbers
// (centre, second, third, fourth, end, radius, sweep), every other kind 6
// (start and end point).
tool_block* ReadMove(const Reader& r) {
  const std::size_t n = r.Size();
  if (n < 1)
    r.Fail("an empty move");
  const int kind = r.At(0).Int();
  const std::size_t expected = kind == kMoveArc ? 4 + 17 : 4 + 6;
  if (n != expected) {
    r.Fail(std::string(kind == kMoveArc ? "an arc move needs 21 numbers (kind, a, b, c, "
                                          "five points, radius, sweep)"
                                        : "a line move needs 10 numbers (kind, a, b, c, "
                                          "start and end point)") +
           ", found " + std::to_string(n) + ": its geometry points nowhere");
  }
  double g[17];
  for (std::size_t i = 4; i < n; ++i)
    g[i - 4] = r.At(i).Number();
  const std::int8_t a = ReadByte(r.At(1));
  const std::int8_t b = ReadByte(r.At(2));
  const int c = r.At(3).Int();
  auto* move = NcNewRow();
  move->kind = kind;
  move->a = a;
  move->b = b;
  move->c = c;
  if (kind == kMoveArc) {
    nc_arc* arc = NcNewArcGeom();
    XYZ* points[] = {&arc->centre, &arc->second, &arc->third, &arc->fourth, &arc->end};
    for (int i = 0; i < 5; ++i)
      *points[i] = {g[3 * i], g[3 * i + 1], g[3 * i + 2]};
    arc->radius = g[15];
    arc->sweep = g[16];
    move->geometry = arc;
    move->host_byte_a1 = 245;
  } else {
    tls* line = NcNewLineGeom(1);
    line[0].point = {g[0], g[1], g[2]};
    line[1].point = {g[3], g[4], g[5]};
    move->geometry = line;
  }
  return move;
}

tool_row* ReadRows(const Reader& r) {
  tool_row* head = nullptr;
  tool_row** tail = &head;
  try {
    for (std::size_t i = 0, rows = r.Size(); i < rows; ++i) {
      const Reader row = r.At(i);
      *tail = new tool_row;
      tool_block** move_tail = &(*tail)->first;
      tail = &(*tail)->next;
      for (std::size_t j = 0, moves = row.Size(); j < moves; ++j) {
        *move_tail = ReadMove(row.At(j));
        move_tail = &(*move_tail)->next;
      }
    }
  } catch (...) {
    NcFreeToolRows(head);
    throw;
  }
  return head;
}

nc_row_5* ReadRows5(const Reader& r) {
  nc_row_5* head = nullptr;
  nc_row_5** tail = &head;
  try {
    for (std::size_t i = 0, rows = r.Size(); i < rows; ++i) {
      const Reader row = r.At(i);
      const std::size_t n = row.Size();
      *tail = new nc_row_5;
      (*tail)->last = static_cast<int>(n) - 1;
      if (n > 0)
        (*tail)->points = new nc_point5[n];
      nc_point5* points = (*tail)->points;
      tail = &(*tail)->next;
      for (std::size_t j = 0; j < n; ++j) {
        const Reader p = row.At(j);
        if (p.Size() != 7)
          p.Fail("a five-axis point needs 7 numbers (point, axis, flag)");
        points[j].point = {p.At(0).Number(), p.At(1).Number(), p.At(2).Number()};
        points[j].axis = {p.At(3).Number(), p.At(4).Number(), p.At(5).Number()};
        const int flag = p.At(6).Int();
        if (flag < 0 || flag > 255)
          p.At(6).Fail("a flag is 0 to 255");
        points[j].flag = static_cast<std::uint8_t>(flag);
      }
    }
  } catch (...) {
    NcFreeRows5(head);
    throw;
  }
  return head;
}

Node* ReadGeometry(const Reader& r) {
  auto node = std::make_unique<Node>();
  if (r.Has("drill_points")) {
    const Reader points = r.Field("drill_points");
    for (std::size_t i = 0, n = points.Size(); i < n; ++i) {
      node->drill_points.push_back(points.At(i).Point());
    }
  }
  if (r.Has("curves")) {
    const Reader curves = r.Field("curves");
    for (std::size_t i = 0, n = curves.Size(); i < n; ++i) {
      const Reader curve = curves.At(i);
      auto& points = node->curves.emplace_back();
      for (std::size_t j = 0, m = curve.Size(); j < m; ++j)
        points.push_back(curve.At(j).Point());
    }
  }
  return node.release();
}

std::unique_ptr<OrvoPathSubPara> ReadParameters(int kind, const Reader& r, const TextCodec& codec) {
  auto text = [&](const char* name) { return zu::Text(AnsiOf(r.Field(name), codec)); };
  auto integer = [&](const char* name) { return r.Field(name).Int(); };
  switch (kind) {
    case 7: {
      auto p = std::make_unique<SubPara7>();
      p->side_selector = integer("side_selector");
      return p;
    }
    case 50: {
      auto p = std::make_unique<SubPara50>();
      p->side = integer("side");
      p->compensation = integer("compensation");
      return p;
    }
    case 62: {
      auto p = std::make_unique<SubPara62>();
      p->side = integer("side");
      p->compensation = integer("compensation");
      p->skip_switch = integer("skip_switch");
      p->skip_count = integer("skip_count");
      return p;
    }
    case 63: {
      auto p = std::make_unique<SubPara63>();
      p->dwell_before = integer("dwell_before");
      p->dwell_after = integer("dwell_after");
      p->compensation_side = integer("compensation_side");
      p->compensation = integer("compensation");
      p->dwell_text = text("dwell_text");
      return p;
    }
    case 65: {
      auto p = std::make_unique<SubPara65>();
      p->dwell_text = text("dwell_text");
      p->dwell = integer("dwell");
      return p;
    }
    case 71: {
      auto p = std::make_unique<SubPara71>();
      p->side_code = integer("side_code");
      return p;
    }
    case 90: {
      auto p = std::make_unique<OrvoPath_MacroMachining>();
      p->machine_tool_cmp = integer("machine_tool_cmp");
      const Reader macros = r.Field("macros");
      if (!macros.value().is_object())
        macros.Fail("expected an object of macro parameters");
      for (const auto& [key, value] : macros.value().items()) {
        const Reader m(value, macros.where() + "." + key);
        const Reader texts = m.Field("texts");
        if (texts.Size() != 3)
          texts.Fail("expected 3 texts");
        MacroParameter parameter{AnsiOf(texts.At(0), codec), AnsiOf(texts.At(1), codec),
                                 AnsiOf(texts.At(2), codec), m.Field("value").Int()};
        const json key_text = key;
        p->parameters.emplace(AnsiOf(Reader(key_text, m.where()), codec), std::move(parameter));
      }
      return p;
    }
    default:
      r.Fail("path kind " + std::to_string(kind) + " has no parameter record");
  }
}

void ReadDrill(const Reader& r, DrillSubPara& d, const TextCodec& codec) {
  d.spindle_speed = r.Field("spindle_speed").Int();
  d.drill_mode = r.Field("drill_mode").Int();
  d.drill_feed = r.Field("drill_feed").Int();
  d.peck_depth = r.Field("peck_depth").Number();
  d.work_surface = r.Field("work_surface").Number();
  d.hole_depth = r.Field("hole_depth").Number();
  d.clearance = r.Field("clearance").Number();
  d.dwell_time = r.Field("dwell_time").Number();
  d.safe_distance = r.Field("safe_distance").Number();
  const Reader user = r.Field("user");
  if (user.Size() != 20)
    user.Fail("expected 20 texts");
  for (int i = 0; i < 20; ++i)
    d.user[i] = AnsiOf(user.At(i), codec);
}

std::unique_ptr<OrvoPath> ReadPath(const Reader& r, const TextCodec& codec) {
  const Reader class_field = r.Field("class");
  const std::string path_class = class_field.String();
  const int kind = r.Field("kind").Int();
  std::unique_ptr<OrvoPath> path;
  if (path_class == "2d") {
    path = std::make_unique<OrvoPath2d>();
  } else if (path_class == "3d") {
    path = std::make_unique<OrvoPath3d>();
  } else if (path_class == "drill") {
    if (kind != kDrillingPath)
      r.Field("kind").Fail("a drilling path has kind 67");
    path = std::make_unique<OrvoDrillPath>();
  } else if (path_class == "five_axis") {
    path = std::make_unique<OrvoPath5Axis>();
  } else {
    class_field.Fail("unknown path class \"" + path_class +
                     "\" (expected 2d, 3d, drill or five_axis)");
  }
  path->name = AnsiOf(r.Field("name"), codec);
  path->PathKind = kind;
  path->PathClassCode = r.Field("class_code").Int();
  path->MultiAxisKind = r.Field("multi_axis_kind").Int();
  path->wcs = ReadSystem(r.Field("wcs"), codec);
  path->Tool = ReadTool(r.Field("tool"), codec);
  path->feed = ReadFeed(r.Field("feed"));
  const Reader heights = r.Field("heights");
  path->safe_height = heights.Field("safe").Number();
  path->safe_height_mode = heights.Field("safe_mode").Int();
  path->approach_height = heights.Field("approach").Number();
  path->approach_height_mode = heights.Field("approach_mode").Int();
  path->five_safe_height = heights.Field("five_axis_safe").Number();
  path->five_link_height = heights.Field("five_axis_link").Number();
  path->five_approach_distance = heights.Field("five_axis_approach_distance").Number();

  if (auto* drill = dynamic_cast<OrvoDrillPath*>(path.get())) {
    drill->has_drill_record = r.Has("parameters");
    if (drill->has_drill_record)
      ReadDrill(r.Field("parameters"), drill->drill, codec);
  } else if (r.Has("parameters")) {
    path->sub_para = ReadParameters(kind, r.Field("parameters"), codec);
  }
  path->geometry = r.Has("geometry") ? ReadGeometry(r.Field("geometry")) : new Node;
  if (r.Has("rows"))
    path->rows = ReadRows(r.Field("rows"));
  if (r.Has("rows5"))
    path->rows5 = ReadRows5(r.Field("rows5"));
  path->UpdatePath();
  return path;
}

// ---- writing -------------------------------------------------------------

json SystemJson(const ncworkcoordinate& wcs, const TextCodec& codec) {
  json matrix = json::array();
  for (const auto& row : wcs.matrix.m) {
    for (double v : row)
      matrix.push_back(v);
  }
  return {{"name", codec.to_utf8(wcs.name)}, {"origin", PointJson(wcs.origin)},
          {"x_axis", PointJson(wcs.x_axis)}, {"y_axis", PointJson(wcs.y_axis)},
          {"z_axis", PointJson(wcs.z_axis)}, {"matrix", matrix}};
}

json ParametersJson(OrvoPath& path, const TextCodec& codec) {
  auto text = [&](const zu::Text& t) { return codec.to_utf8(t.str()); };
  if (auto* drill = dynamic_cast<OrvoDrillPath*>(&path)) {
    if (!drill->has_drill_record)
      return nullptr;
    const DrillSubPara& d = drill->drill;
    json user = json::array();
    for (const auto& u : d.user)
      user.push_back(text(u));
    return {{"spindle_speed", d.spindle_speed}, {"drill_mode", d.drill_mode},
            {"drill_feed", d.drill_feed},       {"peck_depth", d.peck_depth},
            {"work_surface", d.work_surface},   {"hole_depth", d.hole_depth},
            {"clearance", d.clearance},         {"dwell_time", d.dwell_time},
            {"safe_distance", d.safe_distance}, {"user", user}};
  }
  OrvoPathSubPara* para = path.GetSubPara();
  if (auto* p = dynamic_cast<SubPara7*>(para))
    return {{"side_selector", p->side_selector}};
  if (auto* p = dynamic_cast<SubPara50*>(para)) {
    return {{"side", p->side}, {"compensation", p->compensation}};
  }
  if (auto* p = dynamic_cast<SubPara62*>(para)) {
    return {{"side", p->side},
            {"compensation", p->compensation},
            {"skip_switch", p->skip_switch},
            {"skip_count", p->skip_count}};
  }
  if (auto* p = dynamic_cast<SubPara63*>(para)) {
    return {{"dwell_before", p->dwell_before},
            {"dwell_after", p->dwell_after},
            {"compensation_side", p->compensation_side},
            {"compensation", p->compensation},
            {"dwell_text", text(p->dwell_text)}};
  }
  if (auto* p = dynamic_cast<SubPara65*>(para)) {
    return {{"dwell_text", text(p->dwell_text)}, {"dwell", p->dwell}};
  }
  if (auto* p = dynamic_cast<SubPara71*>(para))
    return {{"side_code", p->side_code}};
  if (auto* p = dynamic_cast<OrvoPath_MacroMachining*>(para)) {
    json macros = json::object();
    for (const auto& [key, m] : p->parameters) {
      macros[codec.to_utf8(key)] = {{"texts", {text(m.text1), text(m.text2), text(m.text3)}},
                                    {"value", m.value}};
    }
    return {{"machine_tool_cmp", p->machine_tool_cmp}, {"macros", macros}};
  }
  return nullptr;
}

const char* ClassName(const OrvoPath& path) {
  if (dynamic_cast<const OrvoDrillPath*>(&path))
    return "drill";
  if (dynamic_cast<const OrvoPath5Axis*>(&path))
    return "five_axis";
  if (dynamic_cast<const OrvoPath3d*>(&path))
    return "3d";
  return "2d";
}

json MoveJson(const tool_block& move) {
  json m = json::array({move.kind, move.a, move.b, move.c});
  XYZ points[5];
  int count = 2;
  if (move.kind == kMoveArc && move.geometry) {
    const nc_arc& arc = *move.arc();
    points[0] = arc.centre;
    points[1] = arc.second;
    points[2] = arc.third;
    points[3] = arc.fourth;
    points[4] = arc.end;
    count = 5;
  } else if (move.geometry) {
    points[0] = move.line()[0].point;
    points[1] = move.line()[1].point;
  }
  for (int i = 0; i < count; ++i) {
    m.push_back(points[i].x);
    m.push_back(points[i].y);
    m.push_back(points[i].z);
  }
  if (count == 5) {
    m.push_back(move.arc()->radius);
    m.push_back(move.arc()->sweep);
  }
  return m;
}

// Appends a path: its fields on one line, then one move (or point) a line.
void FormatPath(OrvoPath& path, const TextCodec& codec, std::string& out) {
  json head = {
      {"name", codec.to_utf8(path.name.str())},
      {"class", ClassName(path)},
      {"kind", path.PathKind},
      {"class_code", path.PathClassCode},
      {"multi_axis_kind", path.MultiAxisKind},
      {"wcs", SystemJson(path.wcs, codec)},
      {"tool",
       {{"int1", path.Tool.int1},
        {"int2", path.Tool.int2},
        {"dimensions", json(std::vector<double>(path.Tool.dims, path.Tool.dims + 7))},
        {"name", codec.to_utf8(path.Tool.name.str())}}},
      {"feed",
       {path.feed.spindle_speed, path.feed.feed_a, path.feed.feed_b, path.feed.feed_c,
        path.feed.feed_d, path.feed.unused1, path.feed.unused2}},
      {"heights",
       {{"safe", path.safe_height},
        {"safe_mode", path.safe_height_mode},
        {"approach", path.approach_height},
        {"approach_mode", path.approach_height_mode},
        {"five_axis_safe", path.five_safe_height},
        {"five_axis_link", path.five_link_height},
        {"five_axis_approach_distance", path.five_approach_distance}}},
  };
  if (json parameters = ParametersJson(path, codec); !parameters.is_null()) {
    head["parameters"] = parameters;
  }
  if (path.geometry) {
    json geometry = json::object();
    if (!path.geometry->drill_points.empty()) {
      json points = json::array();
      for (const auto& p : path.geometry->drill_points)
        points.push_back(PointJson(p));
      geometry["drill_points"] = points;
    }
    if (!path.geometry->curves.empty()) {
      json curves = json::array();
      for (const auto& curve : path.geometry->curves) {
        json c = json::array();
        for (const auto& p : curve)
          c.push_back(PointJson(p));
        curves.push_back(c);
      }
      geometry["curves"] = curves;
    }
    head["geometry"] = geometry;
  }
  std::string text = head.dump();
  text.pop_back();  // the closing brace; the rows follow
  out += "  " + text;
  auto rows = [&](const char* name, auto first, auto each_row) {
    if (!first)
      return;
    out += ",\n   \"";
    out += name;
    out += "\": [";
    bool first_row = true;
    for (auto row = first; row; row = row->next) {
      out += first_row ? "\n    [" : ",\n    [";
      first_row = false;
      each_row(row);
      out += "]";
    }
    out += "]";
  };
  rows("rows", path.rows, [&](const tool_row* row) {
    for (const tool_block* move = row->first; move; move = move->next) {
      out += move == row->first ? "\n     " : ",\n     ";
      out += MoveJson(*move).dump();
    }
  });
  rows("rows5", path.rows5, [&](const nc_row_5* row) {
    for (int i = 0; i <= row->last; ++i) {
      const nc_point5& p = row->points[i];
      out += i == 0 ? "\n     " : ",\n     ";
      out += json::array({p.point.x, p.point.y, p.point.z, p.axis.x, p.axis.y, p.axis.z, p.flag})
                 .dump();
    }
  });
  out += "}";
}

}  // namespace

DocumentLoad ParsePartDocument(std::string_view text, const std::string& source,
                               const TextCodec& codec) {
  DocumentLoad result;
  json root;
  try {
    root = json::parse(text);
  } catch (const json::parse_error& e) {
    result.error = source + ": not JSON: byte " + std::to_string(e.byte) + ": " + e.what();
    return result;
  } catch (const json::exception& e) {
    result.error = source + ": " + WhereParsingStops(text) + ": a number out of range: " + e.what();
    return result;
  }
  try {
    const Reader r(root, "document");
    if (r.Field("format").String() != kFormat) {
      r.Field("format").Fail(std::string("expected \"") + kFormat + "\"");
    }
    if (r.Field("version").Int() != kVersion)
      r.Field("version").Fail("unknown version");
    auto document = std::make_unique<PartDocument>();
    const Reader stock = r.Field("stock");
    document->stock.corner = stock.Field("corner").Point();
    document->stock.size = stock.Field("size").Point();
    document->current_system = ReadSystem(r.Field("current_coordinate_system"), codec);
    const Reader paths = r.Field("paths");
    for (std::size_t i = 0, n = paths.Size(); i < n; ++i) {
      document->paths.push_back(ReadPath(paths.At(i), codec));
    }
    result.document = std::move(document);
  } catch (const Refusal& e) {
    result.error = source + ": " + e.what();
  }
  return result;
}

DocumentLoad LoadPartDocument(const std::string& path, const TextCodec& codec) {
  std::ifstream in(FilePath(path), std::ios::binary);
  if (!in)
    return {nullptr, path + ": cannot be read"};
  std::ostringstream text;
  text << in.rdbuf();
  return ParsePartDocument(text.str(), path, codec);
}

std::string FormatPartDocument(const PartDocument& document, const TextCodec& codec) {
  const json stock = {{"corner", PointJson(document.stock.corner)},
                      {"size", PointJson(document.stock.size)}};
  std::string out =
      "{\n \"format\": " + json(kFormat).dump() + ",\n \"version\": " + std::to_string(kVersion) +
      ",\n \"stock\": " + stock.dump() +
      ",\n \"current_coordinate_system\": " + SystemJson(document.current_system, codec).dump() +
      ",\n \"paths\": [";
  for (std::size_t i = 0; i < document.paths.size(); ++i) {
    out += i == 0 ? "\n" : ",\n";
    FormatPath(*document.paths[i], codec, out);
  }
  out += document.paths.empty() ? "]\n}\n" : "\n ]\n}\n";
  return out;
}

std::string SaveWhole(std::string_view text, const std::string& path) {
  const std::string temporary = path + ".saving";
  std::error_code ignored;
  {
    std::ofstream out(FilePath(temporary), std::ios::binary | std::ios::trunc);
    if (!out)
      return temporary + ": cannot be created";
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      std::filesystem::remove(FilePath(temporary), ignored);
      return temporary + ": could not be written completely";
    }
  }
  std::error_code error;
  std::filesystem::rename(FilePath(temporary), FilePath(path), error);
  if (error) {
    std::filesystem::remove(FilePath(temporary), ignored);
    return path + ": cannot be replaced: " + error.message();
  }
  return {};
}

std::string SavePartDocument(const PartDocument& document, const std::string& path,
                             const TextCodec& codec) {
  return SaveWhole(FormatPartDocument(document, codec), path);
}

}  // namespace zuhost
