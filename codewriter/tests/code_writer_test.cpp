#include "codewriter/code_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

namespace zu::codewriter {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

cut::Step Move(cut::Step::Kind kind, cut::Vec end, double feed = 0) {
  cut::Step step;
  step.kind = kind;
  step.end = end;
  step.feed = feed;
  return step;
}

cut::Step Arc(cut::Vec end, cut::Vec centre, cut::Vec normal, double feed) {
  cut::Step step = Move(cut::Step::Kind::kArc, end, feed);
  step.centre = centre;
  step.normal = normal;
  return step;
}

// One tool, one path: from (0, 0, 5) a square corner, a full circle of
// radius 10 about (10, 0, 0) and a half-second dwell.
cut::Program Sample() {
  cut::Program program;
  program.tools = {{1, "D10", 10, 0}, {2, "D6", 6, 0}};
  cut::Path path;
  path.name = "pocket";
  path.spindle = 3000;
  path.safe_height = 50;
  path.home = cut::Vec{0, 0, 5};
  path.steps = {Move(cut::Step::Kind::kLine, {0, 0, -2}, 200),
                Move(cut::Step::Kind::kLine, {25.4, 0, -2}, 800),
                Move(cut::Step::Kind::kLine, {25.4, 10, -2}, 800),
                Move(cut::Step::Kind::kLine, {20, 0, -2}, 800),
                Arc({20, 0, -2}, {10, 0, -2}, {0, 0, 1}, 800),
                Move(cut::Step::Kind::kDwell, {}),
                Move(cut::Step::Kind::kRapid, {20, 0, 5})};
  path.steps[5].seconds = 0.5;
  program.paths.push_back(path);
  cut::Path drill;
  drill.name = "holes";
  drill.tool = 1;
  drill.spindle = 1200;
  drill.safe_height = 50;
  drill.drilling = cut::DrillCycle{81, 80, 0, 0};
  drill.holes = {{{10, 10, 0}, -15, 2, 3}, {{30, 10, 0}, -15, 2, 3}};
  program.paths.push_back(drill);
  return program;
}

std::string Write(const std::function<void(machine::MachineConfig&)>& change,
                  const cut::Program& program = Sample()) {
  machine::MachineConfig machine;
  change(machine);
  std::string code;
  const WriteResult result = WriteProgram(program, machine, {"1234"}, code);
  return result.ok() ? code : "error: " + result.error;
}

TEST(CodeWriter, WritesWhatEachMachineSettingAsksFor) {
  struct Case {
    const char* what;
    std::function<void(machine::MachineConfig&)> change;
    std::vector<const char*> present;
    std::vector<const char*> absent;
  };
  using machine::MachineConfig;
  const Case cases[] = {
      {"defaults: O number from the file name, IJK, quadrants not split, G81, ms dwell",
       [](MachineConfig&) {},
       {"%\r\nO1234\r\n", "T1 M6 (D10)", "G43 Z50. H1", "G1 Z-2. F200.", "X25.4 F800.",
        "G3 X0. Y0. I-10. J0.\r\nN130 G3 X20. Y0. I10. J0.", "G4 P500",
        "G98 G81 X10. Y10. Z-15. R2. F80.", "\r\nN", "M30\r\n%\r\n"},
       {"T2\r\n", "G17 G3"}},
      {"block numbers wrap after their maximum",
       [](MachineConfig& m) {
         m.block.number_start = 1;
         m.block.number_increment = 2;
         m.block.number_max = 5;
       },
       {"N1 G17", "N3 T1", "N5 S3000", "\r\nN1 M8"},
       {"N7"}},
      {"no block numbers",
       [](MachineConfig& m) { m.block.numbers = false; },
       {"\r\nT1 M6"},
       {"N10"}},
      {"modal coordinates off: every axis written",
       [](MachineConfig& m) { m.modal.coordinates = false; },
       {"X25.4 Y0. Z-2. F800."},
       {}},
      {"inch machine from millimetres",
       [](MachineConfig& m) { m.identity.units = machine::Units::kInch; },
       {"X1. F31.5"},
       {"X25.4"}},
      {"quadrant split",
       [](MachineConfig& m) { m.arcs.max_sweep_degrees = 90; },
       {"G3 X10. Y10. I-10. J0.", "G3 X0. Y0. I0. J-10.", "G3 X10. Y-10. I10. J0.",
        "G3 X20. Y0. I0. J10."},
       {}},
      {"radius word",
       [](MachineConfig& m) { m.arcs.centre = machine::ArcCentre::kRadius; },
       {"R10."},
       {"I-10."}},
      {"SIEMENS radius word",
       [](MachineConfig& m) {
         m.arcs.centre = machine::ArcCentre::kRadius;
         m.arcs.radius_word = machine::RadiusWord::kCrEquals;
       },
       {"CR=10."},
       {" R10."}},
      {"absolute centres",
       [](MachineConfig& m) { m.arcs.centre = machine::ArcCentre::kAbsolute; },
       {"I10. J0."},
       {}},
      {"no arcs in XY: lines",
       [](MachineConfig& m) { m.arcs.xy = false; },
       {"X20. Y0.\r\n"},
       {"G3", "G2"}},
      {"dwell in seconds",
       [](MachineConfig& m) {
         m.cycles.dwell_unit = machine::DwellUnit::kSeconds;
         m.cycles.dwell_address = 'X';
       },
       {"G4 X0.5"},
       {"P500"}},
      {"cycles expanded",
       [](MachineConfig& m) { m.cycles.form = machine::CycleForm::kExpanded; },
       {"G0 Z2.", "G1 Z-15. F80.", "G0 Z2.\r\n", "Z3."},
       {"G81", "G80\r\n"}},
      {"SIEMENS cycles",
       [](MachineConfig& m) { m.cycles.form = machine::CycleForm::kSiemensCycles; },
       {"CYCLE81(3.,0.,2.,-15.)", "F80."},
       {"G81"}},
      {"R plane return",
       [](MachineConfig& m) { m.cycles.return_to_initial = false; },
       {"G99 G81"},
       {"G98"}},
      {"tool preselection",
       [](MachineConfig& m) { m.tools.preselect_next = true; },
       {"T1 M6 (D10)\r\nN30 T2\r\n"},
       {}},
      {"SIEMENS tool change",
       [](MachineConfig& m) {
         m.tools.change = machine::ToolChange::kTName;
         m.tools.length_offset = false;
       },
       {"T=\"D10\"\r\nN30 M6\r\nN40 D1\r\n"},
       {"G43", "T1 M6"}},
      {"line length",
       [](MachineConfig& m) { m.block.max_line_length = 20; },
       {"error: line 4 would be 27 characters long, more than the machine's 20"},
       {}},
  };
  for (const Case& c : cases) {
    const std::string code = Write(c.change);
    for (const char* text : c.present)
      EXPECT_THAT(code, HasSubstr(text)) << c.what;
    for (const char* text : c.absent)
      EXPECT_THAT(code, Not(HasSubstr(text))) << c.what;
  }
}

TEST(CodeWriter, ProgramFramesOfTheFourFamilies) {
  struct Case {
    machine::ProgramFrame frame;
    std::string name;
    const char* head;
    const char* tail;
  };
  const Case cases[] = {
      {machine::ProgramFrame::kOWord, "1234", "%\r\nO1234\r\n", "M30\r\n%\r\n"},
      {machine::ProgramFrame::kOWord, "12345", "%\r\nO0001\r\n", "M30\r\n%\r\n"},  // above O9999
      {machine::ProgramFrame::kPercentNumber, "17", "%17\r\n", "M30\r\n"},
      {machine::ProgramFrame::kMpfName, "part-1", "%_N_PART_1_MPF\r\n;$PATH=/_N_MPF_DIR\r\n",
       "M30\r\n"},
      {machine::ProgramFrame::kPlain, "part", "%\r\n(part)\r\n", "M2\r\n%\r\n"},
  };
  for (const Case& c : cases) {
    machine::MachineConfig machine;
    machine.block.frame = c.frame;
    if (c.frame == machine::ProgramFrame::kPlain)
      machine.block.program_end = "M2";
    std::string code;
    ASSERT_TRUE(WriteProgram(Sample(), machine, {c.name}, code).ok());
    EXPECT_EQ(code.substr(0, std::string(c.head).size()), c.head) << c.name;
    EXPECT_EQ(code.substr(code.size() - std::string(c.tail).size()), c.tail) << c.name;
  }
}

TEST(CodeWriter, ARefusedPathWritesNothingAndIsNamed) {
  cut::Program program = Sample();
  program.paths[1].refusal = "it is a five-axis path: its code needs rotary axes";
  std::string code = "old";
  const WriteResult result = WriteProgram(program, machine::MachineConfig{}, {"1"}, code);
  EXPECT_EQ(result.error, "path \"holes\": it is a five-axis path: its code needs rotary axes");
  EXPECT_TRUE(code.empty());
}

TEST(CodeWriter, NotesSayWhatTheMachineCouldNotDoAsAsked) {
  machine::MachineConfig machine;
  machine.arcs.xy = false;
  machine.arcs.max_sweep_degrees = 90;
  cut::Program program = Sample();
  program.paths[0].steps.push_back(
      Arc({20, 0, -5}, {20, 0, 0}, {0, 1, 0}, 800));  // a full turn in ZX
  std::string code;
  const WriteResult result = WriteProgram(program, machine, {"1"}, code);
  EXPECT_THAT(result.notes, ::testing::ElementsAre(
                                "1 arc in a plane the machine has no arcs in, written as lines",
                                "1 arc longer than the machine's sweep per block, written in "
                                "pieces"));
}

}  // namespace
}  // namespace zu::codewriter
