// The NC-system description: everything the interpreter needs to know about
// how one control reads G code, as data. It is loaded from the system's XML
// file (docs/nc-system-description.md) through XmlEvents, so that any XML
// parser can feed it; LoadNcSystemFile and LoadNcSystemText use the build's
// own source (XmlLite on Windows, expat natively).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gcode/xml_events.h"

namespace zu::gcode {

enum class Units : std::uint8_t { kMillimetres, kInches };
enum class Plane : std::uint8_t { kXY, kZX, kYZ };  // G17, G18, G19
enum class TimeUnit : std::uint8_t { kSeconds, kMilliseconds, kRevolutions };

// What a G or M code does. The description maps each code it accepts to one.
enum class Function : std::uint8_t {
  kUndefined,  // not in the description: the code is refused
  kIgnore,     // accepted with no effect on the path (coolant, exact stop, ...)
  // G codes
  kRapid,
  kLinear,
  kArcClockwise,
  kArcCounterClockwise,
  kDwell,
  kPlaneXY,
  kPlaneZX,
  kPlaneYZ,
  kInches,
  kMillimetres,
  kAbsolute,
  kIncremental,
  kWorkOffset,          // argument: index into NcSystem::work_offsets
  kOffsetCancel,        // no work offset (SIEMENS G500)
  kMachineCoordinates,  // this block's positions are machine coordinates (G53)
  kCompensationOff,
  kCompensationLeft,
  kCompensationRight,
  kLengthOffset,        // G43 H
  kLengthOffsetCancel,  // G49
  kCycle,               // argument: the drill mode (path_receiver.h)
  kCycleCancel,
  kReturnInitial,      // G98
  kReturnR,            // G99
  kOffsetData,         // G10 L10/L12 P R: length or radius of an offset number
  kHome,               // G28: through the block's point to the home position
  kPathTolerance,      // G64 P Q: the planner's blending tolerance, no effect on the path
  kToolCentrePoint,    // G43.4 H: tool-centre-point control on (G43, G44 and G49 end it)
  kInverseTime,        // G93: F is the inverse of the block's time in minutes
  kFeedPerMinute,      // G94: F in millimetres (inches) per minute
  kTiltedPlane,        // G68.2 X Y Z I J K: a tilted working plane (origin, Euler angles)
  kToolToPlane,        // G53.1: the tool turned along the tilted plane's Z
  kTiltedPlaneCancel,  // G69: the tilted plane ends
  // M codes
  kToolChange,
  kSpindleClockwise,
  kSpindleCounterClockwise,
  kSpindleStop,
  kStop,  // M0, M1
  kProgramEnd,
  kSubprogramCall,
  kSubprogramEnd,
};

struct Code {
  Function function = Function::kUndefined;
  std::uint8_t argument = 0;
};

// A G code's key: its number times ten (G54.1 is 541), so codes up to 999.9.
inline constexpr int kGCodeKeys = 10000;
inline constexpr int kMCodes = 1000;

struct WorkOffset {
  int g_key = 0;  // the G code that selects it, times ten
  double x = 0, y = 0, z = 0;
};

struct DwellWord {
  char address = 'X';
  TimeUnit unit = TimeUnit::kSeconds;
};

// How a program calls its subprograms.
enum class CallForm : std::uint8_t {
  kNone,
  kMCode,  // M98 P<number> [L<repeats>] (FANUC, HNC)
  kNamed,  // L<number> or a name alone [P<repeats>] (SIEMENS)
};

enum class CycleForm : std::uint8_t {
  kNone,
  kGCodes,  // G81 ... G89 with R, Z, Q, P and a repeat count (FANUC, HNC)
  kCalls,   // CYCLE81(...) and the like, MCALL for a modal call (SIEMENS)
};

struct NcSystem {
  std::string name;

  // <syntax>: the single-letter addresses a block may hold (bit n for 'A'+n),
  // keywords (SIEMENS: CIP, CT, CR=, CYCLE8x, MCALL, names, X=...), block
  // delete, comment forms.
  std::uint32_t words = 0;
  bool keywords = false;
  bool skip_deleted_blocks = true;
  bool parenthesis_comments = true;
  bool semicolon_comments = true;
  std::vector<std::string> ignored_keywords;  // accepted and skipped with their argument

  // <numbers>: a number without a decimal point in one of `scaled_words` is
  // a count of least input increments (FANUC: X1000 is 1.000 mm), unless
  // `calculator` (X1000 is 1000 mm).
  bool calculator = false;
  int metric_increment_digits = 3;  // 0.001 mm
  int inch_increment_digits = 4;    // 0.0001 inch
  std::uint32_t scaled_words = 0;

  // <start>: the modal state at the program's start.
  Units units = Units::kMillimetres;
  Plane plane = Plane::kXY;
  bool incremental = false;
  bool return_to_r = false;   // G99 rather than G98
  bool start_linear = false;  // G1 rather than G0
  int work_offset = -1;       // index into work_offsets, -1 for none

