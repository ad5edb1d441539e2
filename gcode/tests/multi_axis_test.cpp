// Five-axis programs: rotary axis words, tool-centre-point control, SIEMENS
// tool vectors and inverse-time feeds, each case a program and the exact
// calls it gives with a MultiAxisReceiver ("axes ..." before each move).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "gcode/interpreter.h"
#include "gcode/tests/recording_receiver.h"
#include "gcode/tests/systems.h"

namespace zu::gcode::testing {
namespace {

constexpr Sample F = Sample::kFanuc;
constexpr Sample A = Sample::kFanucAc;  // FANUC-0i with rotary A and C, G43.4, G93
constexpr Sample H = Sample::kHnc;
constexpr Sample S = Sample::kSiemens;
constexpr Sample L = Sample::kLinuxCnc;
constexpr Sample B = Sample::kSiemensBc;  // SIEMENS-840D with rotary B and C, CYCLE800

// Writes the axes as "axes [A..] [B..] [C..] [tcp] [v X Y Z] [t F]".
class AxesRecorder : public RecordingReceiver, public MultiAxisReceiver {
 public:
  void AxesOfNextMove(const AxisState& axes) override {
    std::string line = "axes";
    for (int i = 0; i < 3; ++i) {
      if ((axes.rotary_known >> i & 1) != 0)
        line += " " + std::string(1, static_cast<char>('A' + i)) + Number(axes.rotary[i]);
    }
    if (axes.tool_centre_point)
      line += " tcp";
    if (axes.has_vector)
      line += " v " + Number(axes.vector[0]) + " " + Number(axes.vector[1]) + " " +
              Number(axes.vector[2]);
    if (axes.inverse_time != 0)
      line += " t" + Number(axes.inverse_time);
    lines.push_back(line);
  }
};

std::string RecordAxes(const NcSystem& system, std::string_view program, ProgramRead* result) {
  AxesRecorder receiver;
  TextLineSource source(program);
  const ProgramRead read = ReadProgram(system, source, receiver, receiver);
  std::string out;
  for (const std::string& line : receiver.lines)
    out += line + "|";
  for (const Diagnostic& error : read.errors)
    out += (error.outcome == Outcome::kRead ? "alarm " : "error ") + std::to_string(error.line) +
           ": " + error.message + "|";
  if (!out.empty())
    out.pop_back();
  if (result != nullptr)
    *result = read;
  return out;
}

struct Case {
  Sample system;
  const char* program;
  const char* expected;  // '|' between lines
};

void Check(const Case& c) {
  SCOPED_TRACE(std::string("program:\n") + c.program);
  EXPECT_EQ(RecordAxes(System(c.system), c.program, nullptr), c.expected);
}

#define OPEN "next 1|start|"

// Rotary words: absolute and incremental, modal, in least increments, with
// rapids held before a path, and the moves of the rotary axes alone.
constexpr Case kRotary[] = {
    {A, "G1 X10. A30. C-45.5 F100", OPEN "feedrate 100|axes A30 C-45.5|feed 10 0 0 c0|end"},
    {A, "G1 X1. A90000 F100", OPEN "feedrate 100|axes A90|feed 1 0 0 c0|end"},
    {A, "G20 G1 X1. A90. F10", OPEN "feedrate 254|axes A90|feed 25.4 0 0 c0|end"},
    {A, "G1 X1. A30. F100\nX2.",
     OPEN "feedrate 100|axes A30|feed 1 0 0 c0|axes A30|feed 2 0 0|end"},
    {A, "G91 G1 X1. A10. F100\nX1. A10.\nC-5.",
     OPEN "feedrate 100|axes A10|feed 1 0 0 c0|axes A20|feed 2 0 0|axes A20 C-5|feed 2 0 0|end"},
    {A, "G1 X1. F100\nA30.", OPEN "feedrate 100|axes|feed 1 0 0 c0|axes A30|feed 1 0 0|end"},
    {A, "G1 X1. A30. F100\nX1. A30.", OPEN "feedrate 100|axes A30|feed 1 0 0 c0|end"},
    {A, "G0 X1. A10.\nX2. A20.\nG1 X3. F100",
     OPEN "feedrate 100|axes A10|rapid 1 0 0|axes A20|rapid 2 0 0|axes A20|feed 3 0 0 c0|end"},
    {A, "G0 A30.\nG1 X1. F100", OPEN "feedrate 100|axes A30|feed 1 0 0 c0|end"},
    {A, "G1 X1. F100\nG0 C90.", OPEN "feedrate 100|axes|feed 1 0 0 c0|axes C90|rapid 1 0 0|end"},
    {A, "G1 X1. F100\nG53 A0. C0.",
     OPEN "feedrate 100|axes|feed 1 0 0 c0|axes A0 C0|feed 1 0 0|end"},
    {A, "G0 X10. Y0\nG3 X-10. Y0 I-10. C180. F100",
     OPEN "feedrate 100|axes|rapid 10 0 0|axes C180|arc -10 0 0 centre 0 0 0 axis 0 0 1|end"},
    {L, "G1 X1 A30 B5 C10 F100", OPEN "feedrate 100|axes A30 B5 C10|feed 1 0 0 c0|end"},
    {S, "G1 X1 A=30 F100", OPEN "feedrate 100|axes A30|feed 1 0 0 c0|end"},
};
TEST(MultiAxis, RotaryAxes) {
  for (const Case& c : kRotary)
    Check(c);
}

// Tool-centre-point control: G43.4 on, G49 or G43 off; SIEMENS TRAORI with
// angles or tool vectors, TRAFOOF.
constexpr Case kTcp[] = {
    {A, "G43.4 H1 G1 X1. A30. F100\nG49 X2.",
     OPEN "feedrate 100|axes A30 tcp|feed 1 0 0 c0|axes A30|feed 2 0 0|end"},
    {A, "G43.4 H1 G1 X1. F100\nG43 H1 X2.",
     OPEN "feedrate 100|axes tcp|feed 1 0 0 c0|axes|feed 2 0 0|end"},
    {S, "TRAORI\nG1 X1 Y2 Z3 A3=0 B3=0 C3=2 F100",
     OPEN "feedrate 100|axes tcp v 0 0 1|feed 1 2 3 c0|end"},
    {S, "TRAORI(1)\nG1 X1 A3=1 C3=1 F100",
     OPEN "feedrate 100|axes tcp v 0.7071 0 0.7071|feed 1 0 0 c0|end"},
    {S, "TRAORI\nG1 X1 A3=1 F100\nB3=1\nB30",
     OPEN "feedrate 100|axes tcp v 1 0 0|feed 1 0 0 c0|axes tcp v 0 1 0|feed 1 0 0|"
          "axes B30 tcp|feed 1 0 0|end"},
    {S, "TRAORI\nG1 X1 A3=1 F100\nTRAFOOF\nG1 X2",
     OPEN "feedrate 100|axes tcp v 1 0 0|feed 1 0 0 c0|axes|feed 2 0 0|end"},
    {S, "G1 X1 A3=1 F100", "error 1: A3=, B3=, C3= belong to TRAORI"},
    {S, "TRAORI\nG1 X1 A3=0 C3=0 F100", "error 2: a tool vector of length 0"},
    {S, "TRAORI\nG1 X1 A3=1 A30 F100", "error 2: a tool vector and rotary axis words in one block"},
    {S, "TRAORI\nG1 X1 A3=1 A3=2 F100", "error 2: A3 given twice"},
    {S, "TRAORI TRAFOOF", "error 1: TRAORI and TRAFOOF in one block"},
    {S, "TRAORI\nG1 X1 A3=1 F100\nG91 B10",
     OPEN "feedrate 100|axes tcp v 1 0 0|feed 1 0 0 c0|end|"
          "error 3: an incremental B after a tool vector: the axis's position is not known"},
};
TEST(MultiAxis, ToolCentrePointControl) {
  for (const Case& c : kTcp)
    Check(c);
}

// G93: F is 1/minutes; the feed sent is the X Y Z path's length times F.
constexpr Case kInverseTime[] = {
    {A, "G93 G1 X30. Y40. F2.", OPEN "feedrate 100|axes t2|feed 30 40 0 c0|end"},
    {A, "G20 G93 G1 X1. F2.", OPEN "feedrate 50.8|axes t2|feed 25.4 0 0 c0|end"},
    {A, "G0 X10. Y0\nG93 G3 X-10. Y0 I-10. F1.",
     OPEN "feedrate 31.4159|axes|rapid 10 0 0|axes t1|arc -10 0 0 centre 0 0 0 axis 0 0 1|end"},
    {A, "G0 X10. Y0\nG93 G3 X0 Y10. I-10. F1.",
     OPEN "feedrate 15.708|axes|rapid 10 0 0|axes t1|arc 0 10 0 centre 0 0 0 axis 0 0 1|end"},
    {A, "G0 X10. Y0\nG93 G2 X0 Y10. I-10. F1.",
     OPEN "feedrate 47.1239|axes|rapid 10 0 0|axes t1|arc 0 10 0 centre 0 0 0 axis 0 0 -1|end"},
    {A, "G0 X10. Y0 Z0\nG93 G2 X10. Y0 Z-5. I-10. F1.",
     OPEN "feedrate 63.0305|axes|rapid 10 0 0|axes t1|arc 10 0 -5 centre 0 0 0 axis 0 0 -1|end"},
    {A, "G93 G1 X10. F1.\nA30. F2.",
     OPEN "feedrate 10|axes t1|feed 10 0 0 c0|axes A30 t2|feed 10 0 0|end"},
    {A, "G93 G1 X10. F1.\nX20.",
     OPEN "feedrate 10|axes t1|feed 10 0 0 c0|axes|feed 20 0 0|end|"
          "alarm 2: a feed move under inverse-time feed (G93) without its F (a control raises an "
          "alarm)"},
    {A, "G93 G0 X10. F5.\nG1 X20.",
     OPEN "axes|rapid 10 0 0|axes|feed 20 0 0 c0|end|"
          "alarm 2: a feed move under inverse-time feed (G93) without its F (a control raises an "
          "alarm)"},
    {A, "G1 X1. F100\nG93 X2. F1.\nG94 X3.",
     OPEN "feedrate 100|axes|feed 1 0 0 c0|feedrate 1|axes t1|feed 2 0 0|axes|feed 3 0 0|end|"
          "alarm 3: a feed move with no feed rate in force (a control raises an alarm)"},
    {A, "G1 X1. F100\nG94 X2.", OPEN "feedrate 100|axes|feed 1 0 0 c0|axes|feed 2 0 0|end"},
    {A, "G93 G1 X1. F0", "error 1: an inverse-time F (G93) must be above 0"},
    {A, "G93 G81 X1. Z-1. R1. F100", "error 1: a drilling cycle under inverse-time feed (G93)"},
    {L, "G93 G1 X10 A90 F0.5", OPEN "feedrate 5|axes A90 t0.5|feed 10 0 0 c0|end"},
};
TEST(MultiAxis, InverseTimeFeeds) {
  for (const Case& c : kInverseTime)
    Check(c);
}

// Refused: rotary words a system does not have, and where they mean nothing.
constexpr Case kRefused[] = {
    {F, "G1 X1. A5. F100", "error 1: unknown word A"},
    {H, "G1 X1 C5 F100", "error 1: unknown word C"},
    {A, "G1 X1. B5. F100", "error 1: unknown word B"},
    {F, "G43.4 H1", "error 1: unknown code G43.4"},
    {F, "G93 G1 X1. F1.", "error 1: unknown code G93"},
    {S, "G43.4", "error 1: unknown code G43.4"},
    {A, "G81 X1. Z-1. R1. A5. F100", "error 1: a rotary axis or tool vector in a drilling cycle"},
    {A, "G28 X0 A0", "error 1: A has no meaning in this block"},
    {A, "G4 X1. C1.", "error 1: C has no meaning in this block"},
    {A, "G1 X1. F100\nG2 A10.",
     OPEN "feedrate 100|axes|feed 1 0 0 c0|end|error 2: a rotary axis or tool vector alone in an "
          "arc block"},
    {S, "MCALL CYCLE81(10, 0, 2, -5)\nG0 X1 A10",
     "error 2: a rotary axis or tool vector in a drilling cycle"},
};
TEST(MultiAxis, RotaryWordsWhereTheyMeanNothing) {
  for (const Case& c : kRefused)
    Check(c);
}

// Tilted planes. G68.2 J90. turns the plane about X by 90 degrees: its X
// is the work's X, its Y the work's Z, its Z the work's -Y. I30. J45. K60.
// (Z, then the new X, then the new Z) puts its X at (0.1268 0.7803 0.6124)
// and its Z at (sin30 sin45, -cos30 sin45, cos45); CYCLE800 A30 B45 (X,
// then the new Y) its Z at (sin45, -sin30 cos45, cos30 cos45).
constexpr Case kTiltedPlanes[] = {
    // Points, the plane's origin in the work frame with its offset.
    {A, "G68.2 X10. I0 J90. K0\nG1 X1. Y2. Z3. F100", OPEN "feedrate 100|axes|feed 11 -3 2 c0|end"},
    {A, "G68.2 I30. J45. K60.\nG1 X1. F100",
     OPEN "feedrate 100|axes|feed 0.1268 0.7803 0.6124 c0|end"},
    {A, "G10 L2 P1 X100.\nG54 G68.2 X10. J90.\nG1 X1. F100",
     OPEN "feedrate 100|axes|feed 111 0 0 c0|end"},
    {A, "G68.2 J90000\nG1 Y1. F100", OPEN "feedrate 100|axes|feed 0 0 1 c0|end"},
    // Arcs: centre turned, axis turned (G17's Z is the plane's, G18's Y too).
    {A, "G68.2 X10. J90.\nG0 X5. Y0 Z0\nG3 X-5. I-5. F100",
     OPEN "feedrate 100|axes|rapid 15 0 0|axes|arc 5 0 0 centre 10 0 0 axis 0 -1 0|end"},
    {A, "G68.2 X10. J90.\nG0 X5. Y0 Z0\nG18 G2 X-5. I-5. F100",
     OPEN "feedrate 100|axes|rapid 15 0 0|axes|arc 5 0 0 centre 10 0 0 axis 0 0 -1|end"},
    // G91: along the plane's axes.
    {A, "G68.2 X10. J90.\nG0 X0 Y0 Z0\nG91 G1 X1. Y1. F100",
     OPEN "feedrate 100|axes|rapid 10 0 0|axes|feed 11 0 1 c0|end"},
    // G53.1: the tool along the plane's Z, the tip programmed; the turn is a
    // move to where the tool is.
    {A, "G0 X0 Y0 Z50.\nG68.2 X10. J90.\nG53.1\nG1 X1. Y2. Z3. F100",
     OPEN "feedrate 100|axes|rapid 0 0 50|axes tcp v 0 -1 0|rapid 0 0 50|"
          "axes tcp v 0 -1 0|feed 11 -3 2 c0|end"},
    {A, "G68.2 I30. J45. K60. G53.1\nG1 X1. F100",
     OPEN "feedrate 100|axes tcp v 0.3536 -0.6124 0.7071|feed 0.1268 0.7803 0.6124 c0|end"},
    {A, "G0 A30. C10.\nG68.2 J90.\nG53.1\nG1 X1. F100\nG53.1\nX2.",
     OPEN "feedrate 100|axes tcp v 0 -1 0|feed 1 0 0 c0|axes tcp v 0 -1 0|feed 2 0 0|end"},
    // G69: the work frame again, the rotary axes where the control left them.
    {A, "G68.2 X10. J90.\nG53.1\nG0 X0 Y0 Z0\nG69\nG1 X1. F100\nA0 C0",
     OPEN "feedrate 100|axes tcp v 0 -1 0|rapid 10 0 0|axes|feed 1 0 0 c0|axes A0 C0|"
          "feed 1 0 0|end"},
    {A, "G68.2 J90.\nG69 G1 X1. Y2. F100\nG69", OPEN "feedrate 100|axes|feed 1 2 0 c0|end"},
    // SIEMENS CYCLE800, mode 57: a plane with the tool turned to it.
    {B, "CYCLE800(1,\"TC1\",0,57,10,0,0,30,45,0,0,0,0,-1,0,1)\nG1 X1 Y0 Z0 F100",
     OPEN "feedrate 100|axes tcp v 0.7071 -0.3536 0.6124|feed 10.7071 0.3536 -0.6124 c0|end"},
    {B, "CYCLE800(,\"\",,57,,,,,,90,1,,5)\nG1 X1 Y0 Z0 F100",
     OPEN "feedrate 100|axes tcp v 0 0 1|feed 0 2 5 c0|end"},
    {B, "G1 X1 F100\nCYCLE800(0,\"\",0,57,0,0,0,90,0,0)\nG1 Y1\nCYCLE800()\nG1 X2",
     OPEN "feedrate 100|axes|feed 1 0 0 c0|axes tcp v 0 -1 0|rapid 1 0 0|"
          "axes tcp v 0 -1 0|feed 1 0 1|axes|feed 2 0 1|end"},
    {B, "CYCLE800(0,0,0,57,0,0,0,90)\nCYCLE800(0,0,0,57,0,0,0,0,90)\nG1 X1 F100",
     OPEN "feedrate 100|axes tcp v 1 0 0|feed 0 0 -1 c0|end"},
};
TEST(MultiAxis, TiltedPlanes) {
  for (const Case& c : kTiltedPlanes)
    Check(c);
}

constexpr Case kTiltedPlanesRefused[] = {
    {A, "G68.2 J90.\nG68.2 J45.",
     "error 2: G68.2 while a tilted plane is in force: it must be cancelled first"},
    {A, "G53.1", "error 1: G53.1 without a tilted plane"},
    {A, "G68.2 J90.\nG53.1 X1.", "error 2: X has no meaning in this block"},
    {A, "G68.2 J90. G69", "error 1: G68.2 and G69 in one block"},
    {A, "G68.2 J90. G4 X1.", "error 1: G68.2 with a command of another kind in one block"},
    {A, "G68.2 J90. A10.", "error 1: A has no meaning in this block"},
    {A, "G68.2 J90.\nG1 X1. A10. F100", "error 2: a rotary axis or tool vector in a tilted plane"},
    {A, "G68.2 J90.\nG43.4 H1", "error 2: tool-centre-point control in a tilted plane"},
    {A, "G43.4 H1\nG68.2 J90.", "error 2: G68.2 under tool-centre-point control"},
    {A, "G68.2 J90. G43.4 H1", "error 1: G68.2 with a command of another kind in one block"},
    {A, "G68.2 J90.\nG53.1 G41 D1", "error 2: cutter compensation in a tilted plane is not read"},
    {A, "G41 D1 G1 X1. F100\nG68.2 J90.",
     OPEN "d 1|feedrate 100|axes|feed 1 0 0 c1|end|error 2: G68.2 with cutter compensation on"},
    {A, "G68.2 J90.\nG41 D1 G1 X1. F100",
     "error 2: cutter compensation in a tilted plane is not read"},
    {A, "G81 X1. Z-1. R1. F100\nG68.2 J90.",
     "next 1|start|feedrate 100|drill 81 safe=0 dwell=0 peck=0 depth=2 clear=0 top=1 f=100 s=0|"
     "hole 1 0 -1|flush|end|error 2: G68.2 in a drilling cycle"},
    {A, "G68.2 J90.\nG81 X1. Z-1. R1. F100",
     "error 2: a drilling cycle in a tilted plane is not read"},
    {A, "G68.2 J90.\nG28 X0", "error 2: machine positions (G28, G53) in a tilted plane"},
    {A, "G68.2 J90.\nG55", "error 2: a work offset change in a tilted plane"},
    {A, "G68.2 J90.\nG54 G1 X1. F100", OPEN "feedrate 100|axes|feed 1 0 0 c0|end"},
    {B, "CYCLE800(0,\"\",0,27,0,0,0,30)", "error 1: CYCLE800 mode 27 is not read"},
    {B, "CYCLE800(0,\"\",0,,0,0,0,30)", "error 1: CYCLE800 needs its mode _MODE"},
    {B, "CYCLE800(0,\"\",1,57,0,0,0,30)",
     "error 1: CYCLE800 with an additive swivel (_ST) is not read"},
    {B, "CYCLE800(0,\"\",0,57) X1", "error 1: CYCLE800 stands in a block of its own"},
    {B, "CYCLE800(\"A\",\"\",0,57)", "error 1: argument 1 is not a number"},
    {B, "CYCLE800(0,\"TC1,0,57)", "error 1: unclosed '\"'"},
    {B, "CYCLE81(10,0,2,-5) CYCLE800()", "error 1: two cycle calls in one block"},
    {B, "CYCLE800(0,\"\",0,57,0,0,0,30)\nTRAORI",
     "error 2: tool-centre-point control in a tilted plane"},
    {S, "CYCLE800(0,\"\",0,57,0,0,0,30)", "error 1: unknown word CYCLE800"},
};
TEST(MultiAxis, TiltedPlanesRefused) {
  for (const Case& c : kTiltedPlanesRefused)
    Check(c);
}

// Without a MultiAxisReceiver the points are sent turned all the same.
TEST(MultiAxis, APathReceiverAloneGetsTheTiltedPlanesPointsInTheWorkFrame) {
  EXPECT_EQ(Record(System(A), "G68.2 X10. J90.\nG53.1\nG0 X0 Y0 Z0\nG1 X1. Y2. Z3. F100"),
            Record(System(A), "G0 X10. Y0 Z0\nG1 X11. Y-3. Z2. F100"));
  EXPECT_EQ(Record(System(B), "G0 X0 Y0 Z0\nCYCLE800(0,\"\",0,57,0,0,0,90)\nG1 Y1 F100"),
            Record(System(B), "G0 X0 Y0 Z0\nG1 Z1 F100"));
}

// Without a MultiAxisReceiver a move of the rotary axes alone is not sent,
// and what the receiver gets is what a program without rotary words gives.
TEST(MultiAxis, APathReceiverAloneGetsTheLinearAxes) {
  EXPECT_EQ(Record(System(A), "G1 X1. F100\nA30.\nX2. C10."),
            Record(System(A), "G1 X1. F100\nX2."));
}

TEST(MultiAxis, TheReadSaysWhatOfFiveAxesItRead) {
  ProgramRead read;
  (void)RecordAxes(System(A), "G1 X1. A5. F100\nG1 X2. B5.", &read);
  EXPECT_EQ(read.rotary_axes, kAxisA);  // B was left out with its block
  EXPECT_FALSE(read.tool_centre_point || read.tool_vectors || read.inverse_time);
  (void)RecordAxes(System(A), "G43.4 H1 G93 G1 X1. C5. F1.", &read);
  EXPECT_EQ(read.rotary_axes, kAxisC);
  EXPECT_TRUE(read.tool_centre_point && read.inverse_time && read.multi_axis());
  (void)RecordAxes(System(S), "TRAORI\nG1 X1 C3=1 F100", &read);
  EXPECT_TRUE(read.tool_vectors && read.tool_centre_point);
  EXPECT_EQ(read.rotary_axes, 0);
  (void)RecordAxes(System(F), "G1 X1. F100", &read);
  EXPECT_FALSE(read.multi_axis());
  (void)RecordAxes(System(A), "G68.2 J90.\nG1 X1. F100", &read);
  EXPECT_FALSE(read.multi_axis());  // the plane's points are the work frame's
  (void)RecordAxes(System(A), "G68.2 J90.\nG53.1\nG1 X1. F100", &read);
  EXPECT_TRUE(read.tool_centre_point && read.tool_vectors);
}

// The five-axis sample: every move with its axes, the rotary moves alone
// included, the inverse-time feeds turned into feeds per minute.
TEST(MultiAxis, TheFiveAxisSampleGivesEachMoveItsAxes) {
  std::ifstream file(std::string(ZU_SOURCE_DIR) + "/gcode/samples/fanuc_5axis.nc");
  std::stringstream text;
  text << file.rdbuf();
  ProgramRead read;
  EXPECT_EQ(RecordAxes(System(A), text.str(), &read), OPEN
            "tool 1|name BALL MILL D6|feedrate 300|speed 8000|"
            "axes A0 C0|rapid 0 0 0|axes A0 C0|rapid -20 0 0|axes A0 C0 tcp|rapid -20 0 50|"
            "axes A30 C0 tcp|rapid -20 0 5|axes A30 C0 tcp|feed -20 0 0 c0|"
            "feedrate 600|axes A30 C15 tcp|feed 20 0 0|axes A25 C30 tcp|feed 20 20 0|"
            "axes A25 C45 tcp|feed 20 20 0|"
            "feedrate 1200|axes A20 C60 tcp t30|feed -20 20 0|"
            "feedrate 500|axes A20 C90 tcp t25|feed -20 0 0|"
            "feedrate 600|axes A20 C90 tcp|feed 0 0 0|axes A20 C60 tcp|feed 0 0 0|"
            "axes A20 C60 tcp|rapid 0 0 50|axes A0 C0|rapid 0 0 50|speed 0|end");
  EXPECT_TRUE(read.ok());
}

}  // namespace
}  // namespace zu::gcode::testing
