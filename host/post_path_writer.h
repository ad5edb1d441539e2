// The host's post-path writer: the library that writes the main road's
// tool-location file (the post-path file, docs/post-path-file.md). A caller
// opens the file, starts the process, writes each path as one bracket of a
// parameter record and its blocks, ends the process and closes the file.
// The writer owns the file's layout; the caller decides what it is told.
//
// Texts are in the ANSI code page. Points are in the coordinates the caller
// gives (the path's work system, or the fixture system in orientation
// milling). The operations return 0 on success and 1 on failure; every
// operation after a failure fails too, and FileClose reports the first one
// (ErrorText says what it was). A call out of order (a block outside a
// bracket, a second StartToolPath before EndToolPath, anything before
// FileWrite), a null pointer, a value the file cannot hold (infinity or
// NaN, a text with CR, LF or NUL, a code out of its range) is such a
// failure; nothing is left half written.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "framework/text.h"
#include "host/geometry.h"
#include "host/host_api.h"

// The kind of a tool-path bracket.
enum PATHTYPE {
  PATHTYPE_DRILL = 1,      // a drilling path: its holes in the record, no blocks
  PATHTYPE_MILL = 2,       // a two- or three-axis milling path
  PATHTYPE_MULTIAXIS = 3,  // a multi-axis path of class 2302
  PATHTYPE_FIVEAXIS = 4,   // a multi-axis path of class 2303, or a path in five-axis orientation
};

// The tool of a path as the writer takes it: the tool name twice, tool
// integer 1 (the tool number), tool integer 2 twice, and seven values (tool
// dimensions 1, 6, 3, the constant 0, dimensions 2, 5, 7). Values 1 and 3,
// the diameter and the corner radius, also make the file's CUTTER.
class ZUHOST_API CPostTool {
 public:
  zu::Text name;
  zu::Text second_name;
  int first_integer = 0;
  int second_integer = 0;
  int third_integer = 0;
  double values[7] = {};
};

// What every bracket's parameter record holds. The caller makes one of the
// two records below (the destructor is defined in zuhost.dll).
class ZUHOST_API CPostPathPara {
 public:
  virtual ~CPostPathPara();
  zu::Text path_name;
  // The path type the record holds, written as it is beside the bracket's
  // own (as a rule the same).
  int path_type = PATHTYPE_MILL;
  double spindle_speed = 0;
  XYZ home_point;
  // The tool axis at the home point; only set where a bracket has one (in
  // orientation milling and for multi-axis paths).
  bool has_tool_axis = false;
  XYZ tool_axis;
  // The path's coordinate system (or the fixture system in five-axis
  // orientation): origin and axes as the host keeps them.
  XYZ origin;
  XYZ x_axis;
  XYZ y_axis;
  XYZ z_axis;
  // The stock box: its lowest and its highest corner.
  XYZ stock_min;
  XYZ stock_max;
  CPostTool tool;
};

// The record of a milling, multi-axis or orientation bracket.
class ZUHOST_API CPostPathMill3DPara : public CPostPathPara {
 public:
  // Macro parameters of a kind-90 path: (key, value) pairs in order.
  std::vector<std::pair<zu::Text, zu::Text>> macro_pairs;
  // The dwell text of a kind-63 or kind-65 path; empty for the others.
  zu::Text dwell_text;
  // Feed values by feed type 0 to 9 (-1 where a feed type has none); a
  // block moves at feeds[its feed type], a negative one being rapid.
  double feeds[10] = {};
  double safe_height = 0;
  double approach_height = 0;
};

// The record of a drilling bracket: its holes and cycle values.
class ZUHOST_API CPostPathDrill3DPara : public CPostPathPara {
 public:
  int drill_mode = 0;
  std::vector<XYZ> holes;
  // Drill feed, clearance, safe distance, hole depth, peck depth, dwell time,
  // work surface.
  double drill_values[7] = {};
  zu::Text user[20];
};

// Position marks of point-and-axis blocks.
inline constexpr int kMarkNone = 0;
inline constexpr int kMarkRetract = 1;   // the move out of a stretch
inline constexpr int kMarkApproach = 2;  // the move to an approach point

// One move of a bracket. The codes must lie in the ranges given; an arc
// must have its normal (has_vector, not the zero vector). A straight
// move's centre is not written, nor `vector` where has_vector is false.
struct ZUHOST_API CPostPathBlock {
  int kind = 1;          // 1 straight move, 2 arc
  int feed_type = 1;     // 0 to 9: the index of its feed; the host's segment kind plus one, 1 rapid
  int compensation = 0;  // 0 off, 1 or 2 on (one plus the compensation side)
  int dwell = -1;        // -1 none, 0 before the move, 1 after it, 2 both
  int position_mark = kMarkNone;
  bool has_vector = false;  // arcs and point-and-axis blocks carry `vector`
  XYZ end_point;
  XYZ centre;  // arcs
  XYZ vector;  // arcs: the arc plane's normal; point-and-axis blocks: the tool axis
};

class ZUHOST_API CPostPathWrite {
 public:
  CPostPathWrite();
  // A file still open is closed and removed: it was not written whole.
  virtual ~CPostPathWrite();
  CPostPathWrite(const CPostPathWrite&) = delete;
  CPostPathWrite& operator=(const CPostPathWrite&) = delete;

  // The process header, taken by StartProcess.
  void SetFileVersion(const zu::Text& version);
  void SetFileInfo(const zu::Text& info);
  void SetProcessName(const zu::Text& name);
  void SetProcessComment(const zu::Text& comment);

  // Creates or truncates the file at `path` as a text file (lines end in
  // CR LF); 0 on success, else nonzero and nothing else can be written
  // until FileClose. Fails while another file is open.
  virtual int FileWrite(const char* path);
  virtual int StartProcess();
  // Opens a bracket of `type` with `para` (read, not kept): a drilling
  // bracket takes a CPostPathDrill3DPara, the others a CPostPathMill3DPara.
  virtual int StartToolPath(PATHTYPE type, CPostPathPara* para);
  // A move of the open milling, multi-axis or five-axis bracket.
  virtual int WriteBlock(CPostPathBlock* block);
  virtual int EndToolPath();
  virtual int EndProcess();
  // Writes out and closes the file: 0 when the whole file was written. A
  // file that was not (a failure before, the process not ended, a failed
  // write or close) is removed, so that no post processor reads part of
  // one. The object may then write another file.
  virtual int FileClose();

  // What failed first in the current (or last closed) file, or "" while
  // nothing did; valid until the next call.
  const char* ErrorText() const;

  // Fixture retracts of the process: set before StartProcess.
  int UseJigRetract = 0;
  double JigRetractHeight = 0;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