  // <programs>: how programs begin.
  char program_address = 'O';    // O1234; '\0' for none
  bool percent_numbers = false;  // %1234 (HNC)
  bool file_headers = false;     // %_N_NAME_MPF, %_N_NAME_SPF (SIEMENS)
  bool proc_headers = false;     // PROC NAME (SIEMENS)
  bool percent_marks = true;     // a line '%' alone starts and ends the tape

  // <arcs>
  bool centre_absolute = false;     // I, J, K absolute rather than from the start
  char radius_address = 'R';        // '\0' for none
  bool radius_keyword = false;      // CR=
  bool intermediate_point = false;  // CIP with I1=, J1=, K1=
  bool tangential = false;          // CT
  double arc_tolerance = 0.002;     // mm

  // <dwell>: the words of a G4 block and their units.
  std::vector<DwellWord> dwell_words;

  // <tools>
  bool change_on_m6 = true;  // false: a T word changes the tool at once
  char radius_offset_address = 'D';
  char length_offset_address = 'H';  // '\0' for none
  bool name_from_comment = false;    // the tool-change block's comment names the tool
  bool name_from_string = false;     // T="NAME"

  // <cycles>
  CycleForm cycle_form = CycleForm::kGCodes;
  char cycle_repeat_address = 'K';
  TimeUnit cycle_dwell_unit = TimeUnit::kMilliseconds;

  // <subprograms>
  CallForm call_form = CallForm::kMCode;
  char call_number_address = 'P';
  char call_repeat_address = 'L';
  bool packed_repeat = false;  // M98 P30010: 3 times O0010
  int max_depth = 8;
  int max_calls = 10000;  // subprogram runs in one program, repeats counted

  // <paths>: where a path ends and the next begins.
  bool break_at_tool_change = true;
  bool cycles_own_paths = true;
  bool break_at_stop = false;

  // <rotary>: the rotary axes a block may move (degrees) and how the tool's
  // orientation is programmed. A letter not in `rotary_words` is no rotary
  // axis: a system without the element reads A, B and C as before.
  std::uint32_t rotary_words = 0;  // bits as `words`, within A, B and C
  bool tool_vectors = false;       // SIEMENS A3= B3= C3= under the transformation
  std::string tcp_on_keyword;      // SIEMENS TRAORI: tool-centre-point control on
  std::string tcp_off_keyword;     // SIEMENS TRAFOOF: off
  bool swivel_cycle = false;       // SIEMENS CYCLE800(...): a tilted plane, the tool turned to it

  // <work_offsets>, <home>
  std::vector<WorkOffset> work_offsets;
  bool home_set[3] = {false, false, false};
  double home[3] = {0, 0, 0};

  // <gcodes>, <mcodes>
  std::array<Code, kGCodeKeys> g{};
  std::array<Code, kMCodes> m{};

  bool Accepts(char address) const {
    return address >= 'A' && address <= 'Z' && (words >> (address - 'A') & 1) != 0;
  }
  bool Rotary(char address) const {
    return address >= 'A' && address <= 'Z' && (rotary_words >> (address - 'A') & 1) != 0;
  }
  bool Scaled(char address) const {
    return address >= 'A' && address <= 'Z' && (scaled_words >> (address - 'A') & 1) != 0;
  }
};

// Builds an NcSystem from a description's events. After the events end,
// Finish() checks what the elements left open and says whether the
// description is whole.
class NcSystemBuilder : public XmlEvents {
 public:
  NcSystemBuilder();

  bool StartElement(std::string_view name, std::span<const XmlAttribute> attributes,
                    std::uint64_t line) override;
  bool Text(std::string_view text, std::uint64_t line) override;
  bool EndElement(std::string_view name, std::uint64_t line) override;

  // After the last event: true if the description is complete; else error().
  [[nodiscard]] bool Finish();

  const NcSystem& system() const { return system_; }
  NcSystem& system() { return system_; }
  std::uint64_t error_line() const { return error_line_; }
  const std::string& error() const { return error_; }

 private:
  bool Fail(std::uint64_t line, std::string reason);
  bool Element(std::string_view parent, std::string_view name,
               std::span<const XmlAttribute> attributes, std::uint64_t line);
  bool FinishRotary();

  NcSystem system_;
  std::vector<std::string> open_;  // the elements open, outermost first
  std::uint32_t seen_ = 0;         // the root's children seen (each at most once)
  bool root_seen_ = false;
  bool root_closed_ = false;
  int start_offset_key_ = -1;  // <start work_offset>, resolved at the end
  std::uint64_t start_offset_line_ = 0;
  std::uint64_t rotary_line_ = 0;
  std::uint64_t error_line_ = 0;
  std::string error_;
};

// The result of loading a description.
struct [[nodiscard]] NcSystemLoad {
  bool ok = false;
  NcSystem system;
  // On failure: "FILE:LINE: reason" (LINE left out where the parser gives
  // none; FILE is the path given, or "<text>").
  std::string error;
};

NcSystemLoad LoadNcSystemFile(const std::string& path);
NcSystemLoad LoadNcSystemText(std::string_view text);

}  // namespace zu::gcode
