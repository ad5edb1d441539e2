// The interpreter's state and operations, shared by the files that hold
// them: reading lines and programs (interpreter.cpp, subprograms.cpp), the
// meaning of a block (modal.cpp, motion.cpp, cycles.cpp) and what is sent to
// the receiver (paths.cpp); rotary axes, tool-centre-point control and
// inverse-time feeds (rotary.cpp). Internal to gcode/.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "gcode/internal/block.h"
#include "gcode/interpreter.h"

namespace zu::gcode::internal {

using Point = std::array<double, 3>;

constexpr double kInch = 25.4;
constexpr double kPowersOfTen[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr std::size_t kHeldRapids = 64;
constexpr std::size_t kMaxPrograms = 10000;
constexpr int kMaxOffsetNumber = 999;
constexpr int kMaxRepeats = 9999;
constexpr double kNotSent = std::numeric_limits<double>::quiet_NaN();

enum class Motion : std::uint8_t { kRapid, kLinear, kClockwise, kCounterClockwise, kCip, kCt };
enum class PathKind : std::uint8_t { kNone, kMilling, kDrilling };

// The in-plane axes of a plane and its normal, with their centre words.
struct PlaneAxes {
  int a, b, n;
  char centre_a, centre_b, other;
  const char* name;
};
constexpr PlaneAxes kPlanes[] = {{0, 1, 2, 'I', 'J', 'K', "XY plane (G17)"},
                                 {2, 0, 1, 'K', 'I', 'J', "ZX plane (G18)"},
                                 {1, 2, 0, 'J', 'K', 'I', "YZ plane (G19)"}};

struct DrillValues {
  int mode = 0;
  double safe = 0, dwell = 0, peck = 0, depth = 0, clearance = 0, surface = 0, feed = 0, speed = 0;
  bool operator==(const DrillValues&) const = default;
};

// The key plan_ holds for a SIEMENS CYCLE800 call in place of a G code's.
constexpr int kSwivelCycle = -1;
// "G68.2" for the key 682, "CYCLE800" for kSwivelCycle: for messages.
std::string CommandName(int key);

// A tilted working plane (G68.2, CYCLE800): a point p programmed in it is
// origin + p[0] * axes[0] + p[1] * axes[1] + p[2] * axes[2] in the frame the
// receiver is given (tilted_plane.cpp).
struct TiltedPlane {
  bool active = false;
  bool turned = false;    // the tool turned along its Z (G53.1, CYCLE800)
  Point origin{0, 0, 0};  // work offset included
  std::array<Point, 3> axes{Point{1, 0, 0}, Point{0, 1, 0}, Point{0, 0, 1}};
};

// The state a block may change, copied before each block so that a block
// with an error changes nothing.
struct Modal {
  Units units;
  Plane plane;
  bool incremental;
  bool return_to_r;
  Motion motion;
  int offset_index;
  Point offset;
  int compensation = kCompensationOff;
  bool compensation_changed = true;
  bool compensation_starting = false;  // G41/G42 given, no straight move in the plane yet
  double feed = 0;
  bool feed_known = false;
  double speed = 0;
  bool speed_known = false;
  bool spindle_stopped = false;
  long tool = -1;
  long next_tool = -1;
  int d = -1;
  int h = -1;
  Point position{0, 0, 0};
  bool position_known = false;  // until the first move, the tool is anywhere
  Point tangent{0, 0, 0};
  bool tangent_known = false;
  // G8x cycles
  int cycle = 0;
  double cycle_r = 0, cycle_z = 0, cycle_q = 0, cycle_dwell = 0, initial_z = 0;
  bool r_known = false, z_known = false, q_known = false;
  // SIEMENS MCALL
  bool mcall = false;
  int mcall_cycle = 0;
  int mcall_count = 0;
  std::uint32_t mcall_present = 0;
  std::array<double, internal::kMaxArguments> mcall_arguments{};
  // Five axes: the rotary axes, tool-centre-point control and the tool
  // vector at the end of the block; its inverse-time F (rotary.cpp).
  AxisState axes;
  std::uint8_t rotary_lost = 0;  // axes whose position a tool vector left to the control
  bool inverse_time = false;     // G93 in force
  // While a plane is in force, `position` and `tangent` are in its frame.
  TiltedPlane tilt;
};

// One move a block makes, computed before anything is sent.
struct Move {
  enum Kind : std::uint8_t { kRapid, kFeed, kArc } kind;
  Point end;
  Point centre;
  Point axis;
};

// The holes of one block.
struct Holes {
  int count = 0;
  Point first;
  Point step;  // between repeats
  double after_z = 0;
  DrillValues values;
};

inline Point Minus(const Point& p, const Point& q) {
  return {p[0] - q[0], p[1] - q[1], p[2] - q[2]};
}
inline Point Cross(const Point& p, const Point& q) {
  return {p[1] * q[2] - p[2] * q[1], p[2] * q[0] - p[0] * q[2], p[0] * q[1] - p[1] * q[0]};
}
inline double Dot(const Point& p, const Point& q) {
  return p[0] * q[0] + p[1] * q[1] + p[2] * q[2];
}
inline bool Same(const Point& p, const Point& q) {
  return p[0] == q[0] && p[1] == q[1] && p[2] == q[2];
}

inline std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

class Interpreter {
 public:
  Interpreter(const NcSystem& system, LineSource& source, PathReceiver& receiver,
              MultiAxisReceiver* axes, const ReadOptions& options)
      : sys_(system),
        source_(source),
        out_(receiver),
        axes_(axes),
        options_(options),
        offsets_(system.work_offsets),
        radii_(kMaxOffsetNumber + 1, kNotSent) {
    modal_.units = system.units;
    modal_.plane = system.plane;
    modal_.incremental = system.incremental;
    modal_.return_to_r = system.return_to_r;
    modal_.motion = system.start_linear ? Motion::kLinear : Motion::kRapid;
    modal_.offset_index = system.work_offset;
    modal_.offset = OffsetOf(system.work_offset);
  }

  ProgramRead Run();

 private:
  // Reading
  void HandleLine(const LinePosition& at, bool fresh);
  void HandleHeader(LineKind kind, const LinePosition& at, bool fresh, std::string_view rest);
  void RunBlock(std::string_view text);
  void CarryOut(bool deleted);
  void MainProgramWithoutEnd();
  void Error(std::string message, Outcome outcome = Outcome::kLeftOut);
  void Index(const std::string& key, const LinePosition& body);
  bool Find(const std::string& key, LinePosition& body, bool& cannot_seek);
  void Call(const std::string& key, long repeats);
  void Return(bool forced);
  std::string EndName() const;

  // Meaning
  void Execute();
  void CheckAlarms(const Point& before);
  bool PlanPlainMove();
  bool Plan();
  bool TakeTechnology();
  bool PlanMotion();
  bool PlanArc(bool clockwise);
  bool PlanCip();
  bool PlanCt();
  bool PlanCycleHoles();
  bool PlanCallHoles(int cycle, const double* arguments, std::uint32_t present, int count);
  bool PlanDwell();
  bool PlanOffsetData();
  bool PlanHome();
  bool PlanAxes();
  bool PlanInverseTime();
  bool PlanTiltedPlane(bool& done);
  bool DefinePlane(const std::string& name);
  bool InTiltedPlane();
  bool HolesAtFeedPerMinute();
  bool Fail(std::string message);

  double Length(char letter) const;
  double Angle(char letter) const;
  double Convert(double value) const {
    return modal_.units == Units::kInches ? value * kInch : value;
  }
  double Target(int axis, char letter) const;
  Point TargetPoint() const;
  // The work offset added to absolute positions: none in a tilted plane,
  // whose origin holds it.
  double Shift(std::size_t axis) const { return modal_.tilt.active ? 0 : modal_.offset[axis]; }
  // A point, and a direction, of the plane in force in the frame sent.
  Point ToWork(const Point& p) const;
  Point TurnToWork(const Point& v) const;
  Point OffsetOf(int index) const;
  double Seconds(double value, bool has_point, TimeUnit unit, char letter,
                 std::string& error) const;
  bool WholeNumber(char letter, long maximum, long& value);

  // Sending
  void Perform();
  void PerformCall();
  void ChangeTool();
  void OpenPath(PathKind kind);
  void ClosePath(bool send_held);
  // Ends the open drill group, if any: its holes go to the receiver.
  void EndDrillGroup();
  // Sends the held positioning rapids to the open path and forgets them.
  void SendHeldRapids();
  void Sync(bool opening = false);
  void SendRapid(const Point& end);
  void SendCut(const Move& move);
  void SendHole(const DrillValues& values, const Point& bottom);
  void SendToolState();
  // The axes' state a move reports: the tilted plane's tool axis while the
  // tool is turned to it.
  AxisState Reported() const;
  // Gives the multi-axis receiver, if any, the state of the move sent next.
  void AnnounceAxes(const AxisState& axes) {
    if (axes_ != nullptr)
      axes_->AxesOfNextMove(axes);
  }
  // Whether a move to where the tool is is sent all the same: it turns the
  // rotary axes or the tool vector, and a multi-axis receiver is given.
  bool SendStill() const { return axes_ != nullptr && plan_.axes_moved; }
  double Diameter() const;
  double EffectiveSpeed() const { return modal_.spindle_stopped ? 0 : modal_.speed; }

  const NcSystem& sys_;
  LineSource& source_;
  PathReceiver& out_;
  MultiAxisReceiver* const axes_;  // null: none given
  const ReadOptions options_;
  ProgramRead result_;

  // The line being read.
  std::string_view line_;
  std::uint64_t line_number_ = 0;
  Block block_;
  std::string key_;

  Modal modal_;
  std::vector<WorkOffset> offsets_;
  std::vector<double> radii_;  // G10 L12 radii by D number
  std::string tool_name_;
  std::string next_tool_name_;

  // What the current block does, planned before anything is sent.
  struct {
    bool tool_change, stop, end, sub_end, home, dwell, offset_data, machine, path_tolerance;
    bool spindle_changed;
    int call_form;  // 0 none, 1 M98, 2 named
    int move_count;
    std::array<Move, 3> moves;
    Holes holes;
    bool tool_named;
    std::string tool_name;
    std::uint32_t consumed;  // letters the block's meaning uses
    // G10 data to apply
    int offset_target;  // index into offsets_ (L2) or radii_ (L12), -1 none
    bool offset_is_radius;
    Point offset_values;
    std::uint8_t offset_axes;
    // Five axes
    bool axes_moved;             // the block turns a rotary axis or the tool vector
    std::uint32_t rotary_words;  // the rotary axis words it holds
    bool has_inverse_f;          // F given under G93
    double inverse_f;            // that F, 1/minutes
    bool tcp_code;               // G43.4 given
    // Tilted planes: the G code keys of a definition, a tool turn and a
    // cancel in the block (0 none), CYCLE800 taken as the first two or the
    // last; the work offset in force before the block.
    int plane_define, plane_turn, plane_cancel;
    int offset_before;
  } plan_;

  // Paths
  PathKind kind_ = PathKind::kNone;
  int path_count_ = 0;
  std::array<Point, kHeldRapids> held_;
  std::array<AxisState, kHeldRapids> held_axes_;
  std::size_t held_count_ = 0;
  bool group_open_ = false;
  DrillValues group_;
  double feed_sent_ = kNotSent, speed_sent_ = kNotSent, diameter_sent_ = kNotSent;
  int d_sent_ = -2;
  long tool_sent_ = -2;
  std::string name_sent_;

  // Programs and calls
  bool main_started_ = false;
  bool skipping_ = false;
  bool stop_ = false;
  int tape_marks_ = 0;
  std::string main_key_;
  struct Frame {
    std::string key;
    LinePosition body;
    LinePosition back;
    long repeats_left;
    std::uint64_t call_line;  // where it was called, for errors
    std::string call_text;
  };
  std::vector<Frame> stack_;
  long calls_ = 0;
  std::unordered_map<std::string, LinePosition> index_;
  LinePosition scanned_;
  bool index_complete_ = false;
  std::string line_copy_;
};

}  // namespace zu::gcode::internal
