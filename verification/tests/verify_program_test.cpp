// A hand-written FANUC-0i program and the cut::Program it was written
// from; each case changes the code (or the expectation) in one place and
// says whether the verification passes and, where not, which mismatch it
// names.
#include "verification/verify_program.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "gcode/nc_system.h"

namespace zu::verify {
namespace {

using cut::Step;
using cut::Vec;

const gcode::NcSystem* Load(const char* name) {
  gcode::NcSystemLoad load = gcode::LoadNcSystemFile(std::string(ZU_SOURCE_DIR) +
                                                     "/postmodule/ncsystems/" + name + ".xml");
  EXPECT_TRUE(load.ok) << load.error;
  return new gcode::NcSystem(std::move(load.system));
}

const gcode::NcSystem& Fanuc() {
  static const gcode::NcSystem* system = Load("FANUC-0i");
  return *system;
}

Step Line(Vec end, double feed) {
  return {Step::Kind::kLine, end, {}, {}, feed};
}
Step Rapid(Vec end) {
  return {Step::Kind::kRapid, end, {}, {}, 0};
}
Step Arc(Vec end, Vec centre, Vec normal, double feed) {
  return {Step::Kind::kArc, end, centre, normal, feed};
}

// A pocket side with a half circle, then three holes with another tool.
cut::Program Expected() {
  cut::Program program;
  program.tools = {{1, "END MILL 10", 10, 0}, {2, "DRILL 5", 5, 0}};
  cut::Path mill;
  mill.name = "P1";
  mill.tool = 0;
  mill.spindle = 1000;
  mill.home = Vec{0, 0, 5};
  mill.safe_height = 50;
  mill.steps = {Line({0, 0, -1}, 100), Line({20, 0, -1}, 500),
                Arc({20, 20, -1}, {20, 10, -1}, {0, 0, 1}, 500), Line({0, 20, -1}, 500),
                Rapid({0, 20, 5})};
  cut::Path drill;
  drill.name = "D1";
  drill.tool = 1;
  drill.spindle = 800;
  drill.safe_height = 50;
  drill.drilling = cut::DrillCycle{81, 80, 0, 0};
  for (double x : {10.0, 20.0, 30.0})
    drill.holes.push_back({{x, 40, 0}, -5, 2, 50});
  program.paths = {mill, drill};
  return program;
}

constexpr const char* kCode =
    "%\n"
    "O0001\n"
    "G21 G17 G40 G49 G80 G90\n"
    "T1 M6\n"
    "G0 G54 X0. Y0. S1000 M3\n"
    "Z50.\n"
    "Z5.\n"
    "G1 Z-1. F100.\n"
    "X20. F500.\n"
    "G3 X20. Y20. I0. J10.\n"
    "G1 X0.\n"
    "G0 Z5.\n"
    "Z50.\n"
    "M5\n"
    "T2 M6\n"
    "G0 X10. Y40. S800 M3\n"
    "G98 G81 X10. Y40. Z-5. R2. F80.\n"
    "X20.\n"
    "X30.\n"
    "G80\n"
    "M5\n"
    "M30\n"
    "%\n";

// The same motion in inches, to four decimals.
constexpr const char* kInchCode =
    "O0001\n"
    "G20 G17 G40 G49 G80 G90\n"
    "T1 M6\n"
    "G0 G54 X0. Y0. S1000 M3\n"
    "Z1.9685\n"
    "Z.1969\n"
    "G1 Z-.0394 F3.937\n"
    "X.7874 F19.685\n"
    "G3 X.7874 Y.7874 I0. J.3937\n"
    "G1 X0.\n"
    "G0 Z.1969\n"
    "Z1.9685\n"
    "T2 M6\n"
    "G0 X.3937 Y1.5748 S800 M3\n"
    "G98 G81 X.3937 Y1.5748 Z-.1969 R.0787 F3.1496\n"
    "X.7874\n"
    "X1.1811\n"
    "G80\n"
    "M30\n";

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos)
    text.replace(at, from.size(), to);
  return text;
}

