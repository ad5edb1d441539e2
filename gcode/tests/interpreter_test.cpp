// One case per feature and system: a program's text and the exact calls it
// gives (recording_receiver.h), '|' between lines.
#include "gcode/interpreter.h"

#include <gtest/gtest.h>

#include <string>

#include "gcode/tests/recording_receiver.h"
#include "gcode/tests/systems.h"

namespace zu::gcode::testing {
namespace {

constexpr Sample F = Sample::kFanuc;
constexpr Sample H = Sample::kHnc;
constexpr Sample S = Sample::kSiemens;
constexpr Sample L = Sample::kLinuxCnc;

struct Case {
  Sample system;
  const char* program;   // lines separated by '\n'
  const char* expected;  // lines separated by '|'
};

std::string Lines(std::string_view joined) {
  std::string out;
  for (char c : joined)
    out += c == '|' ? '\n' : c;
  return out.empty() ? out : out + "\n";
}

void Check(const Case& c) {
  SCOPED_TRACE(std::string("program:\n") + c.program);
  EXPECT_EQ(Record(System(c.system), c.program), Lines(c.expected));
}

#define OPEN "next 1|start|"

// Numbers: decimal point rules, units, case and blanks, comments, block
// delete and block numbers.
constexpr Case kWords[] = {
    {F, "G1 X1000 Y1.5 Z-250 F100", OPEN "feedrate 100|feed 1 1.5 -0.25 c0|end"},
    {H, "G1 X1000 Y1.5 Z-250 F100", OPEN "feedrate 100|feed 1000 1.5 -250 c0|end"},
    {S, "G1 X1000 Y1.5 Z-250 F100", OPEN "feedrate 100|feed 1000 1.5 -250 c0|end"},
    {F, "G1 X.5 Y-.25 Z0. F100", OPEN "feedrate 100|feed 0.5 -0.25 0 c0|end"},
    // zeros right after the point count
    {F, "G1 X0.05 Y-0.005 Z.0125 F100", OPEN "feedrate 100|feed 0.05 -0.005 0.0125 c0|end"},
    {H, "G1 X0.05 Y-00.005 Z.0125 F100", OPEN "feedrate 100|feed 0.05 -0.005 0.0125 c0|end"},
    {F, "G1 X1000.0001 F100", OPEN "feedrate 100|feed 1000.0001 0 0 c0|end"},
    // more digits than a double holds
    {F, "G1 X-.12345678901234567890123 Y.98765432109876543210987 F100",
     OPEN "feedrate 100|feed -0.1235 0.9877 0 c0|end"},
    {F, "G999.9", "error 1: unknown code G999.9"},
    {F, "G1000", "error 1: no such G code"},
    {F, "M999", "error 1: unknown code M999"},
    {F, "M1000", "error 1: no such M code"},
    {F, "G1 X0.0000000000000000000001 Y123456789012345678.9 F1",
     "error 1: the value of Y is out of range"},
    {F, "G20 G1 X1. Y10000 F10", OPEN "feedrate 254|feed 25.4 25.4 0 c0|end"},
    {H, "G20 G1 X1 Y0.5 F10", OPEN "feedrate 254|feed 25.4 12.7 0 c0|end"},
    {S, "G70 G1 X1 F10\nG71 X2", OPEN "feedrate 254|feed 25.4 0 0 c0|feed 2 0 0|end"},
    {S, "G700 G1 X1 F10\nG710 X2", OPEN "feedrate 254|feed 25.4 0 0 c0|feed 2 0 0|end"},
    {F, "n10g1x10.y-5.5f200", OPEN "feedrate 200|feed 10 -5.5 0 c0|end"},
    {F, "N10 G 1 X 10. F 200", OPEN "feedrate 200|feed 10 0 0 c0|end"},
    {S, "n10 g1 x=10 y = -5.5 f200", OPEN "feedrate 200|feed 10 -5.5 0 c0|end"},
    {F, "G1 X1. (Y2. IS NOT READ) F100 ; Z3.", OPEN "feedrate 100|feed 1 0 0 c0|end"},
    {H, "G1 X1 (Y2) F100 ; Z3", OPEN "feedrate 100|feed 1 0 0 c0|end"},
    {S, "G1 X1 F100 ; Y2 (NOT READ)", OPEN "feedrate 100|feed 1 0 0 c0|end"},
    {S, "G1 X1 (Y2) F100", "error 1: unexpected '('"},
    {F, "G1 X1. F100 (NO CLOSING PARENTHESIS", OPEN "feedrate 100|feed 1 0 0 c0|end"},
    {F, "/G1 X5. F100\n/2 G1 X6. F100\nG1 X1. F100", OPEN "feedrate 100|feed 1 0 0 c0|end"},
    {S, "/N10 G1 X5 F100\nN20 G1 X1 F100", OPEN "feedrate 100|feed 1 0 0 c0|end"},
    {S, "MARKE1: G1 X1 F100", OPEN "feedrate 100|feed 1 0 0 c0|end"},
};
TEST(InterpreterWords, ReadAsEachSystemReadsThem) {
  for (const Case& c : kWords)
    Check(c);
}

// Straight moves, distance modes and work offsets.
constexpr Case kMoves[] = {
    {F, "G0 X1. Y2. Z3.\nG1 Z0 F100", OPEN "feedrate 100|rapid 1 2 3|feed 1 2 0 c0|end"},
    {F, "G0 X1. Y2. Z3.", ""},  // rapids alone make no path
    {F, "G1 X1. F100\nG91 X1. Y1.\nG90 X0",
     OPEN "feedrate 100|feed 1 0 0 c0|feed 2 1 0|feed 0 1 0|end"},
    {F, "G1 X1. F100\nX1.\nX2.", OPEN "feedrate 100|feed 1 0 0 c0|feed 2 0 0|end"},
    {S, "G1 X1 F100\nG91 X1 Y1\nG90 X0",
     OPEN "feedrate 100|feed 1 0 0 c0|feed 2 1 0|feed 0 1 0|end"},
    {F, "G1 X1. F100\nG0 Z5.\nG1 Z0", OPEN "feedrate 100|feed 1 0 0 c0|rapid 1 0 5|feed 1 0 0|end"},
    {F, "G91 G28 Z0\nG1 X1. F100", OPEN "feedrate 100|rapid 0 0 0|feed 1 0 0 c0|end"},
};
TEST(InterpreterMoves, StraightMovesAbsoluteAndIncremental) {
  for (const Case& c : kMoves)
    Check(c);
}

// Arcs: I/J/K, R (negative beyond 180 degrees), full circles, the three
// planes, helices, CR=, CIP, CT, and the arcs refused.
constexpr Case kArcs[] = {
    {F, "G1 X10. Y0 F100\nG3 X0 Y10. R10.",
     OPEN "feedrate 100|feed 10 0 0 c0|arc 0 10 0 centre 0 0 0 axis 0 0 1|end"},
    {F, "G1 X10. Y0 F100\nG2 X0 Y-10. R10.",
     OPEN "feedrate 100|feed 10 0 0 c0|arc 0 -10 0 centre 0 0 0 axis 0 0 -1|end"},
    {F, "G1 X10. Y0 F100\nG3 X0 Y10. R-10.",
     OPEN "feedrate 100|feed 10 0 0 c0|arc 0 10 0 centre 10 10 0 axis 0 0 1|end"},
    {F, "G1 X10. Y0 F100\nG3 X0 Y10. I-10.",
     OPEN "feedrate 100|feed 10 0 0 c0|arc 0 10 0 centre 0 0 0 axis 0 0 1|end"},
    {F, "G1 X10. Y0 F100\nG2 I-10.",
     OPEN "feedrate 100|feed 10 0 0 c0|arc 10 0 0 centre 0 0 0 axis 0 0 -1|end"},
    {H, "G1 X10 Y0 F100\nG2 I-10",
     OPEN "feedrate 100|feed 10 0 0 c0|arc 10 0 0 centre 0 0 0 axis 0 0 -1|end"},
    {F, "G1 X10. Y0 Z0 F100\nG18 G2 X0 Z10. I-10.",
     OPEN "feedrate 100|feed 10 0 0 c0|arc 0 0 10 centre 0 0 0 axis 0 -1 0|end"},
    {F, "G1 X10. Y0 Z0 F100\nG18 G3 X0 Z-10. I-10.",
     OPEN "feedrate 100|feed 10 0 0 c0|arc 0 0 -10 centre 0 0 0 axis 0 1 0|end"},
    {F, "G1 X0 Y10. Z0 F100\nG19 G3 Y0 Z10. J-10.",
     OPEN "feedrate 100|feed 0 10 0 c0|arc 0 0 10 centre 0 0 0 axis 1 0 0|end"},
    {F, "G1 X0 Y10. Z0 F100\nG19 G2 Y0 Z-10. J-10.",
     OPEN "feedrate 100|feed 0 10 0 c0|arc 0 0 -10 centre 0 0 0 axis -1 0 0|end"},
    {F, "G1 X10. Y0 Z0 F100\nG3 X-10. Y0 Z-2. I-10.",
     OPEN "feedrate 100|feed 10 0 0 c0|arc -10 0 -2 centre 0 0 0 axis 0 0 1|end"},
    {F, "G1 X10. Y0 F100\nG91 G3 X-10. Y10. I-10.",
     OPEN "feedrate 100|feed 10 0 0 c0|arc 0 10 0 centre 0 0 0 axis 0 0 1|end"},
    {F, "G1 X10. Y0 F100\nG3 X-10.01 Y0 I-10.",
     OPEN "feedrate 100|feed 10 0 0 c0|arc -10.01 0 0 centre 0 0 0 axis 0 0 1|end"},
    {F, "G1 X10. Y0 F100\nG3 X-10.011 Y0 I-10.",
     OPEN "feedrate 100|feed 10 0 0 c0|end|error 2: the arc's radius at its start (10.0000 mm) "
          "and end (10.0110 mm) differ by more than 0.01 mm"},
    {F, "G1 X10. Y0 F100\nG2 X-10. R5.",
     OPEN "feedrate 100|feed 10 0 0 c0|end|error 2: the radius 5.0000 mm is too small for the "
          "arc's end point, 10.0000 mm away from the middle"},
    {F, "G1 X10. Y0 F100\nG2 X10. R5.",
     OPEN "feedrate 100|feed 10 0 0 c0|end|error 2: an arc given by its radius cannot be a full "
          "circle"},
    {F, "G1 X10. F100\nG2 X0 Y10.",
     OPEN "feedrate 100|feed 10 0 0 c0|end|error 2: the arc needs its centre (I, J) or a radius"},
    {F, "G1 X10. F100\nG2 X0 Y10. I-10. K5.",
     OPEN "feedrate 100|feed 10 0 0 c0|end|error 2: K is no centre word in the XY plane (G17)"},
    {F, "G1 X10. F100\nG2 X0 Y0 I0 J0",
     OPEN "feedrate 100|feed 10 0 0 c0|end|error 2: the arc's centre is its start point"},
    {S, "G1 X10 Y0 F100\nG2 X20 Y0 CR=5",
     OPEN "feedrate 100|feed 10 0 0 c0|arc 20 0 0 centre 15 0 0 axis 0 0 -1|end"},
    {S, "G1 X10 Y0 F100\nG3 X0 Y10 CR=-10",
     OPEN "feedrate 100|feed 10 0 0 c0|arc 0 10 0 centre 10 10 0 axis 0 0 1|end"},
    {S, "G1 X10 Y0 F100\nCIP X-10 Y0 I1=0 J1=10",
     OPEN "feedrate 100|feed 10 0 0 c0|arc -10 0 0 centre 0 0 0 axis 0 0 1|end"},
    {S, "G1 X10 Y0 F100\nCIP X-10 Y0 I1=0 J1=-10",
     OPEN "feedrate 100|feed 10 0 0 c0|arc -10 0 0 centre 0 0 0 axis 0 0 -1|end"},
    {S, "G1 X10 Y0 Z0 F100\nCIP X0 Z10 I1=7.0710678 K1=7.0710678",
     OPEN "feedrate 100|feed 10 0 0 c0|arc 0 0 10 centre 0 0 0 axis 0 -1 0|end"},
    {S, "G1 X10 Y0 F100\nCIP X20 Y0 I1=15 J1=0",
     OPEN "feedrate 100|feed 10 0 0 c0|end|error 2: CIP's start, intermediate and end points lie "
          "on one line"},
    {S, "G1 X0 Y0 F100\nG1 X10\nCT X20 Y10",
     OPEN "feedrate 100|feed 0 0 0 c0|feed 10 0 0|arc 20 10 0 centre 10 10 0 axis 0 0 1|end"},
    {S, "G1 X0 Y0 F100\nG1 X10\nCT X20 Y-10",
     OPEN "feedrate 100|feed 0 0 0 c0|feed 10 0 0|arc 20 -10 0 centre 10 -10 0 axis 0 0 -1|end"},
    {S, "G1 X0 Y0 F100\nG1 X10\nCT X20",
     OPEN "feedrate 100|feed 0 0 0 c0|feed 10 0 0|feed 20 0 0|end"},
    {S, "G1 X10 F100\nCT X20 Y10",
     OPEN "feedrate 100|feed 10 0 0 c0|end|error 2: CT needs the direction of the move before it "
          "in the XY plane (G17)"},
};
TEST(InterpreterArcs, CentreRadiusPlanesAndChecks) {
  for (const Case& c : kArcs)
    Check(c);
}

// Compensation, tools, feed and speed, and where paths break.
constexpr Case kTools[] = {
    {F, "G1 X0 Y0 F100\nG41 D1 X5.\nX10.\nG40 X15.",
     OPEN "feedrate 100|feed 0 0 0 c0|d 1|feed 5 0 0 c1|feed 10 0 0|feed 15 0 0 c0|end"},
    {F, "G1 X0 F100\nG42 D2 X5.\nG3 X15. R5.\nX20.",
     OPEN "feedrate 100|feed 0 0 0 c0|d 2|feed 5 0 0 c2|arc 15 0 0 centre 10 0 0 axis 0 0 1|"
          "end|error 4: the arc needs its centre (I, J) or a radius"},
    // D0, no offset, is an offset number all the same
    {F, "G1 X0 F100\nG41 D0 X5.", OPEN "feedrate 100|feed 0 0 0 c0|d 0|feed 5 0 0 c1|end"},
    {F, "T1 M6\nG1 X1. F100\nT2 M6\nG1 X2.",
     OPEN
     "tool 1|feedrate 100|feed 1 0 0 c0|end|next 2|start|tool 2|feedrate 100|feed 2 0 0 c0|end"},
    {F, "T1 M6\nG1 X1. F100\nT2\nG1 X2.\nM6\nG1 X3.",
     OPEN "tool 1|feedrate 100|feed 1 0 0 c0|feed 2 0 0|end|next 2|start|tool 2|feedrate 100|"
          "feed 3 0 0 c0|end"},
    // only where the description asks for it is the comment the tool's name
    {S, "T1 M6 ; FACE MILL\nG1 X1 F100", OPEN "tool 1|feedrate 100|feed 1 0 0 c0|end"},
    {S,
     "T=\""
     "KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK"
     "\" M6\nG1 X1 F100",
     OPEN "name KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK|feedrate 100|"
          "feed 1 0 0 c0|end"},
    {F, "T12 M6 (D12 DRILL)\nG1 X1. F100",
     OPEN "tool 12|name D12 DRILL|feedrate 100|feed 1 0 0 c0|end"},
    {H, "T3 M6 (END MILL 6)\nG1 X1 F100",
     OPEN "tool 3|name END MILL 6|feedrate 100|feed 1 0 0 c0|end"},
    {S, "T=\"CUTTER_10\" M6\nD1\nG1 X1 F100",
     OPEN "name CUTTER_10|d 1|feedrate 100|feed 1 0 0 c0|end"},
    {S, "T5 M6\nG1 X1 F100", OPEN "tool 5|feedrate 100|feed 1 0 0 c0|end"},
    {F, "S1000 M3\nG1 X1. F100\nM5\nG1 X2.\nS500 M3\nX3.\nF50.\nX4.",
     OPEN "feedrate 100|speed 1000|feed 1 0 0 c0|speed 0|feed 2 0 0|speed 500|feed 3 0 0|"
          "feedrate 50|feed 4 0 0|end"},
    {F, "G10 L12 P1 R5.\nT1 M6\nG1 G41 D1 X1. F100",
     OPEN "tool 1|diameter 10|d 1|feedrate 100|feed 1 0 0 c1|end"},
    {F, "G1 X1. F100\nM0\nX2.", OPEN "feedrate 100|feed 1 0 0 c0|feed 2 0 0|end"},
    {F, "G1 X1. F100\nM30\nG1 X2.", OPEN "feedrate 100|feed 1 0 0 c0|end"},
    {F, "G1 X1. F100\nM2\nG1 X2.", OPEN "feedrate 100|feed 1 0 0 c0|end"},
    {S, "G1 X1 F100\nM30\nG1 X2", OPEN "feedrate 100|feed 1 0 0 c0|end"},
    {F, "G1 X1. F-100", "error 1: a negative feed rate"},
    {F, "G1 X1. F100 T1.5", "error 1: T takes a whole number from 0 to 99999999"},
    {F, "G1 X1. F100 D1000", "error 1: D takes a whole number from 0 to 999"},
};
TEST(InterpreterTools, CompensationToolsTechnologyAndPathBreaks) {
  for (const Case& c : kTools)
    Check(c);
}

// What a control raises an alarm for, though the block's meaning is plain:
// reported with its line, and read all the same.
constexpr Case kAlarms[] = {
    {F, "G0 X0 Y0\nG1 X10.\nG2 X20. R5.\nG1 X30. F100",
     "next 1|start|rapid 0 0 0|feed 10 0 0 c0|arc 20 0 0 centre 15 0 0 axis 0 0 -1|"
     "feedrate 100|feed 30 0 0|end|"
     "alarm 2: a feed move with no feed rate in force (a control raises an alarm)|"
     "alarm 3: a feed move with no feed rate in force (a control raises an alarm)"},
    {F, "G0 X0 Y0 Z5.\nG81 X1. Y1. Z-1. R1.",
     "next 1|start|rapid 0 0 5|drill 81 safe=0 dwell=0 peck=0 depth=2 clear=5 top=1 f=0 s=0|"
     "hole 1 1 -1|flush|end|"
     "alarm 2: a feed move with no feed rate in force (a control raises an alarm)"},
    {F, "G0 X0 Y0 F100\nG41 D1 G3 X10. Y10. I10.\nG1 X20.",
     "next 1|start|d 1|feedrate 100|rapid 0 0 0|arc 10 10 0 centre 10 0 0 axis 0 0 1|feed 20 10 0 "
     "c1|end|"
     "alarm 2: cutter compensation G41 starts on an arc (a control raises an alarm): it "
     "starts at the next straight move"},
    {F, "G0 X0 Y0 Z5. F100\nG42 D1\nG1 Z0\nG2 X10. Y10. J10.\nG1 X20.\nG3 X30. Y20. J10.",
     "next 1|start|d 1|feedrate 100|rapid 0 0 5|feed 0 0 0 c2|arc 10 10 0 centre 0 10 0 axis 0 0 "
     "-1|"
     "feed 20 10 0|arc 30 20 0 centre 20 20 0 axis 0 0 1|end|"
     "alarm 4: cutter compensation G42 starts on an arc (a control raises an alarm): it "
     "starts at the next straight move"},
    {F, "G0 X0 Y0 F100\nG41 D1 G1 X5.\nG3 X15. Y10. I10.",
     "next 1|start|d 1|feedrate 100|rapid 0 0 0|feed 5 0 0 c1|arc 15 10 0 centre 15 0 0 axis 0 0 "
     "1|end"},
};
TEST(InterpreterAlarms, ReportedWithTheirLineAndReadAllTheSame) {
  for (const Case& c : kAlarms)
    Check(c);
}

// Dwells, in each system's units; they send nothing but must not move.
constexpr Case kDwells[] = {
    {F, "G1 X1. F100\nG4 X1.5\nG4 P1500\nG4 X1000\nG1 X2.",
     OPEN "feedrate 100|feed 1 0 0 c0|feed 2 0 0|end"},
    {F, "G4 P1.5", "error 1: P takes whole milliseconds, without a decimal point"},
    {F, "G4", "error 1: the dwell needs its time"},
    {F, "G4 X1. P1000", "error 1: the dwell takes one time word"},
    {F, "G4 X-1.", "error 1: a negative dwell time X"},
    {F, "G4 Y1.", "error 1: Y has no meaning in this block"},
    {H, "G1 X1 F100\nG4 P1.5\nG4 X2\nG1 X2", OPEN "feedrate 100|feed 1 0 0 c0|feed 2 0 0|end"},
    {S, "G1 X1 F100\nG4 F2.5\nG1 X2", OPEN "feedrate 100|feed 1 0 0 c0|feed 2 0 0|end"},
    {S, "S600 M3\nG1 X1 F100\nG4 S10\nG1 X2",
     OPEN "feedrate 100|speed 600|feed 1 0 0 c0|feed 2 0 0|end"},
    {S, "G4 S10", "error 1: a dwell in revolutions (S) needs a spindle speed"},
};
TEST(InterpreterDwells, ReadInEachSystemsUnitsWithoutMoving) {
  for (const Case& c : kDwells)
    Check(c);
}

#define HOLES "next 1|start|feedrate 100|speed 1000|rapid 0 0 50|"
#define START "S1000 M3\nG0 X0 Y0 Z50.\n"

// G8x cycles: every kind, R/Z/Q/P, repeats, G98/G99, G90/G91, G80.
constexpr Case kCycles[] = {
    {F, START "G99 G81 X10. Y10. Z-5. R2. F100\nX20.\nG80",
     HOLES "drill 81 safe=0 dwell=0 peck=0 depth=7 clear=2 top=2 f=100 s=1000|hole 10 10 -5|"
           "hole 20 10 -5|flush|end"},
    {F, START "G98 G81 X10. Y10. Z-5. R2. F100\nG80",
     HOLES "drill 81 safe=0 dwell=0 peck=0 depth=7 clear=50 top=2 f=100 s=1000|hole 10 10 -5|"
           "flush|end"},
    {F, START "G91 G81 X10. Y0 Z-7. R-48. K3 F100",
     HOLES "drill 81 safe=0 dwell=0 peck=0 depth=7 clear=50 top=2 f=100 s=1000|hole 10 0 -5|"
           "hole 20 0 -5|hole 30 0 -5|flush|end"},
    {F, START "G81 X10. Y10. Z-5. R2. K3 F100",
     HOLES "drill 81 safe=0 dwell=0 peck=0 depth=7 clear=50 top=2 f=100 s=1000|hole 10 10 -5|"
           "hole 10 10 -5|hole 10 10 -5|flush|end"},
    {F, START "G81 X10. Y10. Z-5. R2. K0 F100\nX20.",
     HOLES "drill 81 safe=0 dwell=0 peck=0 depth=7 clear=50 top=2 f=100 s=1000|hole 20 0 -5|"
           "flush|end"},
    {F, START "G82 X10. Y10. Z-5. R2. P500 F100",
     HOLES "drill 82 safe=0 dwell=0.5 peck=0 depth=7 clear=50 top=2 f=100 s=1000|hole 10 10 -5|"
           "flush|end"},
    {H, START "G82 X10 Y10 Z-5 R2 P0.5 L2 F100",
     HOLES "drill 82 safe=0 dwell=0.5 peck=0 depth=7 clear=50 top=2 f=100 s=1000|hole 10 10 -5|"
           "hole 10 10 -5|flush|end"},
    {F, START "G83 X10. Y10. Z-20. R2. Q5. F100",
     HOLES "drill 83 safe=0 dwell=0 peck=5 depth=22 clear=50 top=2 f=100 s=1000|hole 10 10 -20|"
           "flush|end"},
    {F, START "G73 X10. Y10. Z-20. R2. Q2000 F100",
     HOLES "drill 73 safe=0 dwell=0 peck=2 depth=22 clear=50 top=2 f=100 s=1000|hole 10 10 -20|"
           "flush|end"},
    {F, START "G84 X10. Y10. Z-10. R5. F100",
     HOLES "drill 84 safe=0 dwell=0 peck=0 depth=15 clear=50 top=5 f=100 s=1000|hole 10 10 -10|"
           "flush|end"},
    {F, START "G85 X10. Y10. Z-10. R5. F100\nG86 X20.\nG89 X30. P200",
     HOLES "drill 85 safe=0 dwell=0 peck=0 depth=15 clear=50 top=5 f=100 s=1000|hole 10 10 -10|"
           "flush|drill 86 safe=0 dwell=0 peck=0 depth=15 clear=50 top=5 f=100 s=1000|"
           "hole 20 10 -10|flush|drill 89 safe=0 dwell=0.2 peck=0 depth=15 clear=50 top=5 f=100 "
           "s=1000|hole 30 10 -10|flush|end"},
    {F, START "G81 X10. Y10. Z-5. R2. F100\nG80\nG1 X0 Y0 F200",
     HOLES "drill 81 safe=0 dwell=0 peck=0 depth=7 clear=50 top=2 f=100 s=1000|hole 10 10 -5|"
           "flush|end|next 2|start|feedrate 200|speed 1000|feed 0 0 50 c0|end"},
    {F, START "G81 X10. Y10. Z-5. R2. F100\nG0 X0 Y0\nG1 Z0",
     HOLES "drill 81 safe=0 dwell=0 peck=0 depth=7 clear=50 top=2 f=100 s=1000|hole 10 10 -5|"
           "flush|end|next 2|start|feedrate 100|speed 1000|rapid 0 0 50|feed 0 0 0 c0|end"},
    {F, START "G1 X1. F100\nG81 X10. Y10. Z-5. R2.\nG80 G0 Z60.",
     "next 1|start|feedrate 100|speed 1000|rapid 0 0 50|feed 1 0 50 c0|end|next 2|start|"
     "feedrate 100|speed 1000|drill 81 safe=0 dwell=0 peck=0 depth=7 clear=50 top=2 f=100 "
     "s=1000|hole 10 10 -5|flush|rapid 10 10 60|end"},
    {F, START "G81 X10. Y10. Z-5. F100", "error 3: the drilling cycle needs its R level"},
    {F, START "G81 X10. Y10. R2. F100", "error 3: the drilling cycle needs its Z depth"},
    {F, START "G83 X10. Y10. Z-5. R2. F100",
     "error 3: the peck drilling cycle needs its peck depth Q"},
    {F, START "G81 X10. Y10. Z5. R2. F100",
     "error 3: the hole's bottom Z is not below its R level"},
    {F, START "G81 X10. Y10. Z-5. R2. K1.5 F100", "error 3: K takes a whole number from 0 to 9999"},
    {S, "G81 X10 Y10 Z-5", "error 1: unknown code G81"},
    {S, "G81 X10 Y10 Z-5 R2", "error 1: unknown word R"},
};
TEST(InterpreterCycles, EveryCanonedCycleKind) {
  for (const Case& c : kCycles)
    Check(c);
}

#define CALLS "next 1|start|feedrate 100|speed 1000|rapid 10 10 50|"
#define AT "S1000 M3 F100\nG0 X10 Y10 Z50\n"

// SIEMENS CYCLE8x calls, once or modal with MCALL.
constexpr Case kCalls[] = {
    {S, AT "CYCLE81(20, 0, 2, -5)",
     CALLS "drill 81 safe=2 dwell=0 peck=0 depth=5 clear=20 top=0 f=100 s=1000|hole 10 10 -5|"
           "flush|end"},
    {S, AT "CYCLE81(20, 0, 2, -5, 8)",
     CALLS "drill 81 safe=2 dwell=0 peck=0 depth=8 clear=20 top=0 f=100 s=1000|hole 10 10 -8|"
           "flush|end"},
    // the return plane on the reference plane
    {S, AT "CYCLE81(0, 0, , , 8)",
     CALLS "drill 81 safe=0 dwell=0 peck=0 depth=8 clear=0 top=0 f=100 s=1000|hole 10 10 -8|"
           "flush|end"},
    {S, AT "CYCLE81(20, 12345678901)", "error 3: argument 2 is out of range"},
    {S, AT "CYCLE81(20, 0, , , 8)",
     CALLS "drill 81 safe=0 dwell=0 peck=0 depth=8 clear=20 top=0 f=100 s=1000|hole 10 10 -8|"
           "flush|end"},
    {S, AT "CYCLE82(20, 0, 2, -5, , 1.5)",
     CALLS "drill 82 safe=2 dwell=1.5 peck=0 depth=5 clear=20 top=0 f=100 s=1000|hole 10 10 -5|"
           "flush|end"},
    {S, AT "CYCLE82(20, 0, 2, -5, , -20)",
     CALLS "drill 82 safe=2 dwell=1.2 peck=0 depth=5 clear=20 top=0 f=100 s=1000|hole 10 10 -5|"
           "flush|end"},
    {S, AT "CYCLE83(20, 0, 2, -30, , -10, , 2, 0.5, 0, 1, 1)",
     CALLS "drill 83 safe=2 dwell=0.5 peck=10 depth=30 clear=20 top=0 f=100 s=1000|"
           "hole 10 10 -30|flush|end"},
    {S, AT "CYCLE83(20, 0, 2, , 30, , 5)",
     CALLS "drill 73 safe=2 dwell=0 peck=5 depth=30 clear=20 top=0 f=100 s=1000|hole 10 10 -30|"
           "flush|end"},
    {S, AT "CYCLE85(20, 0, 2, -5, , 0, 50, 200)",
     CALLS "drill 85 safe=2 dwell=0 peck=0 depth=5 clear=20 top=0 f=50 s=1000|hole 10 10 -5|"
           "flush|end"},
    {S, AT "CYCLE86(20, 0, 2, -5, , 1)\nCYCLE89(20, 0, 2, -5, , 1)",
     CALLS "drill 86 safe=2 dwell=1 peck=0 depth=5 clear=20 top=0 f=100 s=1000|hole 10 10 -5|"
           "flush|drill 89 safe=2 dwell=1 peck=0 depth=5 clear=20 top=0 f=100 s=1000|"
           "hole 10 10 -5|flush|end"},
    {S, AT "MCALL CYCLE81(20, 0, 2, -5)\nX20\nX30 Y20\nMCALL\nX40\nG1 Z0",
     CALLS "rapid 20 10 50|drill 81 safe=2 dwell=0 peck=0 depth=5 clear=20 top=0 f=100 s=1000|"
           "hole 20 10 -5|hole 30 20 -5|flush|end|next 2|start|feedrate 100|speed 1000|"
           "rapid 40 20 20|feed 40 20 0 c0|end"},
    {S, AT "X20 CYCLE81(20, 0, 2, -5)\nX30 CYCLE81(20, 0, 2, -5)",
     CALLS "rapid 20 10 50|drill 81 safe=2 dwell=0 peck=0 depth=5 clear=20 top=0 f=100 s=1000|hole "
           "20 10 -5|"
           "hole 30 10 -5|flush|end"},
    {S, AT "CYCLE81(, 0, 2, -5)",
     "error 3: CYCLE81 needs its return plane RTP and reference plane RFP"},
    {S, AT "CYCLE81(20, 0, 2)", "error 3: CYCLE81 needs its depth DP or DPR"},
    {S, AT "CYCLE81(20, 0, 2, 5)",
     "error 3: CYCLE81: the hole's bottom is not below its reference plane"},
    {S, AT "CYCLE81(20, 0, 2, -5, 1, 1)", "error 3: CYCLE81 takes at most 5 arguments"},
    {S, AT "CYCLE84(20, 0, 2, -5)", "error 3: CYCLE84 is not read"},
    {S, AT "CYCLE83(20, 0, 2, -30)", "error 3: CYCLE83 needs its first depth FDEP or FDPR"},
    {S, AT "CYCLE83(20, 0, 2, -30, , , 5, , , , , 2)",
     "error 3: CYCLE83: VARI is 0 (chip breaking) or 1 (chip removal)"},
    {S, AT "CYCLE81(20, 0, 2, R1)", "error 3: argument 4 is not a number"},
    {S, AT "CYCLE81(20, 0, 2, -5", "error 3: unclosed '('"},
};
TEST(InterpreterCycles, SiemensCycleCalls) {
  for (const Case& c : kCalls)
    Check(c);
}

// Words out of place, and the state a refused block leaves.
constexpr Case kErrors[] = {
    {F, "G1 X1. A5. F100", "error 1: unknown word A"},
    {F, "G1 X F100", "error 1: missing value after X"},
    {F, "G1 X1. X2. F100", "error 1: X given twice"},
    {F, "G123 X1.", "error 1: unknown code G123"},
    {F, "G54.1 P1", "error 1: unknown code G54.1"},
    {F, "M123", "error 1: unknown code M123"},
    {F, "G1 X1. P5 F100", "error 1: P has no meaning in this block"},
    {F, "G1 X1. F100 O12", "error 1: a program number must begin its line"},
    {F, "G1 X1. F100 #1", "error 1: unexpected '#'"},
    {F, "G1 X1. F100 \x01", "error 1: unexpected 0x01"},
    {F, "G1 X1. F100\nG91 X1. Q5.\nX3.",
     OPEN "feedrate 100|feed 1 0 0 c0|feed 3 0 0|end|"
          "error 2: Q has no meaning in this block"},
    {F, "G1 X1. F100\nG20 G2 X0 Y1.\nX3.",
     OPEN "feedrate 100|feed 1 0 0 c0|feed 3 0 0|end|"
          "error 2: the arc needs its centre (I, J) or a radius"},
    {S, "G1 X1 F100 BOGUS(1)", "error 1: unknown word BOGUS"},
    {S, "TRANS X10",
     "error 1: unknown word TRANS (a subprogram call stands in a block of its own)"},
    {S, "G1 X1 F100\nN20 SUB P2 X5",
     OPEN "feedrate 100|feed 1 0 0 c0|end|error 2: unknown word SUB (a subprogram call stands "
          "in a block of its own)"},
    {S, "CIP X1 CT", "error 1: CIP and CT in one block"},
    {S, "G1 X1 I1=5 F100", "error 1: I1=, J1=, K1= belong to CIP"},
    {S, "G1 X1 CR=5 F100", "error 1: CR= belongs to G2 and G3"},
    {S, "T=\"UNCLOSED M6", "error 1: unclosed '\"'"},
    {S, "G1 X1 F100 MSG(\"X2 (TEXT)\")", OPEN "feedrate 100|feed 1 0 0 c0|end"},
    {S, "T5 T=\"DRILL\"", "error 1: T given twice"},
    {S,
     "T=\""
     "KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK"
     "\"",
     "error 1: a tool name of 1 to 64 characters"},
    {S, "G1 X1 F100 MSG=\"AT X2\" SOFT", OPEN "feedrate 100|feed 1 0 0 c0|end"},
    {S, "G1 X1 F100 MSG=\"AT X2", "error 1: unclosed '\"'"},
    {F, "G10 L10 P1 R5.\nG10 L13 P1 R1.\nG1 X1. F100", OPEN "feedrate 100|feed 1 0 0 c0|end"},
    {F, "G10 L9 P1 R5.", "error 1: G10 L9 is not read"},
    {F, "G10 L14 P1 R5.", "error 1: G10 L14 is not read"},
    {S, "T=\"DRILL\" T5", "error 1: T given twice"},
    {F, "G10 L2 X1.", "error 1: G10 needs L and P"},
    {F, "G10 P1 X1.", "error 1: G10 needs L and P"},
};
TEST(InterpreterErrors, RefusedBlocksChangeNothing) {
  for (const Case& c : kErrors)
    Check(c);
}

// RS274NGC: the path tolerance read and left out of the path, dwells in
// seconds, no program number.
constexpr Case kLinuxCnc[] = {
    {L, "G64 P0.01 Q0.005\nG1 X1 F100", OPEN "feedrate 100|feed 1 0 0 c0|end"},
    {L, "G64 P0.01 G1 X1 F100", OPEN "feedrate 100|feed 1 0 0 c0|end"},
    {L, "G2 X2 I1 G64 P0.01 F100", OPEN "feedrate 100|arc 2 0 0 centre 1 0 0 axis 0 0 -1|end"},
    {F, "G64 P0.01", "error 1: P has no meaning in this block"},
    {L, "G64 G4 P0.5", "error 1: P or Q of a path tolerance in a block that uses them otherwise"},
    {L, "G81 X1 Y1 Z-1 R1 F100\nG64 P0.01 X2",
     OPEN "feedrate 100|drill 81 safe=0 dwell=0 peck=0 depth=2 clear=0 top=1 f=100 s=0|"
          "hole 1 1 -1|flush|end|"
          "error 2: P or Q of a path tolerance in a block that uses them otherwise"},
    {L, "G1 X1 F100\nG4 P2\nM2", OPEN "feedrate 100|feed 1 0 0 c0|end"},
    {L, "O100 sub", "error 1: unknown word O"},  // subroutines are not read
    {L, "%\nG1 X1 F100\nM2\n%", OPEN "feedrate 100|feed 1 0 0 c0|end"},
};
TEST(InterpreterLinuxCnc, PathToleranceDwellAndFrame) {
  for (const Case& c : kLinuxCnc)
    Check(c);
}

}  // namespace
}  // namespace zu::gcode::testing
