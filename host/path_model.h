// The host's tool paths as the plug-in reads them: a path with its work
// coordinate system, kinds, tool, feed rates, heights, type-specific
// parameter record, source geometry and rows of moves; five-axis paths carry
// rows of points with tool axes instead. Fields are declared in the order the
// plug-in relies on. Paths own their rows, geometry and parameter record.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/text.h"
#include "host/geometry.h"
#include "host/host_api.h"

// The path's tool.
struct tool {
  int int1 = 0;
  int int2 = 0;
  double dims[7] = {};  // tool dimensions 1 to 7
  zu::Text name;
};

// Feed rates: spindle speed, feed values A to D, and two values no writer reads.
struct OrvoMillFeedRate {
  double spindle_speed = 0;
  double feed_a = 0;
  double feed_b = 0;
  double feed_c = 0;
  double feed_d = 0;
  double unused1 = 0;
  double unused2 = 0;
};

// One end of a line move: the point and a "set" flag.
struct tls {
  XYZ point;
  short set = 1;
};

// Arc geometry: centre, a point on the arc's X axis, a point on its Y axis
// (both 10 from the centre as the host makes them), the start point, the end
// point, the radius and the signed sweep angle (radians; negative for
// clockwise about the arc's normal).
struct nc_arc {
  XYZ centre;
  XYZ second;
  XYZ third;
  XYZ fourth;  // start point
  XYZ end;
  double radius = 0;
  double sweep = 0;
};

// Move kinds.
inline constexpr int kMoveLine = 1;
inline constexpr int kMoveArc = 2;

// Compensation marks carried in attribute c.
inline constexpr int kCompensationStart = -5;
inline constexpr int kCompensationEnd = -6;

// One move. Geometry is two tls records (start, end) for every kind but 2,
// an nc_arc for kind 2; the move owns it (NcFreeRows frees both).
struct tool_block {
  int host_int1 = 0;
  int host_int2 = 0;
  std::int8_t a = 0;
  std::uint8_t host_byte_a1 = 5;  // 5 for lines, 245 for arcs
  std::uint8_t host_byte_a2 = 1;
  std::int8_t b = 0;
  std::uint8_t host_byte_b = 5;
  int c = 7;  // third attribute; -5 compensation starts, -6 ends
  void* geometry = nullptr;
  int kind = kMoveLine;
  tool_block* next = nullptr;

  tls* line() const { return static_cast<tls*>(geometry); }
  nc_arc* arc() const { return static_cast<nc_arc*>(geometry); }
};

// A row: its first move and the next row.
struct tool_row {
  tool_block* first = nullptr;
  tool_row* next = nullptr;
};

// A five-axis point: position, tool axis (a direction) and flag: 0 where a
// cutting stretch starts or ends, 1 a point between them (inside a stretch,
// or leading into a row), 255 not a path point.
struct nc_point5 {
  XYZ point;
  XYZ axis;
  std::uint8_t flag = 0;
};
inline constexpr std::uint8_t kPointStretchEnd = 0;
inline constexpr std::uint8_t kPointInner = 1;
inline constexpr std::uint8_t kPointSkipped = 255;

// A five-axis row: points 0 to last (last < 0: none), owned by the row.
struct nc_row_5 {
  int host_int = 0;
  int last = -1;
  nc_point5* points = nullptr;
  nc_row_5* next = nullptr;
};

// A source curve of a milling path, as a polyline; curves form a list.
struct curvecmp {
  std::vector<XYZ> points;
  curvecmp* next = nullptr;
};

// The source geometry of a path: hole positions of a drilling path, source
// curves of a milling path.
struct Node {
  std::vector<XYZ> drill_points;
  std::vector<std::vector<XYZ>> curves;
};

// The stock box.
struct CRoughBlock {
  int host_int = 0;
  int host_member = 0;
  XYZ corner;
  XYZ size;  // extents along X, Y and Z
};
extern ZUHOST_API CRoughBlock g_roughblock;

// Type-specific parameter records, one class per path kind that has one.
class ZUHOST_API OrvoPathSubPara {
 public:
  virtual ~OrvoPathSubPara();
  // A copy owned by the caller.
  virtual std::unique_ptr<OrvoPathSubPara> Clone() const = 0;
};

template <typename Derived>
class SubParaOf : public OrvoPathSubPara {
 public:
  std::unique_ptr<OrvoPathSubPara> Clone() const override {
    return std::make_unique<Derived>(static_cast<const Derived&>(*this));
  }
};

// Kind 67, drilling.
struct DrillSubPara : SubParaOf<DrillSubPara> {
  int spindle_speed = 0;
  int drill_mode = 0;
  int drill_feed = 0;
  double peck_depth = 0;
  double work_surface = 0;
  double hole_depth = 0;
  double clearance = 0;
  double dwell_time = 0;
  double safe_distance = 0;
  zu::Text user[20];
};

// Kind 7: the side selector (1 or 2; other values: no compensation).
struct SubPara7 : SubParaOf<SubPara7> {
  int side_selector = 0;
};

// Kind 50: side and compensation switch.
struct SubPara50 : SubParaOf<SubPara50> {
  int side = 0;
  int compensation = 0;
};