constexpr double kTolerance = 0.005;

VerifyResult Verify(std::string_view code, const cut::Program& expected = Expected(),
                    double tolerance = kTolerance) {
  VerifyOptions options;
  options.tolerance = tolerance;
  return VerifyProgram(expected, code, Fanuc(), options);
}

std::string Mismatches(const VerifyResult& result) {
  std::string out;
  for (const Mismatch& m : result.mismatches)
    out += m.where.path + "#" + std::to_string(m.where.index) + ": " + m.text + "\n";
  return out;
}

TEST(VerifyProgram, IdenticalMotionPasses) {
  const VerifyResult result = Verify(kCode);
  EXPECT_TRUE(result.ok) << Mismatches(result);
  EXPECT_LT(result.largest_deviation, 1e-9);
  EXPECT_EQ(result.paths, 2);
  EXPECT_EQ(result.moves_compared, 4u);
  EXPECT_EQ(result.moves_read, 4u);
  EXPECT_EQ(result.rapids_compared, 2u);  // the start point, the rapid up
  EXPECT_EQ(result.holes_compared, 3u);
  EXPECT_EQ(result.holes_read, 3u);
}

TEST(VerifyProgram, InchProgramOfTheSameMotionPasses) {
  const VerifyResult result = Verify(kInchCode);
  EXPECT_TRUE(result.ok) << Mismatches(result);
  // Four inch decimals are 0.00254 mm apart.
  EXPECT_LT(result.largest_deviation, 0.0013 * std::sqrt(3.0));
}

// One change to the code: the mismatch it gives first, with its path and
// step (or hole) index.
struct Change {
  const char* from;
  const char* to;
  const char* path;
  int index;
  const char* text;  // the start of the first mismatch's text
};

constexpr Change kChanges[] = {
    // an end point moved by 0.01
    {"G1 Z-1. F100.", "G1 Z-1.01 F100.", "P1", 0, "ends at (0, 0, -1.01), 0.01 from"},
    {"G1 X0.", "G1 X0.01", "P1", 3, "ends at (0.01, 20, -1), 0.01 from"},
    {"G3 X20. Y20.", "G2 X20. Y20.", "P1", 2, "the arc turns the other way"},
    {"G3 X20. Y20. I0. J10.", "G19 G3 X20. Y20. J10. K0.", "P1", 2,
     "the arc lies in another plane"},
    {"X20. F500.", "X20. F400.", "P1", 1, "feed 400 mm/min, not 500"},
    {"S1000 M3", "S1200 M3", "P1", 0, "spindle 1200 rev/min, not 1000"},
    {"T2 M6", "T3 M6", "D1", 0, "tool T3 in use, not T2"},
    {"X20.\nX30.", "X30.", "D1", 1, "the hole at (20, 40, -5) is not in the code"},
    {"X30.\nG80", "X30.\nX40.\nG80", "", -1, "a hole at (40, 40, -5) in the code is not expected"},
    {"G81 X10.", "G83 Q1. X10.", "D1", 0, "cycle 83, not 81"},
    {"Z-5. R2.", "Z-5. R3.", "D1", 0, "the R level is 3, not 2"},
    {"Z5.\nG1", "Z6.\nG1", "P1", -1, "the path's start point (0, 0, 5) is not reached"},
    {"G1 X0.\n", "", "P1", 3, "the move to (0, 20, -1) is not in the code"},
    {"G1 X0.\n", "G1 X0.\nY25.\nY20.\n", "", -1, "2 move(s) in the code after the last expected"},
    {"G3 X20. Y20. I0. J10.", "G3 X20. Y20. I0. J10.\nG1 X25.", "P1", 3,
     "the code runs 1.1803 from"},
    {"Z5.\nG1 Z-1. F100.", "Z5.\nG1 X1. F100.\nG0 X0.\nG1 Z-1.", "P1", 0,
     "1 move(s) in the code before this one, the first to (1, 0, 5)"},
    {"X20.\nX30.", "X20.\nX30.\nG85 X30.", "", -1,
     "a hole at (30, 40, -5) in the code is not expected"},
    {"G1 Z-1. F100.", "G1 Z-1. X1.5 F100.", "P1", 0, "ends at (1.5, 0, -1), 1.5 from"},
};

