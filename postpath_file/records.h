// The records of the post-path file (docs/post-path-file.md): one process
// of brackets, each bracket a path type, its parameter record and its
// moves, as the host's post-path writer takes them and the file's reader
// gives them back. Each field is a value the file holds exactly (reals bit
// for bit); the file shows some of them twice, once in a statement an APT
// post processor reads and once in a record of its own, and the writer and
// the reader keep the two in step. Coordinates are in the document's units
// (millimetres); texts are bytes in the host's code page (GBK).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zu::ppf {

struct Vec3 {
  double x = 0;
  double y = 0;
  double z = 0;
  friend bool operator==(const Vec3&, const Vec3&) = default;
};

// The head of the process: what the file says about itself and the
// process, and the process's fixture retracts.
struct ProcessHead {
  std::string file_version;
  std::string file_info;
  std::string process_name;
  std::string process_comment;
  int use_jig_retract = 0;
  double jig_retract_height = 0;
  friend bool operator==(const ProcessHead&, const ProcessHead&) = default;
};

// A bracket's path type, as the host numbers them.
inline constexpr int kPathDrill = 1;      // a drilling path: holes, no blocks
inline constexpr int kPathMill = 2;       // two- or three-axis milling
inline constexpr int kPathMultiAxis = 3;  // a multi-axis path of class 2302
inline constexpr int kPathFiveAxis = 4;   // class 2303, or five-axis orientation

// The tool of a bracket: its two names, its three integers (the first is
// the tool number) and seven values (the host's tool dimensions 1, 6, 3,
// a constant 0, dimensions 2, 5 and 7, in that order).
struct Tool {
  std::string name;
  std::string second_name;
  int first_integer = 0;
  int second_integer = 0;
  int third_integer = 0;
  std::array<double, 7> values{};
  friend bool operator==(const Tool&, const Tool&) = default;
};
// Where the tool's diameter and corner radius stand among its values.
inline constexpr int kToolDiameter = 0;
inline constexpr int kToolCornerRadius = 2;

// What every bracket's parameter record holds, with the bracket's type.
struct PathHead {
  int type = kPathMill;              // the bracket's path type, 1 to 4
  int record_path_type = kPathMill;  // the path type the record itself holds
  std::string name;
  double spindle_speed = 0;
  Vec3 home;
  std::optional<Vec3> tool_axis;  // at the home point, where the record has one
  // The path's coordinate system (or the fixture system): origin and axes
  // as the host keeps them, not necessarily of length 1.
  Vec3 origin;
  Vec3 x_axis;
  Vec3 y_axis;
  Vec3 z_axis;
  // The stock box: lowest and highest corner.
  Vec3 stock_min;
  Vec3 stock_max;
  Tool tool;
  friend bool operator==(const PathHead&, const PathHead&) = default;
};

// The rest of the record of a milling, multi-axis or five-axis bracket.
struct MillRecord {
  std::vector<std::pair<std::string, std::string>> macro_pairs;  // (key, value) in order
  std::string dwell_text;
  std::array<double, 10> feeds{};  // by feed type 0 to 9; negative: rapid
  double safe_height = 0;
  double approach_height = 0;
  friend bool operator==(const MillRecord&, const MillRecord&) = default;
};

// The rest of the record of a drilling bracket; its holes follow it.
struct DrillRecord {
  int drill_mode = 0;
  std::array<double, 7> values{};  // indexed by the constants below
  std::array<std::string, 20> user;
  friend bool operator==(const DrillRecord&, const DrillRecord&) = default;
};
inline constexpr int kDrillFeed = 0;
inline constexpr int kDrillClearance = 1;
inline constexpr int kDrillSafeDistance = 2;
inline constexpr int kDrillHoleDepth = 3;
inline constexpr int kDrillPeckDepth = 4;
inline constexpr int kDrillDwellTime = 5;
inline constexpr int kDrillWorkSurface = 6;

// Block kinds, dwell codes and position marks.
inline constexpr int kBlockLine = 1;
inline constexpr int kBlockArc = 2;
inline constexpr int kNoDwell = -1;      // no dwell
inline constexpr int kDwellBefore = 0;   // before the move
inline constexpr int kDwellAfter = 1;    // after the move
inline constexpr int kDwellBoth = 2;     // before and after it
inline constexpr int kMarkNone = 0;      // an ordinary move
inline constexpr int kMarkRetract = 1;   // the move out of a stretch
inline constexpr int kMarkApproach = 2;  // the move to an approach point
inline constexpr int kCompensationOff = 0;
inline constexpr int kCompensationLeft = 1;
inline constexpr int kCompensationRight = 2;

// One move of a milling, multi-axis or five-axis bracket. The file holds
// the fields of the block's kind: a line's centre is not written and reads
// back as (0, 0, 0), nor is `vector` where `has_vector` is false.
struct Block {
  int kind = kBlockLine;
  int feed_type = 1;  // 0 to 9: the index of the record's feed
  int compensation = kCompensationOff;
  int dwell = kNoDwell;
  int position_mark = kMarkNone;
  Vec3 end;
  Vec3 centre;              // arcs
  bool has_vector = false;  // always true for arcs
  Vec3 vector;              // arcs: the plane's normal, as given; lines: the tool axis
  friend bool operator==(const Block&, const Block&) = default;
};

}  // namespace zu::ppf