// Kind 62: side, compensation switch, and the compensation-skip switch and
// count (compensation starts to pass over).
struct SubPara62 : SubParaOf<SubPara62> {
  int side = 0;
  int compensation = 0;
  int skip_switch = 0;
  int skip_count = 0;
};

// Kind 63: dwell switches, compensation side and switch, dwell text.
struct SubPara63 : SubParaOf<SubPara63> {
  int host_first = 0;
  int dwell_before = 0;
  int dwell_after = 0;
  int compensation_side = 0;
  int compensation = 0;
  zu::Text dwell_text;
};

// Kind 65: dwell text and dwell switch.
struct SubPara65 : SubParaOf<SubPara65> {
  zu::Text dwell_text;
  int dwell = 0;
};

// Kind 71: the side code.
struct SubPara71 : SubParaOf<SubPara71> {
  int side_code = 0;
};

// One macro parameter: three texts and an int.
struct MacroParameter {
  zu::Text text1;
  zu::Text text2;
  zu::Text text3;
  int value = 0;
};

// Kind 90, macro machining: parameters by key, and the machine tool's
// compensation side.
class ZUHOST_API OrvoPath_MacroMachining : public SubParaOf<OrvoPath_MacroMachining> {
 public:
  std::map<std::string, MacroParameter> parameters;
  int machine_tool_cmp = -3;
  int GetMachineToolCmp() const { return machine_tool_cmp; }
};

// Multi-axis kinds.
inline constexpr int kTwoOrThreeAxis = 0;
inline constexpr int kFiveAxis = 500;
// Path kinds with a meaning of their own.
inline constexpr int kDrillingPath = 67;
inline constexpr int kMillingPath = 7;

// A host path. Copies are made with ClonePath or HostCopyPathByMatrix and
// released with delete through the virtual destructor.
class ZUHOST_API OrvoPath {
 public:
  OrvoPath() = default;
  OrvoPath(const OrvoPath&) = delete;
  OrvoPath& operator=(const OrvoPath&) = delete;
  virtual ~OrvoPath();

  // The type-specific parameter record, or null; owned by the path.
  virtual OrvoPathSubPara* GetSubPara();
  // A deep copy owned by the caller.
  virtual OrvoPath* ClonePath() const = 0;
  // Brings derived data up to date after rows or geometry changed.
  virtual void UpdatePath();

  // The path's name in the host's path tree.
  const char* GetPathNameInTree() const { return name.c_str(); }
  // Number of moves (two- and three-axis) or points (five-axis), as of the
  // last UpdatePath.
  long MoveCount() const { return move_count_; }

  ncworkcoordinate wcs;
  int MultiAxisKind = kTwoOrThreeAxis;
  int PathKind = kMillingPath;
  int PathClassCode = 2300;
  tool Tool;
  Node* geometry = nullptr;  // owned
  tool_row* rows = nullptr;  // owned; two- and three-axis paths
  int rows_extra = 0;        // host field after the rows pointer
  OrvoMillFeedRate feed;
  double safe_height = 0;
  int safe_height_mode = 0;
  double approach_height = 0;
  int approach_height_mode = 0;
  double five_safe_height = 0;
  double five_link_height = 0;
  double five_approach_distance = 0;
  nc_row_5* rows5 = nullptr;  // owned; five-axis paths
  zu::Text name;
  std::unique_ptr<OrvoPathSubPara> sub_para;

 protected:
  // Copies every field, rows and geometry included, into `copy`.
  void CopyInto(OrvoPath& copy) const;
  long move_count_ = 0;
};

class ZUHOST_API OrvoPath2d : public OrvoPath {
 public:
  OrvoPath* ClonePath() const override;
  // Maps every point of `first` and the rows after it from the path's work
  // coordinate system to system coordinates (through the inverse of the
  // work system's matrix).
  void RowNCwctoSYSwc(tool_row* first);
};

class ZUHOST_API OrvoPath3d : public OrvoPath2d {
 public:
  OrvoPath* ClonePath() const override;
};

// The drilling parameters of a drilling path; the host's drilling path class
// is both an OrvoPath2d and an OrvoPath_DRILL, so a cross-cast reaches them.
class ZUHOST_API OrvoPath_DRILL {
 public:
  virtual ~OrvoPath_DRILL();
  DrillSubPara drill;
};

class ZUHOST_API OrvoDrillPath : public OrvoPath2d, public OrvoPath_DRILL {
 public:
  OrvoDrillPath() { PathKind = kDrillingPath; }
  // The drilling record, or null for a drilling path made without one.
  OrvoPathSubPara* GetSubPara() override { return has_drill_record ? &drill : nullptr; }
  OrvoPath* ClonePath() const override;
  bool has_drill_record = true;
};

// A five-axis path: MultiAxisKind 500, rows in rows5.
class ZUHOST_API OrvoPath5Axis : public OrvoPath {
 public:
  OrvoPath5Axis() {
    MultiAxisKind = kFiveAxis;
    PathClassCode = 2302;
  }
  OrvoPath* ClonePath() const override;
};