TEST(VerifyProgram, OneChangeFailsAndIsNamed) {
  for (const Change& change : kChanges) {
    SCOPED_TRACE(std::string(change.from) + " -> " + change.to);
    const VerifyResult result = Verify(Replaced(kCode, change.from, change.to));
    EXPECT_FALSE(result.ok);
    ASSERT_FALSE(result.mismatches.empty());
    const Mismatch& first = result.mismatches.front();
    EXPECT_EQ(first.where.path, change.path) << Mismatches(result);
    EXPECT_EQ(first.where.index, change.index) << Mismatches(result);
    EXPECT_EQ(first.text.rfind(change.text, 0), 0u) << Mismatches(result);
  }
}

TEST(VerifyProgram, ArcInQuadrantsPasses) {
  const VerifyResult result = Verify(
      Replaced(kCode, "G3 X20. Y20. I0. J10.", "G3 X30. Y10. I0. J10.\nX20. Y20. I-10. J0."));
  EXPECT_TRUE(result.ok) << Mismatches(result);
  EXPECT_LT(result.largest_deviation, 1e-9);
  EXPECT_EQ(result.moves_read, 5u);
}

// The half circle as `segments` chords, to three decimals as written.
std::string Linearised(int segments) {
  std::string lines;
  for (int k = 1; k <= segments; ++k) {
    const double angle = -std::numbers::pi / 2 + std::numbers::pi * k / segments;
    char line[64];
    std::snprintf(line, sizeof line, "G1 X%.3f Y%.3f\n", 20 + 10 * std::cos(angle),
                  10 + 10 * std::sin(angle));
    lines += line;
  }
  return Replaced(kCode, "G3 X20. Y20. I0. J10.\n", lines);
}

TEST(VerifyProgram, LinearisedArcPassesWithinTheTolerance) {
  struct Case {
    int segments;
    double tolerance;
    bool ok;
  };
  // The chord's sagitta on radius 10: 0.0030 for 64 chords, 0.0120 for 32,
  // 0.0482 for 16; written coordinates add up to 0.0007.
  constexpr Case kCases[] = {
      {64, 0.005, true},   {32, 0.005, false}, {32, 0.0130, true},
      {16, 0.0130, false}, {16, 0.05, true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.segments) + " chords, tolerance " + std::to_string(c.tolerance));
    const VerifyResult result = Verify(Linearised(c.segments), Expected(), c.tolerance);
    EXPECT_EQ(result.ok, c.ok) << Mismatches(result);
    const double sagitta = 10 * (1 - std::cos(std::numbers::pi / c.segments / 2));
    EXPECT_NEAR(result.largest_deviation, sagitta, 0.0008);
    EXPECT_EQ(result.deviation_at.path, "P1");
    EXPECT_EQ(result.deviation_at.index, 2);
  }
}

TEST(VerifyProgram, MovesShorterThanTheToleranceMayBeLeftOut) {
  cut::Program expected = Expected();
  std::vector<Step>& steps = expected.paths[0].steps;
  // To where the tool is, out 0.003 and back: the code has none of them.
  steps.insert(steps.begin() + 2,
               {Line({20, 0, -1}, 500), Line({20, -0.003, -1}, 500), Line({20, 0, -1}, 500)});
  const VerifyResult result = Verify(kCode, expected);
  EXPECT_TRUE(result.ok) << Mismatches(result);
  EXPECT_NEAR(result.largest_deviation, 0.003, 1e-9);
  // Longer than the tolerance, it is missed.
  steps[3].end.y = -0.006;
  EXPECT_FALSE(Verify(kCode, expected).ok);
}

