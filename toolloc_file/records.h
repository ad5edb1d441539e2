// The records of the text tool-location file (docs/tool-location-file.md),
// as its writer takes them and its reader gives them back. Each field is a
// value the file holds once; where the file repeats a value (the tool's
// second integer, feed values in several positions) or holds a constant
// (the tool list's 0, the feed line's -1), the record holds it once and the
// writer and the reader keep the repetitions in step. Coordinates are in the
// document's units; texts are bytes in the host's code page (GBK), written
// unchanged but for the tool name's commas.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zu {

struct Vec3 {
  double x = 0;
  double y = 0;
  double z = 0;
  friend bool operator==(const Vec3&, const Vec3&) = default;
};

// "[filehead]": the number of picked objects, once as the path number and
// once as the tool number (equal as the plug-in writes them).
struct FileHead {
  int path_number = 0;
  int tool_number = 0;
  friend bool operator==(const FileHead&, const FileHead&) = default;
};

// One line of "[toollist]": "index,name,int1,int2,int2,d1,d6,d3,0,d2,d5,d7,ORVO ZU".
// `name` holds no ',' (the writer writes each as a blank; the reader gives
// back the name as written). Tool dimension 4 is never written.
struct ToolEntry {
  int index = 0;
  std::string name;
  int integer1 = 0;
  int integer2 = 0;
  double dimension1 = 0;
  double dimension6 = 0;
  double dimension3 = 0;
  double dimension2 = 0;
  double dimension5 = 0;
  double dimension7 = 0;
  friend bool operator==(const ToolEntry&, const ToolEntry&) = default;
};

// A coordinate system: origin and axes (directions; lengths as the host
// keeps them).
struct Frame {
  Vec3 origin;
  Vec3 x_axis;
  Vec3 y_axis;
  Vec3 z_axis;
  friend bool operator==(const Frame&, const Frame&) = default;
};

// "[jigcoordinate]": whether the fixture system is used, and that system.
struct JigSection {
  int use_jig = 0;
  Frame frame;
  friend bool operator==(const JigSection&, const JigSection&) = default;
};

// The start of a path record: "[pathpara]", the path's name, its tool index.
struct PathStart {
  std::string name;
  int tool_index = 0;
  friend bool operator==(const PathStart&, const PathStart&) = default;
};

// The rest of a path record's head: home point, the path's coordinate
// system, the stock box (corner and size along X, Y, Z).
struct PathPlacement {
  Vec3 home;
  Frame frame;
  Vec3 stock_corner;
  Vec3 stock_size;
  friend bool operator==(const PathPlacement&, const PathPlacement&) = default;
};

// "pathtype 1" and the drill keys. Speed and drill feed are integers in the
// host's record, written as reals.
struct DrillKeys {
  double speed = 0;
  int drill_mode = 0;
  double drill_feed = 0;
  double clearance = 0;
  double safe_distance = 0;
  double hole_depth = 0;
  double peck_depth = 0;
  double dwell_time = 0;
  double work_surface = 0;
  std::string user[20];  // udpara1 .. udpara20
  friend bool operator==(const DrillKeys&, const DrillKeys&) = default;
};

// The four feed values of a path's feed-rate record, which the feed line
// writes in ten positions: A, -1, -1, D, B, A, B, B, C, -1.
struct FeedLine {
  double a = 0;
  double b = 0;
  double c = 0;
  double d = 0;
  friend bool operator==(const FeedLine&, const FeedLine&) = default;
};

// "pathtype 2" (two- and three-axis milling) or "pathtype 5" (five-axis) and
// the mill keys; "paradwell" only where a path of kind 63 or 65 has it (never
// in a five-axis record).
inline constexpr int kPathTypeDrill = 1;
inline constexpr int kPathTypeMill = 2;
inline constexpr int kPathTypeFiveAxis = 5;
struct MillKeys {
  int path_type = kPathTypeMill;
  double safe_height = 0;
  int safe_height_mode = 0;
  double approach_height = 0;
  int approach_height_mode = 0;
  double speed = 0;
  FeedLine feed;
  std::optional<std::string> dwell_text;
  friend bool operator==(const MillKeys&, const MillKeys&) = default;
};

// A block after a mill or five-axis record. Each type has its own fields;
// the writer writes those of the block's type only and the reader leaves the
// others at their defaults.
enum class BlockType {
  Line = 1,          // "endpoint"; in five-axis records also "endpointvector"
  Arc = 2,           // "endpoint", "center", "vector"
  FeedType = 3,      // "feedtype" 1 to 9
  Compensation = 4,  // "toolcmpflag" 0 (off), 1 or 2 (on, side + 1)
  Dwell = 5,         // "dwellflag" 0, 1 or 2
};
struct Block {
  BlockType type = BlockType::Line;
  Vec3 end;                        // Line, Arc
  Vec3 centre;                     // Arc
  Vec3 normal;                     // Arc: the arc plane's normal, by the sweep's sign
  std::optional<Vec3> end_vector;  // Line in a five-axis record: the tool axis
  int code = 0;                    // FeedType, Compensation, Dwell
  friend bool operator==(const Block&, const Block&) = default;
};

}  // namespace zu
