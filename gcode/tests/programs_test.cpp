// Programs as wholes: headers and ends, subprograms and their limits, errors
// with their lines, and every truncation of the sample programs.
#include "gcode/interpreter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "gcode/tests/protocol_checker.h"
#include "gcode/tests/recording_receiver.h"
#include "gcode/tests/systems.h"

namespace zu::gcode::testing {
namespace {

constexpr Sample F = Sample::kFanuc;
constexpr Sample H = Sample::kHnc;
constexpr Sample S = Sample::kSiemens;

struct Case {
  Sample system;
  const char* program;
  const char* expected;  // '|' between lines
};

std::string Lines(std::string_view joined) {
  std::string out;
  for (char c : joined)
    out += c == '|' ? '\n' : c;
  return out.empty() ? out : out + "\n";
}

void Check(const Case& c, const NcSystem* system = nullptr) {
  SCOPED_TRACE(std::string("program:\n") + c.program);
  EXPECT_EQ(Record(system != nullptr ? *system : System(c.system), c.program), Lines(c.expected));
}

#define OPEN "next 1|start|feedrate 100|"

// Where the main program begins and ends.
constexpr Case kStructure[] = {
    {F, "%\nO1000 (MAIN)\nG1 X1. F100\n%\nG1 X2.", OPEN "feed 1 0 0 c0|end"},
    {F, "%\nG1 X1. F100\nM30\nG1 X2.\n%", OPEN "feed 1 0 0 c0|end"},
    {F, "O1000\nG1 X1. F100\nO2000\nG1 X2.",
     OPEN "feed 1 0 0 c0|end|ended 3: the main program has no end (M30, M2 or M99) before this "
          "program: reading ends here"},
    {F, "(NO HEADER)\nG1 X1. F100\nM99\nG1 X2.", OPEN "feed 1 0 0 c0|end"},
    {F, "O0001\nG1 X1. F100", OPEN "feed 1 0 0 c0|end"},
    {H, "%1234\nG1 X1 F100\nM30\n%2000\nG1 X2", OPEN "feed 1 0 0 c0|end"},
    {S, "%_N_PART_MPF\n;$PATH=/_N_MPF_DIR\nG1 X1 F100\nM30", OPEN "feed 1 0 0 c0|end"},
    {S, "%_N_SUB_SPF\nG1 X9 F100\nM17\n%_N_PART_MPF\nG1 X1 F100\nM30", OPEN "feed 1 0 0 c0|end"},
    {S, "PROC SUB\nG1 X9 F100\nRET\n%_N_PART_MPF\nG1 X1 F100\nM30", OPEN "feed 1 0 0 c0|end"},
};
TEST(Programs, MainProgramBeginsAndEnds) {
  for (const Case& c : kStructure)
    Check(c);
}

// Words after a program number on its line are a block; reading that ends
// before the main program's end word, or at an O word this reader does not
// know, says so.
constexpr Case kHeaderLines[] = {
    {F, "O1000 G0 X5. Y5.\nG1 X6. F100\nM30", OPEN "rapid 5 5 0|feed 6 5 0 c0|end"},
    {F, "O1000X5.\nG1 Y5. F100\nM30", OPEN "rapid 5 0 0|feed 5 5 0 c0|end"},
    {H, "%1234 G1 X1 F100\nM30", OPEN "feed 1 0 0 c0|end"},
    {F, "O1000 (MAIN)\nG1 X1. F100\nM30", OPEN "feed 1 0 0 c0|end"},
    {F, "G1 X1. F100\nM98 P2000\nM30\nO2000 G91 G1 X1.\nG90\nM99",
     OPEN "feed 1 0 0 c0|feed 2 0 0|end"},
    {F, "G1 X1. F100\nM98 P2000 L2\nM30\nO2000G91 G1 X1.\nG90\nM99",
     OPEN "feed 1 0 0 c0|feed 2 0 0|feed 3 0 0|end"},
    {F, "G1 X1. F100\nO2000 IF [#1 GT 5] GOTO 10\nG1 X2.\nM30",
     OPEN "feed 1 0 0 c0|end|ended 2: an O word this reader does not know: reading ends here"},
    {F, "G1 X1. F100\nO100 repeat [3]\nG1 X2.\nO100 endrepeat\nM30",
     OPEN "feed 1 0 0 c0|end|ended 2: an O word this reader does not know: reading ends here"},
    {S, "%_N_PART_MPF\nG1 X1 F100\n%_N_SUB_SPF\nG1 X2\nM17",
     OPEN "feed 1 0 0 c0|end|ended 3: the main program has no end (M30, M2 or M17 or RET) before "
          "this program: reading ends here"},
    // a UTF-8 byte-order mark before the first line
    {F, "\xEF\xBB\xBF%\nO1000\nG1 X1. F100\nM30\n%", OPEN "feed 1 0 0 c0|end"},
    {F, "\xEF\xBB\xBFG1 X1. F100", OPEN "feed 1 0 0 c0|end"},
    {F, "G1 X1. F100\n\xEF\xBB\xBFG1 X2.", OPEN "feed 1 0 0 c0|end|error 2: unexpected 0xEF"},
};
TEST(Programs, HeaderLinesAndWhereReadingEnds) {
  for (const Case& c : kHeaderLines)
    Check(c);
}

#define SUB_FANUC "O2000\nG91 G1 X1.\nG90\nM99\n"

// Subprograms of the same file, called as each system calls them.
constexpr Case kCalls[] = {
    {F, "O1000\nG1 X1. F100\nM98 P2000 L2\nG1 X5.\nM30\n" SUB_FANUC,
     OPEN "feed 1 0 0 c0|feed 2 0 0|feed 3 0 0|feed 5 0 0|end"},
    {F, "O1000\nG1 X1. F100\nM98 P22000\nM30\n" SUB_FANUC,
     OPEN "feed 1 0 0 c0|feed 2 0 0|feed 3 0 0|end"},
    {F, "O1000\nG1 X1. F100\nM98 P2000 L0\nM30\n" SUB_FANUC, OPEN "feed 1 0 0 c0|end"},
    // the top subprogram number, alone and with packed repeats
    {F, "O1000\nG1 X1. F100\nM98 P9999\nM30\nO9999\nG91 G1 X1.\nG90\nM99",
     OPEN "feed 1 0 0 c0|feed 2 0 0|end"},
    {F, "O1000\nG1 X1. F100\nM98 P29999\nM30\nO9999\nG91 G1 X1.\nG90\nM99",
     OPEN "feed 1 0 0 c0|feed 2 0 0|feed 3 0 0|end"},
    {F, "O1000\nG1 X1. F100\nM98 P10001\nM30\nO1\nG91 G1 X1.\nG90\nM99",
     OPEN "feed 1 0 0 c0|feed 2 0 0|end"},
    // a repeat count beside packed repeats: L wins unless it is 1
    {F, "O1000\nG1 X1. F100\nM98 P22000 L3\nM30\n" SUB_FANUC,
     OPEN "feed 1 0 0 c0|feed 2 0 0|feed 3 0 0|feed 4 0 0|end"},
    {F, "O1000\nG1 X1. F100\nM98 P22000 L1\nM30\n" SUB_FANUC,
     OPEN "feed 1 0 0 c0|feed 2 0 0|feed 3 0 0|end"},
    // a subprogram on the file's first line
    {S, "%_N_SUB_SPF\nG1 X9 F100\nM17\n%_N_PART_MPF\nG1 X1 F100\nSUB\nM30",
     OPEN "feed 1 0 0 c0|feed 9 0 0|end"},
    // The first program is the main one, even when it ends in M99.
    {F, SUB_FANUC "O1000\nG1 X1. F100\nM98 P2000\nM30\n",
     "next 1|start|feed 1 0 0 c0|end|alarm 2: a feed move with no feed rate in force (a control "
     "raises an alarm)"},
    {F, "G1 X1. F100\nM98 P2000\nM30\nO2000\nG1 Y1.\nM98 P3000\nM99\nO3000\nG1 Z1.\nM99",
     OPEN "feed 1 0 0 c0|feed 1 1 0|feed 1 1 1|end"},
    {F, "O1000\nG1 X1. F100\nM98 P9000\nG1 X2.\nM30",
     OPEN "feed 1 0 0 c0|feed 2 0 0|end|error 3: no subprogram O9000 in the file"},
    {F, "O1000\nG1 X1. F100\nM98 P1000\nM30",
     OPEN "feed 1 0 0 c0|end|error 3: recursive call of subprogram O1000"},
    {F, "G1 X1. F100\nM98 P2000\nM30\nO2000\nG1 Y1.\nM98 P2000\nM99",
     OPEN "feed 1 0 0 c0|feed 1 1 0|end|error 6: recursive call of subprogram O2000"},
    {F, "G1 X1. F100\nM98 P2000\nG1 X3.\nM30\nO2000\nG1 Y1.",
     OPEN "feed 1 0 0 c0|feed 1 1 0|feed 3 1 0|end|error 2: subprogram O2000 has no end (M99)"},
    {F, "G1 X1. F100\nM98 P2000\nG1 X3.\nM30\nO2000\nG1 Y1.\nO3000\nM99",
     OPEN "feed 1 0 0 c0|feed 1 1 0|feed 3 1 0|end|error 7: subprogram O2000 has no end (M99)"},
    {F, "G1 X1. F100\nM98\nM30",
     OPEN "feed 1 0 0 c0|end|error 2: the subprogram call needs its number P"},
    {F, "G1 X1. F100\nM98 P2000 Q1\nM30",
     OPEN "feed 1 0 0 c0|end|error 2: Q has no meaning in this block"},
    {H, "%1000\nG1 X1 F100\nM98 P2000 L2\nM30\n%2000\nG91 G1 X1\nG90\nM99",
     OPEN "feed 1 0 0 c0|feed 2 0 0|feed 3 0 0|end"},
    {S,
     "%_N_MAIN_MPF\nG1 X1 F100\nL10 P2\nSUB_A\nM30\n%_N_L10_SPF\nG91 G1 X1\nG90\nM17\n"
     "%_N_SUB_A_SPF\nG1 Y5\nRET",
     OPEN "feed 1 0 0 c0|feed 2 0 0|feed 3 0 0|feed 3 5 0|end"},
    {S, "G1 X1 F100\nDRILLS\nM30\nPROC DRILLS\nG1 Y1\nRET", OPEN "feed 1 0 0 c0|feed 1 1 0|end"},
    {S, "G1 X1 F100\nL0010\nM30\n%_N_L10_SPF\nG1 Y1\nM17",
     OPEN "feed 1 0 0 c0|end|error 2: no subprogram L0010 in the file"},
    {S, "G1 X1 F100\nNOWHERE\nM30",
     OPEN "feed 1 0 0 c0|end|error 2: no subprogram NOWHERE in the file"},
};
TEST(Programs, SubprogramsOfTheSameFile) {
  for (const Case& c : kCalls)
    Check(c);
}

// Nine nested calls: one more than the depth allowed.
TEST(Programs, CallsNestDeeperThanTheLimitAreRefused) {
  std::string program = "G1 X1. F100\nM98 P2001\nM30\n";
  for (int level = 1; level <= 9; ++level) {
    program += "O" + std::to_string(2000 + level) + "\nG91 G1 X1.\n";
    if (level < 9)
      program += "M98 P" + std::to_string(2001 + level) + "\n";
    program += "M99\n";
  }
  const std::string out = Record(System(F), program);
  EXPECT_NE(out.find("feed 9 0 0\n"), std::string::npos) << out;  // eight levels ran
  EXPECT_EQ(out.find("feed 10 0 0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("error 34: subprogram calls nested deeper than 8"), std::string::npos) << out;
}

TEST(Programs, PackedRepeatsWithoutARepeatAddress) {
  NcSystem system = System(F);
  system.call_repeat_address = '\0';
  Check({F, "G1 X1. F100\nM98 P22000\nM30\n" SUB_FANUC,
         OPEN "feed 1 0 0 c0|feed 2 0 0|feed 3 0 0|end"},
        &system);
}

TEST(Programs, SubprogramRunsAreCounted) {
  NcSystem system = System(F);
  system.max_calls = 5;
  Check({F, "G1 X1. F100\nM98 P2000 L9\nM30\n" SUB_FANUC,
         OPEN "feed 1 0 0 c0|feed 2 0 0|feed 3 0 0|feed 4 0 0|feed 5 0 0|feed 6 0 0|end|"
              "error 7: more than 5 subprogram runs"},
        &system);
  system.max_calls = 1;
  Check({F, "G1 X1. F100\nM98 P2000\nM98 P2000\nM30\n" SUB_FANUC,
         OPEN "feed 1 0 0 c0|feed 2 0 0|end|error 3: more than 1 subprogram runs"},
        &system);
}

// A source that cannot go back: calls are refused, the rest is read.
class ForwardOnly : public TextLineSource {
 public:
  using TextLineSource::TextLineSource;
  bool Seek(const LinePosition&) override { return false; }
};

TEST(Programs, CallsNeedAnInputThatCanBeReadAgain) {
  ForwardOnly source("G1 X1. F100\nM98 P2000\nG1 X2.\nM30\n" SUB_FANUC);
  RecordingReceiver receiver;
  const ProgramRead read = ReadProgram(System(F), source, receiver);
  ASSERT_EQ(read.errors.size(), 1u);
  EXPECT_EQ(read.errors[0].line, 2u);
  EXPECT_EQ(read.errors[0].block, "M98 P2000");
  EXPECT_EQ(read.errors[0].message, "subprogram calls need an input that can be read again");
  EXPECT_EQ(receiver.lines.size(), 6u);  // the path with both feeds
}

TEST(Programs, ErrorsKeepTheirLineAndText) {
  TextLineSource source("G1 X1. F100\r\nG1 X2. A1.   \r\nG2 X5.\r\nG1 X3.\r\nM30\r\n");
  RecordingReceiver receiver;
  ReadOptions options;
  options.max_errors = 1;
  const ProgramRead read = ReadProgram(System(F), source, receiver, options);
  EXPECT_EQ(read.error_count, 2u);
  ASSERT_EQ(read.errors.size(), 1u);
  EXPECT_EQ(read.errors[0].line, 2u);
  EXPECT_EQ(read.errors[0].block, "G1 X2. A1.");
  EXPECT_EQ(read.errors[0].message, "unknown word A");
  EXPECT_EQ(read.paths, 1);
  EXPECT_EQ(read.lines, 5u);
  EXPECT_FALSE(read.ok());
}

TEST(Programs, OverlongLinesAreRefusedAndSkipped) {
  const std::string program =
      "G1 X1. F100\nG1 X2. (" + std::string(kMaxLineLength, 'A') + ")\nG1 X3.\n";
  Check({F, program.c_str(),
         OPEN "feed 1 0 0 c0|feed 3 0 0|end|error 2: the line is longer than 4096 characters"});
}

TEST(Programs, WorkOffsetsAndMachineCoordinates) {
  NcSystem system = System(F);
  system.work_offsets[1] = {550, 100, 0, -50};  // G55
  Check({F, "G55 G1 X1. F100\nG53 G1 X5.\nG1 X5.\nG54 X5.\nG10 L2 P2 X200.\nG55 X1.",
         OPEN "feed 101 0 0 c0|feed 5 0 0|feed 105 0 0|feed 5 0 0|feed 201 0 0|end"},
        &system);
  Check({F, "G1 X1. F100\nG91 G53 X5.",
         OPEN "feed 1 0 0 c0|end|"
              "error 2: G53 positions are absolute: the block "
              "cannot be incremental"},
        &system);
  Check({F, "G10 L2 P7 X1.", "error 1: G10 L2 P7: no such work offset"}, &system);
  Check({F, "G10 L2 P0 X1.", "error 1: G10 L2 P0: no such work offset"}, &system);
  // the first and the last offset
  Check({F, "G10 L2 P6 X7. Y-1.\nG10 L2 P1 Z2.\nG59 G1 X1. Y0 Z0 F100\nG54 X1. Y0 Z0",
         OPEN "feed 8 -1 0 c0|feed 1 0 2|end"},
        &system);
}

TEST(Programs, HomeGoesThroughTheBlocksPoint) {
  NcSystem system = System(F);
  system.home_set[2] = true;
  system.home[2] = 400;
  Check({F, "G1 X1. Z10. F100\nG28 Z20.\nG1 X2.",
         OPEN "feed 1 0 10 c0|rapid 1 0 20|rapid 1 0 400|feed 2 0 400|end"},
        &system);
}

TEST(Programs, ToolsWithoutPathBreaks) {
  NcSystem system = System(F);
  system.break_at_tool_change = false;
  system.cycles_own_paths = false;
  Check({F, "T1 M6\nG0 X0 Y0 Z50.\nG1 Z0 F100\nT2 M6\nG81 X10. Z-5. R2.\nG1 X0",
         "next 1|start|tool 1|feedrate 100|rapid 0 0 50|feed 0 0 0 c0|tool 2|"
         "drill 81 safe=0 dwell=0 peck=0 depth=7 clear=0 top=2 f=100 s=0|hole 10 0 -5|flush|"
         "feed 0 0 0|end"},
        &system);
}

// What a description changes, one setting at a time on the FANUC sample.
struct Variant {
  const char* name;
  void (*change)(NcSystem&);
  const char* program;
  const char* expected;
};
const Variant kVariants[] = {
    {"absolute centres", [](NcSystem& s) { s.centre_absolute = true; },
     "G1 X10. Y0 F100\nG3 X0 Y10. I0 J0",
     OPEN "feed 10 0 0 c0|arc 0 10 0 centre 0 0 0 axis 0 0 1|end"},
    {"incremental centres", [](NcSystem&) {}, "G1 X10. Y0 F100\nG3 X0 Y10. I-10. J0",
     OPEN "feed 10 0 0 c0|arc 0 10 0 centre 0 0 0 axis 0 0 1|end"},
    {"block delete run", [](NcSystem& s) { s.skip_deleted_blocks = false; }, "/G1 X5. F100\nG1 X1.",
     OPEN "feed 5 0 0 c0|feed 1 0 0|end"},
    {"calculator-type input", [](NcSystem& s) { s.calculator = true; }, "G1 X1000 Y1.5 F100",
     OPEN "feed 1000 1.5 0 c0|end"},
    {"T changes the tool", [](NcSystem& s) { s.change_on_m6 = false; }, "T1\nG1 X1. F100\nT2\nX2.",
     "next 1|start|tool 1|feedrate 100|feed 1 0 0 c0|end|next 2|start|tool 2|feedrate 100|"
     "feed 2 0 0 c0|end"},
    {"stops break paths", [](NcSystem& s) { s.break_at_stop = true; }, "G1 X1. F100\nM1\nX2.",
     OPEN "feed 1 0 0 c0|end|next 2|start|feedrate 100|feed 2 0 0 c0|end"},
    {"G99 at start", [](NcSystem& s) { s.return_to_r = true; }, "G0 Z50.\nG81 X1. Z-1. R1. F100",
     OPEN "rapid 0 0 50|drill 81 safe=0 dwell=0 peck=0 depth=2 clear=1 top=1 f=100 s=0|"
          "hole 1 0 -1|flush|end"},
    {"inch at start", [](NcSystem& s) { s.units = Units::kInches; }, "G1 X1. F10",
     "next 1|start|feedrate 254|feed 25.4 0 0 c0|end"},
    {"G1 at start", [](NcSystem& s) { s.start_linear = true; }, "F100\nX1.",
     OPEN "feed 1 0 0 c0|end"},
    {"no length offset address", [](NcSystem& s) { s.length_offset_address = '\0'; },
     "G1 X1. H1 F100", "error 1: H has no meaning in this block"},
    {"a tighter arc tolerance", [](NcSystem& s) { s.arc_tolerance = 0.001; },
     "G1 X10. Y0 F100\nG3 X-10.002 Y0 I-10.",
     OPEN "feed 10 0 0 c0|end|error 2: the arc's radius at its start (10.0000 mm) and end "
          "(10.0020 mm) differ by more than 0.001 mm"},
};

TEST(Programs, EachSettingOfTheDescriptionCounts) {
  for (const Variant& variant : kVariants) {
    SCOPED_TRACE(variant.name);
    NcSystem system = System(F);
    variant.change(system);
    Check({F, variant.program, variant.expected}, &system);
  }
}

std::string ReadSample(const std::string& name) {
  std::ifstream file(std::string(ZU_SOURCE_DIR) + "/gcode/samples/" + name, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

struct SampleFile {
  Sample system;
  const char* name;
};
constexpr SampleFile kSamples[] = {
    {F, "fanuc_plate.nc"}, {F, "fanuc_inch.nc"},       {H, "hnc_flange.nc"},
    {H, "hnc_pocket.nc"},  {S, "siemens_housing.mpf"}, {S, "siemens_slots.mpf"},
};

// Every prefix of every sample, cut anywhere, reads without a crash and
// keeps the order of the calls: every path closed, none left open.
TEST(Programs, EveryTruncationOfTheSamplesKeepsTheOrder) {
  for (const SampleFile& sample : kSamples) {
    const std::string text = ReadSample(sample.name);
    ASSERT_FALSE(text.empty()) << sample.name;
    for (std::size_t length = 0; length <= text.size(); ++length) {
      ProtocolChecker checker;
      TextLineSource source(std::string_view(text).substr(0, length));
      const ProgramRead read = ReadProgram(System(sample.system), source, checker);
      ASSERT_TRUE(checker.Closed()) << sample.name << " cut at " << length << ": " << checker.fault;
      ASSERT_EQ(read.paths, checker.paths) << sample.name << " cut at " << length;
    }
  }
}

}  // namespace
}  // namespace zu::gcode::testing