TEST(VerifyProgram, MovesMissingInTheMiddleAreNamedAlone) {
  cut::Program expected = Expected();
  std::vector<Step>& steps = expected.paths[0].steps;
  steps.insert(steps.begin() + 2, {Line({20, 0, -3}, 500), Line({20, 0, -1}, 500)});
  const VerifyResult result = Verify(kCode, expected);
  EXPECT_EQ(Mismatches(result),
            "P1#2: the move to (20, 0, -3) is not in the code\n"
            "P1#3: the move to (20, 0, -1) is not in the code\n");
  EXPECT_NEAR(result.largest_deviation, 2, 1e-9);
}

// Straight moves along X read back with their ends off in Y: each move's
// deviation is the larger offset of its two ends, the largest of them all
// is kept with the first move that has it, however little it exceeds the
// ones before.
TEST(VerifyProgram, LargestDeviationOfStraightMoves) {
  struct Case {
    double offsets[4];  // of the four moves' ends in Y
    double largest;
    int index;  // of the step with it
  };
  constexpr Case kCases[] = {
      {{0.001, 0.002, 0.0015, 0.0020001}, 0.0020001, 4},
      {{0.002, 0.001, 0.001, 0.001}, 0.002, 1},
      {{0.001, 0.001, 0.001, 0.001}, 0.001, 1},
      {{0.001, 0.0015, 0.0015, 0.0015001}, 0.0015001, 4},
      {{0.0049, 0.001, 0.0051, 0}, 0.0051, 3},  // beyond the tolerance
  };
  cut::Program expected;
  expected.tools = {{1, "END MILL 10", 10, 0}};
  cut::Path path;
  path.name = "P1";
  path.tool = 0;
  path.spindle = 1000;
  path.home = Vec{0, 0, 5};
  path.steps = {Line({0, 0, -1}, 500),  Line({10, 0, -1}, 500), Line({20, 0, -1}, 500),
                Line({30, 0, -1}, 500), Line({40, 0, -1}, 500), Rapid({40, 0, 5})};
  expected.paths = {path};
  for (const Case& c : kCases) {
    std::string code =
        "%\nO0001\nG21 G17 G40 G49 G80 G90\nT1 M6\nG0 G54 X0. Y0. S1000 M3\nZ5.\n"
        "G1 Z-1. F500.\n";
    char line[64];
    for (int k = 0; k < 4; ++k) {
      std::snprintf(line, sizeof line, "X%d. Y%.7f\n", 10 * (k + 1), c.offsets[k]);
      code += line;
    }
    code += "G0 Z5.\nM5\nM30\n%\n";
    SCOPED_TRACE(code);
    const VerifyResult result = Verify(code, expected);
    EXPECT_EQ(result.ok, c.largest <= kTolerance) << Mismatches(result);
    EXPECT_NEAR(result.largest_deviation, c.largest, 1e-12);
    EXPECT_EQ(result.deviation_at.index, c.index);
    EXPECT_EQ(result.deviation_at.point.x, 10 * c.index);  // where the move ends
  }
}

TEST(VerifyProgram, ToleranceBoundary) {
  // The plunge's end 0.004 lower: kept at 0.004, refused just under it.
  const std::string code = Replaced(kCode, "G1 Z-1. F100.", "G1 Z-1.004 F100.");
  EXPECT_TRUE(Verify(code, Expected(), 0.004 + 1e-9).ok);
  EXPECT_FALSE(Verify(code, Expected(), 0.004 - 1e-6).ok);
}

