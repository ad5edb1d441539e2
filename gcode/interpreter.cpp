#include "gcode/interpreter.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>
#include <unordered_map>

#include "gcode/internal/block.h"

namespace zu::gcode {
namespace {

using internal::Bit;
using internal::Block;
using internal::LineKind;
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

Point Minus(const Point& p, const Point& q) {
  return {p[0] - q[0], p[1] - q[1], p[2] - q[2]};
}
Point Cross(const Point& p, const Point& q) {
  return {p[1] * q[2] - p[2] * q[1], p[2] * q[0] - p[0] * q[2], p[0] * q[1] - p[1] * q[0]};
}
double Dot(const Point& p, const Point& q) {
  return p[0] * q[0] + p[1] * q[1] + p[2] * q[2];
}
bool Same(const Point& p, const Point& q) {
  return p[0] == q[0] && p[1] == q[1] && p[2] == q[2];
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

class Interpreter {
 public:
  Interpreter(const NcSystem& system, LineSource& source, PathReceiver& receiver,
              const ReadOptions& options)
      : sys_(system),
        source_(source),
        out_(receiver),
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
  void HandleLine(bool fresh);
  void Error(std::string message);
  void Index(const std::string& key, const LinePosition& body);
  bool Find(const std::string& key, LinePosition& body, bool& cannot_seek);
  void Call(const std::string& key, long repeats);
  void Return(bool forced);
  std::string EndName() const;

  // Meaning
  void Execute();
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
  bool Fail(std::string message);

  double Length(char letter) const;
  double Convert(double value) const {
    return modal_.units == Units::kInches ? value * kInch : value;
  }
  double Target(int axis, char letter) const;
  Point TargetPoint() const;
  Point OffsetOf(int index) const;
  double Seconds(double value, bool has_point, TimeUnit unit, char letter,
                 std::string& error) const;
  bool WholeNumber(char letter, long maximum, long& value);

  // Sending
  void Perform();
  void ChangeTool();
  void OpenPath(PathKind kind);
  void ClosePath(bool send_held);
  void Sync(bool opening = false);
  void SendRapid(const Point& end);
  void SendCut(const Move& move);
  void SendHole(const DrillValues& values, const Point& bottom);
  void SendToolState();
  double Diameter() const;
  double EffectiveSpeed() const { return modal_.spindle_stopped ? 0 : modal_.speed; }

  const NcSystem& sys_;
  LineSource& source_;
  PathReceiver& out_;
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
    bool tool_change, stop, end, sub_end, home, dwell, offset_data, machine;
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
  } plan_;

  // Paths
  PathKind kind_ = PathKind::kNone;
  int path_count_ = 0;
  std::array<Point, kHeldRapids> held_;
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

// ---------------------------------------------------------------- reading

ProgramRead Interpreter::Run() {
  stack_.reserve(static_cast<std::size_t>(sys_.max_depth));
  while (!stop_) {
    const LinePosition at = source_.Position();
    std::string_view line;
    if (!source_.Next(line)) {
      line_ = {};
      line_number_ = at.number;
      if (source_.failed()) {
        Error("the input could not be read on");
        break;
      }
      if (stack_.empty())
        break;
      // Reported at the call: the file has no line here.
      line_number_ = stack_.back().call_line;
      line_copy_ = stack_.back().call_text;
      line_ = line_copy_;
      Error("subprogram " + stack_.back().key + " has no end (" + EndName() + ")");
      Return(true);
      continue;
    }
    ++result_.lines;
    line_ = line;
    line_number_ = at.number;
    const bool fresh = at.offset >= scanned_.offset;
    if (fresh)
      scanned_ = source_.Position();
    if (source_.cut()) {
      Error("the line is longer than " + std::to_string(kMaxLineLength) + " characters");
      continue;
    }
    HandleLine(fresh);
  }
  ClosePath(true);
  result_.paths = path_count_;
  return std::move(result_);
}

std::string Interpreter::EndName() const {
  return sys_.call_form == CallForm::kNamed ? "M17 or RET" : "M99";
}

void Interpreter::Error(std::string message) {
  ++result_.error_count;
  if (result_.errors.size() < options_.max_errors) {
    std::string_view text = line_;
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
      text.remove_suffix(1);
    result_.errors.push_back({line_number_, std::string(text.substr(0, 200)), std::move(message)});
  }
}

void Interpreter::Index(const std::string& key, const LinePosition& body) {
  if (index_.size() >= kMaxPrograms)
    return;
  index_.emplace(key, body);
}

void Interpreter::HandleLine(bool fresh) {
  const LineKind kind = internal::ClassifyLine(sys_, line_, key_);
  if (kind != LineKind::kBlock) {
    if (kind != LineKind::kTapeMark && fresh)
      Index(key_, source_.Position());
    if (!stack_.empty()) {
      // A subprogram ran into the next program.
      Error("subprogram " + stack_.back().key + " has no end (" + EndName() + ")");
      Return(true);
      return;
    }
    switch (kind) {
      case LineKind::kTapeMark:
        if (++tape_marks_ >= 2 || main_started_)
          stop_ = true;
        break;
      case LineKind::kSubprogramHeader:
        skipping_ = true;
        break;
      case LineKind::kMainHeader:
        if (main_started_) {
          stop_ = true;
        } else {
          main_started_ = true;
          main_key_ = key_;
          skipping_ = false;
        }
        break;
      case LineKind::kBlock:
        break;
    }
    return;
  }
  if (skipping_)
    return;
  bool deleted = false;
  std::string error = internal::ParseBlock(sys_, line_, block_, deleted);
  if (!error.empty()) {
    Error(std::move(error));
    return;
  }
  if (deleted || block_.Empty())
    return;
  main_started_ = true;
  Execute();
}

bool Interpreter::Find(const std::string& key, LinePosition& body, bool& cannot_seek) {
  cannot_seek = false;
  auto found = index_.find(key);
  if (found == index_.end() && !index_complete_) {
    const LinePosition here = source_.Position();
    if (!source_.Seek(scanned_)) {
      cannot_seek = true;
      return false;
    }
    std::string_view line;
    std::string header;
    while (true) {
      if (!source_.Next(line)) {
        index_complete_ = true;
        break;
      }
      scanned_ = source_.Position();
      const LineKind kind = internal::ClassifyLine(sys_, line, header);
      if (kind == LineKind::kMainHeader || kind == LineKind::kSubprogramHeader) {
        Index(header, scanned_);
        if (header == key)
          break;
      }
    }
    if (!source_.Seek(here)) {
      cannot_seek = true;
      return false;
    }
    found = index_.find(key);
  }
  if (found == index_.end())
    return false;
  body = found->second;
  return true;
}

void Interpreter::Call(const std::string& key, long repeats) {
  if (repeats <= 0)
    return;
  if (static_cast<int>(stack_.size()) >= sys_.max_depth) {
    Error("subprogram calls nested deeper than " + std::to_string(sys_.max_depth));
    return;
  }
  bool recursive = key == main_key_;
  for (const Frame& frame : stack_)
    recursive = recursive || frame.key == key;
  if (recursive) {
    Error("recursive call of subprogram " + key);
    return;
  }
  if (calls_ >= sys_.max_calls) {
    Error("more than " + std::to_string(sys_.max_calls) + " subprogram runs");
    return;
  }
  // Finding the subprogram may read on in the input: keep this line's text.
  line_copy_.assign(line_);
  line_ = line_copy_;
  LinePosition body;
  bool cannot_seek = false;
  const LinePosition back = source_.Position();
  if (!Find(key, body, cannot_seek)) {
    Error(cannot_seek ? "subprogram calls need an input that can be read again"
                      : "no subprogram " + key + " in the file");
    return;
  }
  if (!source_.Seek(body)) {
    Error("subprogram calls need an input that can be read again");
    return;
  }
  ++calls_;
  stack_.push_back({key, body, back, repeats - 1, line_number_, std::string(line_.substr(0, 200))});
}

void Interpreter::Return(bool forced) {
  Frame& frame = stack_.back();
  if (!forced && frame.repeats_left > 0) {
    if (calls_ >= sys_.max_calls) {
      Error("more than " + std::to_string(sys_.max_calls) + " subprogram runs");
    } else if (source_.Seek(frame.body)) {
      --frame.repeats_left;
      ++calls_;
      return;
    }
  }
  const LinePosition back = frame.back;
  stack_.pop_back();
  if (!source_.Seek(back)) {
    Error("subprogram calls need an input that can be read again");
    stop_ = true;
  }
}

// ---------------------------------------------------------------- meaning

double Interpreter::Length(char letter) const {
  double value = block_.Value(letter);
  const bool inches = modal_.units == Units::kInches;
  if (!sys_.calculator && !block_.Point(letter) && sys_.Scaled(letter))
    value /= kPowersOfTen[inches ? sys_.inch_increment_digits : sys_.metric_increment_digits];
  return inches ? value * kInch : value;
}

Point Interpreter::OffsetOf(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= offsets_.size())
    return {0, 0, 0};
  const WorkOffset& offset = offsets_[static_cast<std::size_t>(index)];
  return {offset.x, offset.y, offset.z};
}

double Interpreter::Target(int axis, char letter) const {
  if (!block_.Has(letter))
    return modal_.position[static_cast<std::size_t>(axis)];
  if (plan_.machine)
    return Length(letter);
  if (modal_.incremental)
    return modal_.position[static_cast<std::size_t>(axis)] + Length(letter);
  return Length(letter) + modal_.offset[static_cast<std::size_t>(axis)];
}

Point Interpreter::TargetPoint() const {
  return {Target(0, 'X'), Target(1, 'Y'), Target(2, 'Z')};
}

double Interpreter::Seconds(double value, bool has_point, TimeUnit unit, char letter,
                            std::string& error) const {
  if (value < 0) {
    error = std::string("a negative dwell time ") + letter;
    return 0;
  }
  switch (unit) {
    case TimeUnit::kSeconds:
      if (!sys_.calculator && !has_point && sys_.Scaled(letter))
        value /= kPowersOfTen[sys_.metric_increment_digits];
      return value;
    case TimeUnit::kMilliseconds:
      if (has_point) {
        error = std::string(1, letter) + " takes whole milliseconds, without a decimal point";
        return 0;
      }
      return value / 1000;
    case TimeUnit::kRevolutions:
      if (EffectiveSpeed() <= 0) {
        error = std::string("a dwell in revolutions (") + letter + ") needs a spindle speed";
        return 0;
      }
      return value * 60 / EffectiveSpeed();
  }
  return 0;
}

bool Interpreter::WholeNumber(char letter, long maximum, long& value) {
  const double v = block_.Value(letter);
  if (block_.Point(letter) || v < 0 || v > static_cast<double>(maximum) || v != std::floor(v))
    return Fail(std::string(1, letter) + " takes a whole number from 0 to " +
                std::to_string(maximum));
  value = static_cast<long>(v);
  return true;
}

bool Interpreter::Fail(std::string message) {
  Error(std::move(message));
  return false;
}

void Interpreter::Execute() {
  const Modal saved = modal_;
  if (!Plan()) {
    modal_ = saved;
    return;
  }
  Perform();
}

// Gives the block its meaning: the modal state it leaves and what it sends,
// with nothing sent yet. False (the error reported) if it has none.
bool Interpreter::Plan() {
  Block& b = block_;
  plan_.tool_change = plan_.stop = plan_.end = plan_.sub_end = plan_.home = false;
  plan_.dwell = plan_.offset_data = plan_.machine = plan_.spindle_changed = false;
  plan_.call_form = 0;
  plan_.move_count = 0;
  plan_.holes.count = 0;
  plan_.tool_named = false;
  plan_.offset_target = -1;

  if (b.Has('O'))
    return Fail("a program number must begin its line");

  // G codes: the modal state first, as the control does.
  bool motion_code = false;
  bool cycle_code = false;
  const int cycle_before = modal_.cycle;
  for (int i = 0; i < b.g_count; ++i) {
    const int key = b.g[static_cast<std::size_t>(i)];
    const Code code = sys_.g[static_cast<std::size_t>(key)];
    switch (code.function) {
      case Function::kUndefined:
        return Fail(key % 10 == 0 ? "unknown code G" + std::to_string(key / 10)
                                  : "unknown code G" + std::to_string(key / 10) + "." +
                                        std::to_string(key % 10));
      case Function::kRapid:
        modal_.motion = Motion::kRapid;
        motion_code = true;
        break;
      case Function::kLinear:
        modal_.motion = Motion::kLinear;
        motion_code = true;
        break;
      case Function::kArcClockwise:
        modal_.motion = Motion::kClockwise;
        motion_code = true;
        break;
      case Function::kArcCounterClockwise:
        modal_.motion = Motion::kCounterClockwise;
        motion_code = true;
        break;
      case Function::kDwell:
        plan_.dwell = true;
        break;
      case Function::kPlaneXY:
        modal_.plane = Plane::kXY;
        break;
      case Function::kPlaneZX:
        modal_.plane = Plane::kZX;
        break;
      case Function::kPlaneYZ:
        modal_.plane = Plane::kYZ;
        break;
      case Function::kInches:
        modal_.units = Units::kInches;
        break;
      case Function::kMillimetres:
        modal_.units = Units::kMillimetres;
        break;
      case Function::kAbsolute:
        modal_.incremental = false;
        break;
      case Function::kIncremental:
        modal_.incremental = true;
        break;
      case Function::kWorkOffset:
        modal_.offset_index = code.argument;
        modal_.offset = OffsetOf(code.argument);
        break;
      case Function::kOffsetCancel:
        modal_.offset_index = -1;
        modal_.offset = {0, 0, 0};
        break;
      case Function::kMachineCoordinates:
        plan_.machine = true;
        break;
      case Function::kCompensationOff:
      case Function::kCompensationLeft:
      case Function::kCompensationRight: {
        const int compensation = code.function == Function::kCompensationOff ? kCompensationOff
                                 : code.function == Function::kCompensationLeft
                                     ? kCompensationLeft
                                     : kCompensationRight;
        if (compensation != modal_.compensation) {
          modal_.compensation = compensation;
          modal_.compensation_changed = true;
        }
        break;
      }
      case Function::kLengthOffset:
      case Function::kLengthOffsetCancel:
        break;
      case Function::kCycle:
        if (sys_.cycle_form != CycleForm::kGCodes)
          return Fail("this system has no drilling cycles of G codes");
        modal_.cycle = code.argument;
        cycle_code = true;
        break;
      case Function::kCycleCancel:
        modal_.cycle = 0;
        break;
      case Function::kReturnInitial:
        modal_.return_to_r = false;
        break;
      case Function::kReturnR:
        modal_.return_to_r = true;
        break;
      case Function::kOffsetData:
        plan_.offset_data = true;
        break;
      case Function::kHome:
        plan_.home = true;
        break;
      case Function::kIgnore:
        break;
      default:
        return Fail("unknown code G" + std::to_string(key / 10));
    }
  }
  // A motion code ends a G8x cycle, unless the same block starts one.
  if (motion_code && !cycle_code)
    modal_.cycle = 0;
  if (modal_.cycle == 0) {
    modal_.r_known = modal_.z_known = modal_.q_known = false;
    modal_.cycle_dwell = 0;
  } else if (cycle_before == 0) {
    modal_.initial_z = modal_.position[2];
  }
  if (plan_.machine && modal_.incremental)
    return Fail("G53 positions are absolute: the block cannot be incremental");

  for (int i = 0; i < b.m_count; ++i) {
    const int number = b.m[static_cast<std::size_t>(i)];
    switch (sys_.m[static_cast<std::size_t>(number)].function) {
      case Function::kToolChange:
        plan_.tool_change = true;
        break;
      case Function::kSpindleClockwise:
      case Function::kSpindleCounterClockwise:
        modal_.spindle_stopped = false;
        plan_.spindle_changed = true;
        break;
      case Function::kSpindleStop:
        modal_.spindle_stopped = true;
        plan_.spindle_changed = true;
        break;
      case Function::kStop:
        plan_.stop = true;
        break;
      case Function::kProgramEnd:
        plan_.end = true;
        break;
      case Function::kSubprogramCall:
        if (sys_.call_form != CallForm::kMCode)
          return Fail("M" + std::to_string(number) + " calls no subprogram on this system");
        plan_.call_form = 1;
        break;
      case Function::kSubprogramEnd:
        plan_.sub_end = true;
        break;
      case Function::kIgnore:
        break;
      default:
        return Fail("unknown code M" + std::to_string(number));
    }
  }
  if (b.ret)
    plan_.sub_end = true;
  if (!b.call.empty()) {
    // A named call stands in a block of its own (with its repeat count):
    // anything else there is a statement this reader does not know.
    std::uint32_t own = Bit('N');
    if (sys_.call_repeat_address != '\0')
      own |= Bit(sys_.call_repeat_address);
    if ((b.present & ~own) != 0 || b.g_count != 0 || b.m_count != 0 || b.cycle != 0 || b.mcall ||
        b.cip || b.ct || b.has_cr || b.point1_present != 0 || b.ret || b.has_tool_name)
      return Fail("unknown word " + b.call + " (a subprogram call stands in a block of its own)");
    plan_.call_form = 2;
  }

  // Which words the block's meaning uses; any other is an error.
  std::uint32_t allowed = Bit('N') | Bit('G') | Bit('M') | Bit('F') | Bit('S') | Bit('T') |
                          Bit(sys_.radius_offset_address);
  if (sys_.length_offset_address != '\0')
    allowed |= Bit(sys_.length_offset_address);
  const bool arcs =
      modal_.motion == Motion::kClockwise || modal_.motion == Motion::kCounterClockwise;
  if (plan_.dwell) {
    for (const DwellWord& word : sys_.dwell_words)
      allowed |= Bit(word.address);
  } else if (plan_.offset_data) {
    allowed |= Bit('L') | Bit('P') | Bit('R') | Bit('X') | Bit('Y') | Bit('Z');
  } else {
    allowed |= Bit('X') | Bit('Y') | Bit('Z');
    if (modal_.cycle != 0) {
      allowed |= Bit('R') | Bit('Q') | Bit('P');
      if (sys_.cycle_repeat_address != '\0')
        allowed |= Bit(sys_.cycle_repeat_address);
    } else if (arcs) {
      allowed |= Bit('I') | Bit('J') | Bit('K');
      if (sys_.radius_address != '\0')
        allowed |= Bit(sys_.radius_address);
    }
  }
  if (plan_.call_form == 1) {
    allowed |= Bit(sys_.call_number_address);
    if (sys_.call_repeat_address != '\0')
      allowed |= Bit(sys_.call_repeat_address);
  } else if (plan_.call_form == 2 && sys_.call_repeat_address != '\0') {
    allowed |= Bit(sys_.call_repeat_address);
  }
  const std::uint32_t stray = b.present & ~allowed;
  if (stray != 0) {
    char letter = 'A';
    while ((stray & Bit(letter)) == 0)
      ++letter;
    return Fail(std::string(1, letter) + " has no meaning in this block");
  }
  if ((b.cip || b.ct || b.has_cr || b.point1_present != 0) && modal_.cycle != 0)
    return Fail("an arc word in a drilling cycle");
  if (b.cip)
    modal_.motion = Motion::kCip;
  if (b.ct)
    modal_.motion = Motion::kCt;
  if (b.cip && b.ct)
    return Fail("CIP and CT in one block");
  if (b.point1_present != 0 && modal_.motion != Motion::kCip)
    return Fail("I1=, J1=, K1= belong to CIP");
  if (b.has_cr && modal_.motion != Motion::kClockwise && modal_.motion != Motion::kCounterClockwise)
    return Fail("CR= belongs to G2 and G3");

  if (!TakeTechnology())
    return false;
  if (plan_.dwell)
    return PlanDwell();
  if (plan_.offset_data)
    return PlanOffsetData();
  if (plan_.home)
    return PlanHome();

  // SIEMENS cycle calls: MCALL CYCLE8x(...) sets a modal call, MCALL alone
  // ends it, CYCLE8x(...) alone drills once where the block ends.
  if (b.mcall) {
    if (b.cycle != 0) {
      modal_.mcall = true;
      modal_.mcall_cycle = b.cycle;
      modal_.mcall_count = b.argument_count;
      modal_.mcall_present = b.arguments_present;
      modal_.mcall_arguments = b.arguments;
    } else {
      modal_.mcall = false;
    }
  }
  if (modal_.cycle != 0)
    return PlanCycleHoles();
  const bool moves = (b.present & (Bit('X') | Bit('Y') | Bit('Z'))) != 0;
  if (!PlanMotion())
    return false;
  if (b.cycle != 0 && !b.mcall) {
    return PlanCallHoles(b.cycle, b.arguments.data(), b.arguments_present, b.argument_count);
  }
  if (modal_.mcall && !b.mcall && moves) {
    return PlanCallHoles(modal_.mcall_cycle, modal_.mcall_arguments.data(), modal_.mcall_present,
                         modal_.mcall_count);
  }
  return true;
}

// F, S, T, D, H: values checked and kept in the modal state.
bool Interpreter::TakeTechnology() {
  const Block& b = block_;
  const auto dwell_word = [&](char letter) {
    if (!plan_.dwell)
      return false;
    for (const DwellWord& word : sys_.dwell_words) {
      if (word.address == letter)
        return true;
    }
    return false;
  };
  if (b.Has('F') && !dwell_word('F')) {
    if (b.Value('F') < 0)
      return Fail("a negative feed rate");
    modal_.feed = Convert(b.Value('F'));
    modal_.feed_known = true;
  }
  if (b.Has('S') && !dwell_word('S')) {
    if (b.Value('S') < 0)
      return Fail("a negative spindle speed");
    modal_.speed = b.Value('S');
    modal_.speed_known = true;
  }
  long number = 0;
  const char d = sys_.radius_offset_address;
  if (b.Has(d)) {
    if (!WholeNumber(d, kMaxOffsetNumber, number))
      return false;
    modal_.d = static_cast<int>(number);
  }
  const char h = sys_.length_offset_address;
  if (h != '\0' && b.Has(h)) {
    if (!WholeNumber(h, kMaxOffsetNumber, number))
      return false;
    modal_.h = static_cast<int>(number);
  }
  if (b.Has('T') || b.has_tool_name) {
    if (b.Has('T')) {
      if (!WholeNumber('T', 99999999, number))
        return false;
      modal_.next_tool = number;
    } else {
      modal_.next_tool = -1;
    }
    plan_.tool_named = true;
    plan_.tool_name = b.has_tool_name          ? b.tool_name
                      : sys_.name_from_comment ? std::string(b.comment.substr(0, 64))
                                               : std::string();
    if (!sys_.change_on_m6)
      plan_.tool_change = true;
  }
  return true;
}

bool Interpreter::PlanDwell() {
  int words = 0;
  for (const DwellWord& word : sys_.dwell_words) {
    if (!block_.Has(word.address))
      continue;
    ++words;
    std::string error;
    Seconds(block_.Value(word.address), block_.Point(word.address), word.unit, word.address, error);
    if (!error.empty())
      return Fail(error);
  }
  if (words == 0)
    return Fail("the dwell needs its time");
  if (words > 1)
    return Fail("the dwell takes one time word");
  return true;
}

bool Interpreter::PlanOffsetData() {
  const Block& b = block_;
  long l = 0;
  long p = 0;
  if (!b.Has('L') || !b.Has('P'))
    return Fail("G10 needs L and P");
  if (!WholeNumber('L', 99, l) || !WholeNumber('P', kMaxOffsetNumber, p))
    return false;
  if (l == 2) {
    if (b.Has('R'))
      return Fail("R has no meaning in G10 L2");
    const int key = 530 + 10 * static_cast<int>(p);
    for (std::size_t i = 0; i < offsets_.size() && p >= 1 && p <= 6; ++i) {
      if (offsets_[i].g_key == key)
        plan_.offset_target = static_cast<int>(i);
    }
    if (plan_.offset_target < 0)
      return Fail("G10 L2 P" + std::to_string(p) + ": no such work offset");
    plan_.offset_is_radius = false;
    plan_.offset_axes = 0;
    const char letters[] = {'X', 'Y', 'Z'};
    for (int axis = 0; axis < 3; ++axis) {
      if (b.Has(letters[axis])) {
        plan_.offset_values[static_cast<std::size_t>(axis)] = Length(letters[axis]);
        plan_.offset_axes |= static_cast<std::uint8_t>(1 << axis);
      }
    }
    return true;
  }
  if (l < 10 || l > 13)
    return Fail("G10 L" + std::to_string(l) + " is not read");
  if (!b.Has('R'))
    return Fail("G10 L" + std::to_string(l) + " needs R");
  if ((b.present & (Bit('X') | Bit('Y') | Bit('Z'))) != 0)
    return Fail("G10 L" + std::to_string(l) + " takes no axis word");
  if (l == 12) {
    plan_.offset_target = static_cast<int>(p);
    plan_.offset_is_radius = true;
    plan_.offset_values[0] = std::fabs(Length('R'));
  }
  return true;
}

bool Interpreter::PlanHome() {
  const Block& b = block_;
  if (modal_.cycle != 0)
    return Fail("G28 in a drilling cycle");
  const Point through = TargetPoint();
  plan_.moves[static_cast<std::size_t>(plan_.move_count++)] = {Move::kRapid, through, {}, {}};
  Point home = through;
  const char letters[] = {'X', 'Y', 'Z'};
  bool moved = false;
  for (std::size_t axis = 0; axis < 3; ++axis) {
    if (b.Has(letters[axis]) && sys_.home_set[axis]) {
      home[axis] = sys_.home[axis];
      moved = true;
    }
  }
  if (moved)
    plan_.moves[static_cast<std::size_t>(plan_.move_count++)] = {Move::kRapid, home, {}, {}};
  return true;
}

bool Interpreter::PlanMotion() {
  const Block& b = block_;
  const bool axes = (b.present & (Bit('X') | Bit('Y') | Bit('Z'))) != 0;
  switch (modal_.motion) {
    case Motion::kRapid:
    case Motion::kLinear:
      if (axes)
        plan_.moves[static_cast<std::size_t>(plan_.move_count++)] = {
            modal_.motion == Motion::kRapid ? Move::kRapid : Move::kFeed, TargetPoint(), {}, {}};
      return true;
    case Motion::kClockwise:
    case Motion::kCounterClockwise:
      if (plan_.machine)
        return Fail("G53 takes straight moves only");
      if (!axes && (b.present & (Bit('I') | Bit('J') | Bit('K'))) == 0 && !b.has_cr &&
          !(sys_.radius_address != '\0' && b.Has(sys_.radius_address)))
        return true;
      return PlanArc(modal_.motion == Motion::kClockwise);
    case Motion::kCip:
      if (plan_.machine)
        return Fail("G53 takes straight moves only");
      if (!axes && b.point1_present == 0)
        return true;
      return PlanCip();
    case Motion::kCt:
      if (plan_.machine)
        return Fail("G53 takes straight moves only");
      if (!axes)
        return true;
      return PlanCt();
  }
  return true;
}

bool Interpreter::PlanArc(bool clockwise) {
  const Block& b = block_;
  const PlaneAxes& p = kPlanes[static_cast<int>(modal_.plane)];
  const std::size_t a = static_cast<std::size_t>(p.a);
  const std::size_t bb = static_cast<std::size_t>(p.b);
  const std::size_t n = static_cast<std::size_t>(p.n);
  const Point& start = modal_.position;
  const Point end = TargetPoint();
  const double tolerance = sys_.arc_tolerance;
  if (b.Has(p.other))
    return Fail(std::string(1, p.other) + " is no centre word in the " + p.name);
  const bool has_r = sys_.radius_address != '\0' && b.Has(sys_.radius_address);
  const bool has_centre = b.Has(p.centre_a) || b.Has(p.centre_b);
  double ca = 0;
  double cb = 0;
  const double da = end[a] - start[a];
  const double db = end[bb] - start[bb];
  if (has_r || b.has_cr) {
    const double r = b.has_cr ? Convert(b.cr) : Length(sys_.radius_address);
    const double chord = std::hypot(da, db);
    if (chord < 1e-9)
      return Fail("an arc given by its radius cannot be a full circle");
    const double half = chord / 2;
    if (std::fabs(r) < half - tolerance)
      return Fail("the radius " + Format("%.4f", std::fabs(r)) +
                  " mm is too small for the arc's end point, " + Format("%.4f", half) +
                  " mm away from the middle");
    const double h2 = r * r - half * half;
    const double h = h2 > 0 ? std::sqrt(h2) : 0;
    // The centre lies left of the chord for a short counter-clockwise arc.
    const double side = (clockwise ? -1.0 : 1.0) * (r < 0 ? -1.0 : 1.0);
    ca = start[a] + da / 2 - side * h * db / chord;
    cb = start[bb] + db / 2 + side * h * da / chord;
  } else if (has_centre) {
    const auto centre = [&](char letter, std::size_t axis) {
      if (sys_.centre_absolute)
        return b.Has(letter) ? Length(letter) + modal_.offset[axis] : start[axis];
      return start[axis] + (b.Has(letter) ? Length(letter) : 0.0);
    };
    ca = centre(p.centre_a, a);
    cb = centre(p.centre_b, bb);
    const double r1 = std::hypot(start[a] - ca, start[bb] - cb);
    const double r2 = std::hypot(end[a] - ca, end[bb] - cb);
    if (r1 < 1e-9)
      return Fail("the arc's centre is its start point");
    if (std::fabs(r1 - r2) > tolerance)
      return Fail("the arc's radius at its start (" + Format("%.4f", r1) + " mm) and end (" +
                  Format("%.4f", r2) + " mm) differ by more than " + Format("%g", tolerance) +
                  " mm");
  } else {
    return Fail(std::string("the arc needs its centre (") + p.centre_a + ", " + p.centre_b +
                ") or a radius");
  }
  Move& move = plan_.moves[static_cast<std::size_t>(plan_.move_count++)];
  move.kind = Move::kArc;
  move.end = end;
  move.centre[a] = ca;
  move.centre[bb] = cb;
  move.centre[n] = start[n];
  move.axis = {0, 0, 0};
  move.axis[n] = clockwise ? -1 : 1;
  return true;
}

bool Interpreter::PlanCip() {
  const Block& b = block_;
  const Point& start = modal_.position;
  const Point end = TargetPoint();
  Point middle = start;
  for (std::size_t axis = 0; axis < 3; ++axis) {
    if ((b.point1_present >> axis & 1) == 0)
      continue;
    const double value = Convert(b.point1[axis]);
    middle[axis] = modal_.incremental ? start[axis] + value : value + modal_.offset[axis];
  }
  const Point u = Minus(middle, start);
  const Point v = Minus(end, start);
  const Point w = Cross(u, v);
  const double w2 = Dot(w, w);
  const double scale = Dot(u, u) * Dot(v, v);
  if (w2 <= 1e-18 * scale || scale < 1e-18)
    return Fail("CIP's start, intermediate and end points lie on one line");
  const Point first = Cross(v, w);
  const Point second = Cross(w, u);
  Move& move = plan_.moves[static_cast<std::size_t>(plan_.move_count++)];
  move.kind = Move::kArc;
  move.end = end;
  for (std::size_t i = 0; i < 3; ++i)
    move.centre[i] = start[i] + (Dot(u, u) * first[i] + Dot(v, v) * second[i]) / (2 * w2);
  const double length = std::sqrt(w2);
  move.axis = {w[0] / length, w[1] / length, w[2] / length};
  return true;
}

bool Interpreter::PlanCt() {
  const PlaneAxes& p = kPlanes[static_cast<int>(modal_.plane)];
  const std::size_t a = static_cast<std::size_t>(p.a);
  const std::size_t bb = static_cast<std::size_t>(p.b);
  const std::size_t n = static_cast<std::size_t>(p.n);
  const Point& start = modal_.position;
  const Point end = TargetPoint();
  double ta = modal_.tangent[a];
  double tb = modal_.tangent[bb];
  const double t = std::hypot(ta, tb);
  if (!modal_.tangent_known || t < 1e-12)
    return Fail("CT needs the direction of the move before it in the " + std::string(p.name));
  ta /= t;
  tb /= t;
  const double va = end[a] - start[a];
  const double vb = end[bb] - start[bb];
  const double v2 = va * va + vb * vb;
  if (v2 < 1e-18)
    return Fail("CT needs an end point apart from its start");
  // The centre lies on the normal to the tangent through the start.
  const double dot = -tb * va + ta * vb;
  Move& move = plan_.moves[static_cast<std::size_t>(plan_.move_count++)];
  move.end = end;
  if (std::fabs(dot) <= 1e-12 * std::sqrt(v2)) {
    move.kind = Move::kFeed;  // the end lies straight ahead
    return true;
  }
  const double rho = v2 / (2 * dot);
  move.kind = Move::kArc;
  move.centre[a] = start[a] - rho * tb;
  move.centre[bb] = start[bb] + rho * ta;
  move.centre[n] = start[n];
  move.axis = {0, 0, 0};
  move.axis[n] = rho > 0 ? 1 : -1;
  return true;
}

bool Interpreter::PlanCycleHoles() {
  const Block& b = block_;
  if (b.cycle != 0 || b.mcall)
    return Fail("a cycle call in a G8x drilling cycle");
  if ((b.present & (Bit('X') | Bit('Y') | Bit('Z') | Bit('R'))) == 0)
    return true;  // no position: no hole
  if (plan_.machine)
    return Fail("G53 in a drilling cycle");
  if (b.Has('R'))
    modal_.cycle_r =
        modal_.incremental ? modal_.initial_z + Length('R') : Length('R') + modal_.offset[2];
  modal_.r_known = modal_.r_known || b.Has('R');
  if (b.Has('Z'))
    modal_.cycle_z =
        modal_.incremental ? modal_.cycle_r + Length('Z') : Length('Z') + modal_.offset[2];
  modal_.z_known = modal_.z_known || b.Has('Z');
  if (b.Has('Q')) {
    modal_.cycle_q = std::fabs(Length('Q'));
    modal_.q_known = true;
  }
  if (b.Has('P')) {
    std::string error;
    modal_.cycle_dwell = Seconds(b.Value('P'), b.Point('P'), sys_.cycle_dwell_unit, 'P', error);
    if (!error.empty())
      return Fail(error);
  }
  long repeats = 1;
  const char repeat = sys_.cycle_repeat_address;
  if (repeat != '\0' && b.Has(repeat) && !WholeNumber(repeat, kMaxRepeats, repeats))
    return false;
  if (!modal_.r_known)
    return Fail("the drilling cycle needs its R level");
  if (!modal_.z_known)
    return Fail("the drilling cycle needs its Z depth");
  const int mode = modal_.cycle;
  const bool pecks = mode == kPeckDrill || mode == kChipBreakDrill;
  if (pecks && (!modal_.q_known || modal_.cycle_q <= 0))
    return Fail("the peck drilling cycle needs its peck depth Q");
  const double depth = modal_.cycle_r - modal_.cycle_z;
  if (!(depth > 0))
    return Fail("the hole's bottom Z is not below its R level");

  Holes& holes = plan_.holes;
  holes.values.mode = mode;
  holes.values.safe = 0;
  holes.values.dwell = modal_.cycle_dwell;
  holes.values.peck = pecks ? modal_.cycle_q : 0;
  holes.values.depth = depth;
  holes.values.clearance = modal_.return_to_r ? modal_.cycle_r : modal_.initial_z;
  holes.values.surface = modal_.cycle_r;
  holes.values.feed = modal_.feed;
  holes.values.speed = EffectiveSpeed();
  const Point& at = modal_.position;
  if (modal_.incremental) {
    holes.step = {b.Has('X') ? Length('X') : 0, b.Has('Y') ? Length('Y') : 0, 0};
    holes.first = {at[0] + holes.step[0], at[1] + holes.step[1], modal_.cycle_z};
  } else {
    holes.step = {0, 0, 0};
    holes.first = {b.Has('X') ? Length('X') + modal_.offset[0] : at[0],
                   b.Has('Y') ? Length('Y') + modal_.offset[1] : at[1], modal_.cycle_z};
  }
  holes.count = static_cast<int>(repeats);
  holes.after_z = holes.values.clearance;
  return true;
}

// The CYCLE8x calls, their arguments in the control's order:
//   CYCLE81(RTP, RFP, SDIS, DP, DPR)
//   CYCLE82(RTP, RFP, SDIS, DP, DPR, DTB)
//   CYCLE83(RTP, RFP, SDIS, DP, DPR, FDEP, FDPR, DAM, DTB, DTS, FRF, VARI)
//   CYCLE85(RTP, RFP, SDIS, DP, DPR, DTB, FFR, RFF)
//   CYCLE86(RTP, RFP, SDIS, DP, DPR, DTB, ...)
//   CYCLE89(RTP, RFP, SDIS, DP, DPR, DTB)
bool Interpreter::PlanCallHoles(int cycle, const double* arguments, std::uint32_t present,
                                int count) {
  const auto has = [&](int index) { return index < count && (present >> index & 1) != 0; };
  const auto length = [&](int index) { return Convert(arguments[index]); };
  const std::string name = "CYCLE" + std::to_string(cycle);
  if (cycle != 81 && cycle != 82 && cycle != 83 && cycle != 85 && cycle != 86 && cycle != 89)
    return Fail(name + " is not read");
  const int most = cycle == 81 ? 5 : cycle == 83 ? 12 : cycle == 85 ? 8 : cycle == 86 ? 11 : 6;
  if (count > most)
    return Fail(name + " takes at most " + std::to_string(most) + " arguments");
  if (!has(0) || !has(1))
    return Fail(name + " needs its return plane RTP and reference plane RFP");
  if (!has(3) && !has(4))
    return Fail(name + " needs its depth DP or DPR");
  DrillValues& values = plan_.holes.values;
  values.mode = cycle == 83 ? kChipBreakDrill : cycle;
  values.clearance = length(0) + modal_.offset[2];
  values.surface = length(1) + modal_.offset[2];
  values.safe = has(2) ? length(2) : 0;
  const double bottom =
      has(4) ? values.surface - std::fabs(length(4)) : length(3) + modal_.offset[2];
  values.depth = values.surface - bottom;
  if (!(values.depth > 0))
    return Fail(name + ": the hole's bottom is not below its reference plane");
  if (values.safe < 0)
    return Fail(name + ": a negative safety distance");
  if (values.clearance < values.surface)
    return Fail(name + ": the return plane lies below the reference plane");
  const int dwell_index = cycle == 83 ? 8 : cycle == 81 ? -1 : 5;
  values.dwell = 0;
  if (dwell_index >= 0 && has(dwell_index)) {
    const double dtb = arguments[dwell_index];
    // A negative DTB counts spindle revolutions.
    if (dtb < 0) {
      if (EffectiveSpeed() <= 0)
        return Fail(name + ": a dwell in revolutions needs a spindle speed");
      values.dwell = -dtb * 60 / EffectiveSpeed();
    } else {
      values.dwell = dtb;
    }
  }
  values.peck = 0;
  if (cycle == 83) {
    if (has(6))
      values.peck = std::fabs(length(6));
    else if (has(5))
      values.peck = values.surface - (length(5) + modal_.offset[2]);
    else
      return Fail("CYCLE83 needs its first depth FDEP or FDPR");
    if (!(values.peck > 0))
      return Fail("CYCLE83: the first depth is not below the reference plane");
    if (has(11)) {
      const double vari = arguments[11];
      if (vari != 0 && vari != 1)
        return Fail("CYCLE83: VARI is 0 (chip breaking) or 1 (chip removal)");
      values.mode = vari == 1 ? kPeckDrill : kChipBreakDrill;
    }
  }
  values.feed = cycle == 85 && has(6) ? length(6) : modal_.feed;
  values.speed = EffectiveSpeed();
  if (values.feed < 0)
    return Fail(name + ": a negative feed rate");
  Point at = modal_.position;
  for (int i = 0; i < plan_.move_count; ++i)
    at = plan_.moves[static_cast<std::size_t>(i)].end;
  plan_.holes.first = {at[0], at[1], bottom};
  plan_.holes.step = {0, 0, 0};
  plan_.holes.count = 1;
  plan_.holes.after_z = values.clearance;
  return true;
}

// ---------------------------------------------------------------- sending

double Interpreter::Diameter() const {
  if (modal_.d < 0)
    return kNotSent;
  return 2 * radii_[static_cast<std::size_t>(modal_.d)];
}

void Interpreter::SendToolState() {
  if (modal_.tool != tool_sent_ && modal_.tool >= 0)
    out_.SetToolInteger1(static_cast<int>(modal_.tool));
  tool_sent_ = modal_.tool;
  if (tool_name_ != name_sent_ && !tool_name_.empty())
    out_.SetToolName(tool_name_);
  name_sent_ = tool_name_;
}

void Interpreter::OpenPath(PathKind kind) {
  ++path_count_;
  out_.NextPath(path_count_);
  out_.StartPath();
  kind_ = kind;
  tool_sent_ = -2;
  name_sent_.clear();
  feed_sent_ = speed_sent_ = diameter_sent_ = kNotSent;
  d_sent_ = -2;
  modal_.compensation_changed = true;
  SendToolState();
  Sync(true);
  for (std::size_t i = 0; i < held_count_; ++i)
    out_.RapidTo(held_[i][0], held_[i][1], held_[i][2]);
  held_count_ = 0;
}

void Interpreter::ClosePath(bool send_held) {
  if (kind_ == PathKind::kNone) {
    held_count_ = 0;  // positioning outside any path
    return;
  }
  if (group_open_) {
    out_.FlushDrillPoints();
    group_open_ = false;
  }
  if (send_held) {
    for (std::size_t i = 0; i < held_count_; ++i)
      out_.RapidTo(held_[i][0], held_[i][1], held_[i][2]);
    held_count_ = 0;
  }
  out_.EndPath();
  kind_ = PathKind::kNone;
}

// Sends what changed of the technology to the open path.
void Interpreter::Sync(bool opening) {
  if (kind_ == PathKind::kNone)
    return;
  // A drill group holds one feed and speed: a change ends it.
  const bool feed_changes = modal_.feed_known && !(modal_.feed == feed_sent_);
  const bool speed_changes =
      (modal_.speed_known || modal_.spindle_stopped) && !(EffectiveSpeed() == speed_sent_);
  const double diameter = Diameter();
  const bool changes = feed_changes || speed_changes ||
                       (!std::isnan(diameter) && !(diameter == diameter_sent_)) ||
                       (modal_.d >= 0 && modal_.d != d_sent_);
  if (changes && !opening) {
    // What the path did before the change goes first, in the code's order.
    if (group_open_) {
      out_.FlushDrillPoints();
      group_open_ = false;
    }
    for (std::size_t i = 0; i < held_count_; ++i)
      out_.RapidTo(held_[i][0], held_[i][1], held_[i][2]);
    held_count_ = 0;
  }
  if (!std::isnan(diameter) && !(diameter == diameter_sent_)) {
    out_.SetToolDimension1(diameter);
    diameter_sent_ = diameter;
  }
  if (modal_.d >= 0 && modal_.d != d_sent_) {
    out_.SetToolInteger2(modal_.d);
    d_sent_ = modal_.d;
  }
  if (modal_.feed_known && !(modal_.feed == feed_sent_)) {
    out_.SetFeedRate(modal_.feed);
    feed_sent_ = modal_.feed;
  }
  if ((modal_.speed_known || modal_.spindle_stopped) && !(EffectiveSpeed() == speed_sent_)) {
    out_.SetSpindleSpeed(EffectiveSpeed());
    speed_sent_ = EffectiveSpeed();
  }
}

void Interpreter::ChangeTool() {
  modal_.tool = modal_.next_tool;
  // The offset number belongs to the tool it was given with.
  modal_.d = -1;
  tool_name_ = next_tool_name_;
  if (sys_.name_from_comment && !block_.comment.empty())
    tool_name_ = std::string(block_.comment.substr(0, 64));
  if (sys_.break_at_tool_change)
    ClosePath(true);
  else if (kind_ != PathKind::kNone)
    SendToolState();
}

void Interpreter::SendRapid(const Point& end) {
  if (Same(end, modal_.position) && modal_.position_known)
    return;
  modal_.tangent = Minus(end, modal_.position);
  modal_.tangent_known = modal_.position_known;
  modal_.position = end;
  modal_.position_known = true;
  if (kind_ == PathKind::kMilling) {
    if (group_open_) {
      out_.FlushDrillPoints();
      group_open_ = false;
    }
    out_.RapidTo(end[0], end[1], end[2]);
    return;
  }
  if (held_count_ < kHeldRapids) {
    held_[held_count_++] = end;
    return;
  }
  if (kind_ == PathKind::kNone) {
    OpenPath(PathKind::kMilling);
  } else {
    if (group_open_) {
      out_.FlushDrillPoints();
      group_open_ = false;
    }
    for (std::size_t i = 0; i < held_count_; ++i)
      out_.RapidTo(held_[i][0], held_[i][1], held_[i][2]);
    held_count_ = 0;
  }
  out_.RapidTo(end[0], end[1], end[2]);
}

void Interpreter::SendCut(const Move& move) {
  if (move.kind == Move::kFeed && Same(move.end, modal_.position) && modal_.position_known)
    return;
  if (kind_ == PathKind::kDrilling) {
    // The drilling path ends; rapids after its last hole lead into this one.
    ClosePath(false);
  }
  if (kind_ == PathKind::kNone)
    OpenPath(PathKind::kMilling);
  if (group_open_) {
    out_.FlushDrillPoints();
    group_open_ = false;
  }
  for (std::size_t i = 0; i < held_count_; ++i)
    out_.RapidTo(held_[i][0], held_[i][1], held_[i][2]);
  held_count_ = 0;
  if (move.kind == Move::kFeed) {
    int compensation = kUnchanged;
    if (modal_.compensation_changed) {
      compensation = modal_.compensation;
      modal_.compensation_changed = false;
    }
    out_.FeedTo(move.end[0], move.end[1], move.end[2], compensation);
    modal_.tangent = Minus(move.end, modal_.position);
    modal_.tangent_known = modal_.position_known;
  } else {
    out_.ArcTo(move.end[0], move.end[1], move.end[2], move.centre[0], move.centre[1],
               move.centre[2], move.axis[0], move.axis[1], move.axis[2]);
    modal_.tangent = Cross(move.axis, Minus(move.end, move.centre));
    modal_.tangent_known = true;
  }
  modal_.position = move.end;
  modal_.position_known = true;
}

void Interpreter::SendHole(const DrillValues& values, const Point& bottom) {
  if (kind_ == PathKind::kMilling && sys_.cycles_own_paths)
    ClosePath(true);
  if (kind_ == PathKind::kNone)
    OpenPath(sys_.cycles_own_paths ? PathKind::kDrilling : PathKind::kMilling);
  held_count_ = 0;  // the positioning between holes goes with the holes
  if (group_open_ && !(group_ == values)) {
    out_.FlushDrillPoints();
    group_open_ = false;
  }
  if (!group_open_) {
    out_.StartDrillPath(values.mode, values.safe, values.dwell, values.peck, values.depth,
                        values.clearance, values.surface, values.feed, values.speed);
    group_ = values;
    group_open_ = true;
  }
  out_.AddDrillPoint(bottom[0], bottom[1], bottom[2]);
}

void Interpreter::Perform() {
  if (plan_.tool_named)
    next_tool_name_ = plan_.tool_name;
  if (plan_.tool_change)
    ChangeTool();
  // A path that this block's moves or holes end is closed before the
  // block's technology is sent, so that it goes to the next path.
  if (sys_.cycles_own_paths) {
    if (plan_.holes.count > 0 && kind_ == PathKind::kMilling)
      ClosePath(true);
    else if (plan_.move_count > 0 && plan_.moves[0].kind != Move::kRapid &&
             kind_ == PathKind::kDrilling)
      ClosePath(false);
  }
  Sync();
  if (plan_.offset_target >= 0) {
    if (plan_.offset_is_radius) {
      radii_[static_cast<std::size_t>(plan_.offset_target)] = plan_.offset_values[0];
      Sync();
    } else {
      WorkOffset& offset = offsets_[static_cast<std::size_t>(plan_.offset_target)];
      double* values[] = {&offset.x, &offset.y, &offset.z};
      for (std::size_t axis = 0; axis < 3; ++axis) {
        if ((plan_.offset_axes >> axis & 1) != 0)
          *values[axis] = modal_.incremental ? *values[axis] + plan_.offset_values[axis]
                                             : plan_.offset_values[axis];
      }
      if (plan_.offset_target == modal_.offset_index)
        modal_.offset = OffsetOf(modal_.offset_index);
    }
  }
  for (int i = 0; i < plan_.move_count; ++i) {
    const Move& move = plan_.moves[static_cast<std::size_t>(i)];
    if (move.kind == Move::kRapid)
      SendRapid(move.end);
    else
      SendCut(move);
  }
  const Holes& holes = plan_.holes;
  if (holes.count > 0) {
    Point at = holes.first;
    for (int i = 0; i < holes.count; ++i) {
      SendHole(holes.values, at);
      at[0] += holes.step[0];
      at[1] += holes.step[1];
    }
    modal_.position = {at[0] - holes.step[0], at[1] - holes.step[1], holes.after_z};
    modal_.position_known = true;
    modal_.tangent_known = false;
  }
  if (plan_.stop && sys_.break_at_stop)
    ClosePath(true);
  if (plan_.end) {
    ClosePath(true);
    stop_ = true;
    return;
  }
  if (plan_.call_form == 1) {
    const Block& b = block_;
    long number = 0;
    long repeats = 1;
    const char p = sys_.call_number_address;
    const char l = sys_.call_repeat_address;
    if (!b.Has(p)) {
      Error("the subprogram call needs its number " + std::string(1, p));
    } else if (WholeNumber(p, 99999999, number) &&
               (l == '\0' || !b.Has(l) || WholeNumber(l, kMaxRepeats, repeats))) {
      if (sys_.packed_repeat && number > 9999) {
        if (l == '\0' || !b.Has(l) || repeats == 1)
          repeats = number / 10000;
        number %= 10000;
      }
      Call(internal::ProgramKey(static_cast<std::uint64_t>(number)), repeats);
    }
  } else if (plan_.call_form == 2) {
    const Block& b = block_;
    long repeats = 1;
    const char l = sys_.call_repeat_address;
    if (l == '\0' || !b.Has(l) || WholeNumber(l, kMaxRepeats, repeats))
      Call(b.call, repeats);
  }
  if (plan_.sub_end) {
    if (stack_.empty()) {
      ClosePath(true);
      stop_ = true;  // the main program's end
    } else {
      Return(false);
    }
  }
}

}  // namespace

ProgramRead ReadProgram(const NcSystem& system, LineSource& source, PathReceiver& receiver,
                        const ReadOptions& options) {
  Interpreter interpreter(system, source, receiver, options);
  return interpreter.Run();
}

}  // namespace zu::gcode