// Between two paths the code goes up to the second's safe height before it
// moves across.
TEST(VerifyProgram, RapidsAcrossAtTheSafeHeight) {
  cut::Program expected = Expected();
  cut::Path second = expected.paths[0];
  second.name = "P2";
  second.home = Vec{40, 0, 5};
  second.steps = {Line({40, 0, -1}, 100), Line({60, 0, -1}, 500), Rapid({60, 0, 5})};
  expected.paths.insert(expected.paths.begin() + 1, second);
  const std::string code = Replaced(kCode, "G0 Z5.\nZ50.\nM5",
                                    "G0 Z5.\nZ50.\nX40. Y0.\nZ5.\nG1 Z-1. F100.\n"
                                    "X60. F500.\nG0 Z5.\nZ50.\nM5");
  struct Case {
    const char* up;
    bool ok;
  };
  constexpr Case kCases[] = {
      {"Z50.\nX40.", true},
      {"Z60.\nX40.", true},
      {"Z49.996\nX40.", true},
      {"Z49.994\nX40.", false},
      {"X40.", false},                      // across at Z5
      {"Z50.\nX40. Y0. Z5.\nX40.", false},  // down while moving across
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.up);
    const VerifyResult result = Verify(Replaced(code, "Z50.\nX40.", c.up), expected);
    EXPECT_EQ(result.ok, c.ok) << Mismatches(result);
    if (!c.ok) {
      ASSERT_EQ(result.mismatch_count, 1u) << Mismatches(result);
      EXPECT_EQ(result.mismatches.front().where.path, "P2");
      EXPECT_EQ(result.mismatches.front().text.rfind("a rapid move across from", 0), 0u);
    }
  }
}

// SIEMENS cycles give the R level as the reference plane and a safety
// distance above it.
TEST(VerifyProgram, SiemensDrilling) {
  static const gcode::NcSystem* siemens = Load("SIEMENS-840D");
  cut::Program expected = Expected();
  expected.paths.erase(expected.paths.begin());
  struct Case {
    const char* call;
    bool ok;
  };
  constexpr Case kCases[] = {
      {"MCALL CYCLE81(50, 0, 2, -5)", true},
      {"MCALL CYCLE81(50, 0, 3, -5)", false},
      {"MCALL CYCLE81(50, 1, 1, -5)", true},
      {"MCALL CYCLE82(50, 0, 2, -5, , 1)", false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.call);
    const std::string code = std::string("T2 M6\nS800 M3 F80\nG0 X0 Y40 Z50\n") + c.call +
                             "\nX10\nX20\nX30\nMCALL\nM30\n";
    VerifyOptions options;
    options.tolerance = kTolerance;
    const VerifyResult result = VerifyProgram(expected, code, *siemens, options);
    EXPECT_EQ(result.ok, c.ok) << Mismatches(result);
    EXPECT_EQ(result.holes_read, 3u);
  }
}

TEST(VerifyProgram, CodeErrorsAndRefusedPathsAndBadInput) {
  cut::Program expected = Expected();
  // A path the writer could not write is not looked for.
  cut::Path refused = expected.paths[0];
  refused.name = "FIVE AXIS";
  refused.refusal = "five-axis motion";
  expected.paths.insert(expected.paths.begin() + 1, refused);
  VerifyResult result = Verify(kCode, expected);
  EXPECT_TRUE(result.ok) << Mismatches(result);
  EXPECT_EQ(result.paths_refused, 1);

  result = Verify(Replaced(kCode, "G1 X0.", "G1 X0. A5."));
  EXPECT_FALSE(result.ok);
  ASSERT_FALSE(result.mismatches.empty());
  EXPECT_EQ(result.mismatches.front().text.rfind("line 11: ", 0), 0u) << Mismatches(result);

  expected = Expected();
  expected.paths[1].tool = 7;
  result = Verify(kCode, expected);
  EXPECT_FALSE(result.ok);
  expected = Expected();
  expected.paths[0].steps[1].end.x = std::nan("");
  EXPECT_FALSE(Verify(kCode, expected).ok);
  EXPECT_FALSE(Verify(kCode, Expected(), std::nan("")).ok);
  EXPECT_FALSE(Verify("", Expected()).ok);
}

}  // namespace
}  // namespace zu::verify
