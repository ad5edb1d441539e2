// Reverse reading end to end under Wine: entry points 4 and 6 with the real
// host, the real plug-in and the registered code reader read each sample NC
// system's program into the document (saved and listed afterwards), report
// what could not be read, and end the command on every road.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "tests/command_test_fixture.h"
#include "tests/run_program.h"
#include "tests/test_text.h"

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using zutest::BinFolder;
using zutest::ExampleDocument;
using zutest::Lines;
using zutest::ReadBytes;
using zutest::RunProgram;
using zutest::U8;

struct Sample {
  const char* system;
  const char* file;
  std::size_t paths;  // the paths the program makes: milling paths and one per drill group
  int holes;          // the holes of all its drill groups
};
constexpr Sample kSamples[] = {
    {"FANUC-0i", "fanuc_plate.nc", 5, 5},
    {"HNC-818", "hnc_flange.nc", 3, 4},
    {"SIEMENS-840D", "siemens_housing.mpf", 3, 4},
    {"LinuxCNC", "linuxcnc_bracket.ngc", 4, 4},
};

class ReadBackCommands : public zutest::PluginCommandTest {
 protected:
  ReadBackCommands() : PluginCommandTest("zu_read_back_") {}

  void SetUp() override {
    PluginCommandTest::SetUp();
    saved_ = folder_ + "\\saved.json";
  }

  // A copy of a sample program in the test's folder, by its Windows path.
  std::string CopySample(const std::string& file) {
    const std::string copy = folder_ + "\\" + file;
    std::ofstream(copy, std::ios::binary)
        << ReadBytes(std::string(ZU_SOURCE_DIR) + "/gcode/samples/" + file);
    return copy;
  }

  // Runs entry point `command` on `document` (by default the example of
  // one path) and saves it.
  zutest::ProgramRun Host(int command, const std::string& arguments, const std::string& script,
                          const std::string& document = ExampleDocument("milling_2d.json")) {
    DeleteFileA(record_.c_str());
    DeleteFileA(saved_.c_str());
    return RunHost("run \"" + document + "\" --command " + std::to_string(command) + " " +
                       arguments + " --save \"" + saved_ + "\"",
                   script);
  }

  // The paths the command added to the document, as `zuhost list` prints
  // them: those after the document's own.
  std::vector<std::string> AddedPaths() {
    auto paths = ListedPaths(saved_);
    const auto own = ListedPaths(ExampleDocument("milling_2d.json"));
    EXPECT_GE(paths.size(), own.size());
    paths.erase(paths.begin(),
                paths.begin() + static_cast<long>(std::min(own.size(), paths.size())));
    return paths;
  }

  static std::vector<std::string> ListedPaths(const std::string& document) {
    const auto list = RunProgram("\"" + BinFolder() + "\\zuhost.exe\" list \"" + document + "\"");
    EXPECT_EQ(list.exit_code, 0u) << list.output;
    std::vector<std::string> paths;
    std::string::size_type start = 0;
    for (std::string::size_type end; (end = list.output.find('\n', start)) != std::string::npos;
         start = end + 1) {
      std::string line = list.output.substr(start, end - start);
      if (!line.empty() && line.back() == '\r')
        line.pop_back();
      // "  N "name" ..." for each path, after the count.
      if (line.size() > 2 && line.rfind("  ", 0) == 0)
        paths.push_back(line.substr(line.find('"')));
    }
    return paths;
  }

  std::vector<std::string> Messages() {
    std::vector<std::string> messages;
    for (const auto& line : Lines(record_))
      if (line.rfind("message ", 0) == 0)
        messages.push_back(line);
    return messages;
  }

  std::string saved_;  // the document as the host saved it
};

TEST_F(ReadBackCommands, EntryPointFourReadsEachSystemsProgramIntoTheDocument) {
  for (const Sample& sample : kSamples) {
    SCOPED_TRACE(sample.system);
    const std::string code = CopySample(sample.file);
    Settings("McfFolder=C:\\ORVO\\NCSystems\r\nCurrentMcf=HNC-818\r\n");
    const auto host = Host(
        4, "",
        "dialog 9000\ntext 9013 \"" + code + "\"\nlist-click 9015 \"" + sample.system + "\"\nok\n");
    EXPECT_EQ(host.exit_code, 0u) << host.output;
    const auto record = Lines(record_);
    EXPECT_THAT(record, Contains(U8(u8"host prompt \"代码反读数据处理...\"")));
    EXPECT_THAT(record, Contains("host command ended"));
    EXPECT_THAT(Messages(), IsEmpty());
    const auto paths = AddedPaths();
    EXPECT_EQ(paths.size(), sample.paths) << host.output << ::testing::PrintToString(paths);
    int holes = 0;
    for (const std::string& path : paths) {
      const auto at = path.find(" hole");
      if (at != std::string::npos)
        holes += std::stoi(path.substr(path.rfind(' ', at - 1) + 1));
    }
    EXPECT_EQ(holes, sample.holes) << ::testing::PrintToString(paths);
    // The choice is kept for the next time.
    const std::string settings = ReadBytes(settings_);
    EXPECT_THAT(settings, HasSubstr(std::string("CurrentMcf=") + sample.system));
    EXPECT_THAT(settings, HasSubstr("ReadCode=" + code));
  }
}

TEST_F(ReadBackCommands, EntryPointSixReadsTheFileTheHostNames) {
  const std::string code = CopySample("fanuc_plate.nc");
  const auto host =
      Host(6, "--code-file \"" + code + "\"", "dialog 9000\nlist-click 9015 \"FANUC-0i\"\nok\n");
  EXPECT_EQ(host.exit_code, 0u) << host.output;
  EXPECT_THAT(Lines(record_), Contains("host command ended"));
  EXPECT_THAT(Messages(), IsEmpty());
  EXPECT_FALSE(AddedPaths().empty()) << host.output;
  // Entry point 6 neither reads nor writes the settings.
  EXPECT_EQ(GetFileAttributesA(settings_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ReadBackCommands, BlocksThatCannotBeReadAreShownAndTheRestIsKept) {
  const std::string code = folder_ + "\\bad.nc";
  std::ofstream(code, std::ios::binary)
      << "%\nO1\nG90 G17 G21\nT1 M6\nS1000 M3\n"
         "G0 X0. Y0. Z5.\nG1 Z-1. F200.\nG1 X10.\nG1 X10. Y10. Q#7\n"
         "G1 Y20.\nM30\n%\n";
  const auto host =
      Host(6, "--code-file \"" + code + "\"", "dialog 9000\nlist-click 9015 \"FANUC-0i\"\nok\n");
  EXPECT_EQ(host.exit_code, 0u) << host.output;
  const auto messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_THAT(messages[0], HasSubstr(U8(u8"代码文件中有 1 个程序段无法识别")));
  EXPECT_THAT(messages[0], HasSubstr("G1 X10. Y10. Q#7"));
  EXPECT_THAT(messages[0], HasSubstr("exclamation"));
  EXPECT_EQ(AddedPaths().size(), 1u);
  EXPECT_THAT(Lines(record_), Contains("host command ended"));
}

TEST_F(ReadBackCommands, ASystemWithoutItsDescriptionReadsNothingAndSaysSo) {
  // The .mcf is among the NC systems, its .xml is not: the reader is still
  // asked to read, by the description's path. (The Windows tests run one at
  // a time, so no other test sees the extra system.)
  const std::string lonely = "C:\\ORVO\\NCSystems\\ZZ-NO-DESCRIPTION";
  std::ofstream(lonely + ".mcf", std::ios::binary) << "";
  const std::string code = CopySample("fanuc_plate.nc");
  const auto host = Host(6, "--code-file \"" + code + "\"",
                         "dialog 9000\nlist-click 9015 \"ZZ-NO-DESCRIPTION\"\nok\n");
  DeleteFileA((lonely + ".mcf").c_str());
  EXPECT_EQ(host.exit_code, 0u) << host.output;
  const auto messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_THAT(messages[0], HasSubstr(U8(u8"无法读入数控系统描述")));
  EXPECT_THAT(messages[0], HasSubstr(lonely + ".xml"));
  EXPECT_THAT(AddedPaths(), IsEmpty());
  EXPECT_THAT(Lines(record_), Contains("host command ended"));
}

TEST_F(ReadBackCommands, AFiveAxisProgramReadsIntoOnePathAndSaysOnceWhatItCannotHold) {
  // A five-axis machine (rotary A and C, G43.4, G93) among the NC systems
  // for this test only: its description and an .mcf of the same name.
  const std::string system = "C:\\ORVO\\NCSystems\\ZZ-FANUC-0i-AC";
  std::ofstream(system + ".mcf", std::ios::binary) << "";
  std::ofstream(system + ".xml", std::ios::binary)
      << ReadBytes(std::string(ZU_SOURCE_DIR) + "/gcode/tests/ncsystems/FANUC-0i-AC.xml");
  const std::string code = CopySample("fanuc_5axis.nc");
  const auto host = Host(6, "--code-file \"" + code + "\"",
                         "dialog 9000\nlist-click 9015 \"ZZ-FANUC-0i-AC\"\nok\n");
  DeleteFileA((system + ".mcf").c_str());
  DeleteFileA((system + ".xml").c_str());
  EXPECT_EQ(host.exit_code, 0u) << host.output;
  const auto messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_THAT(messages[0], HasSubstr(U8(u8"代码文件是多轴程序（旋转轴 A C）")));
  EXPECT_THAT(messages[0], HasSubstr(U8(u8"旋转轴位置和刀轴方向没有保存")));
  EXPECT_THAT(messages[0], HasSubstr(U8(u8"反比时间进给（G93）")));
  EXPECT_THAT(messages[0], HasSubstr("fanuc_5axis.nc"));
  EXPECT_THAT(messages[0], Not(HasSubstr(U8(u8"未知"))));
  EXPECT_THAT(messages[0], Not(HasSubstr(U8(u8"无法识别"))));
  // The X Y Z moves from the first rapid's end: three rapids and six feed
  // moves, the turns of the rotary axes alone left out.
  const auto paths = AddedPaths();
  ASSERT_EQ(paths.size(), 1u) << host.output;
  const nlohmann::json saved = nlohmann::json::parse(ReadBytes(saved_));
  const auto& moves = saved.at("paths").back().at("rows").at(0);
  EXPECT_EQ(moves.size(), 9u) << moves.dump();
  EXPECT_THAT(Lines(record_), Contains("host command ended"));
}

TEST_F(ReadBackCommands, ACodeFileWithoutMovesAddsNoPath) {
  const std::string code = folder_ + "\\empty.nc";
  std::ofstream(code, std::ios::binary) << "%\nO2\n(nothing but words)\nM30\n%\n";
  const auto host =
      Host(6, "--code-file \"" + code + "\"", "dialog 9000\nlist-click 9015 \"FANUC-0i\"\nok\n");
  EXPECT_EQ(host.exit_code, 0u) << host.output;
  EXPECT_THAT(Messages(), IsEmpty());
  EXPECT_THAT(AddedPaths(), IsEmpty());
  EXPECT_THAT(Lines(record_), Contains("host command ended"));
}

TEST_F(ReadBackCommands, ACancelledDialogReadsNothing) {
  const std::string code = CopySample("fanuc_plate.nc");
  const auto host = Host(6, "--code-file \"" + code + "\"", "dialog 9000\ncancel\n");
  EXPECT_EQ(host.exit_code, 0u) << host.output;
  EXPECT_THAT(Lines(record_), Not(Contains(U8(u8"host prompt \"代码反读数据处理...\""))));
  EXPECT_THAT(AddedPaths(), IsEmpty());
  EXPECT_THAT(Lines(record_), Contains("host command ended"));
}

// One program in each system's dialect with the same geometry: a plunge, a
// compensated line, a clockwise and a counter-clockwise quarter arc, a line
// that ends compensation, a retract, and two holes of one drilling cycle.
struct Dialect {
  const char* system;
  const char* file;
  const char* program;
  // The drilling record the cycle gives: mode, safe distance, hole depth,
  // clearance, work surface.
  int drill_mode;
  double safe_distance, hole_depth, clearance, work_surface;
  double diameter;  // tool dimension 1, where the program sets the radius
};
const Dialect kDialects[] = {
    {"FANUC-0i", "geometry.nc",
     "%\nO0010 (GEOMETRY)\nG21 G17 G40 G90 G54\nT5 M6\nG10 L12 P5 R4.\nS3000 M3\n"
     "G0 X10. Y20. Z5.\nG1 Z-2. F250.\nG41 D5 X30. Y20. F400.\nG2 X40. Y10. I0. J-10.\n"
     "G3 X50. Y20. R10.\nG40 G1 X60. Y20.\nG0 Z5.\nG99 G81 X70. Y20. Z-8. R1. F120.\nX80.\n"
     "G80\nM30\n%\n",
     81, 0, 9, 1, 1, 8},
    {"HNC-818", "geometry.nc",
     "%0010\n; GEOMETRY\nG21 G17 G40 G90 G54\nT5 M6\nS3000 M3\n"
     "G0 X10 Y20 Z5\nG1 Z-2 F250\nG41 D5 X30 Y20 F400\nG2 X40 Y10 I0 J-10\n"
     "G3 X50 Y20 R10\nG40 G1 X60 Y20\nG0 Z5\nG99 G81 X70 Y20 Z-8 R1 F120\nX80\nG80\nM30\n",
     81, 0, 9, 1, 1, 0},
    {"SIEMENS-840D", "geometry.mpf",
     "%_N_GEOMETRY_MPF\n; GEOMETRY\nN10 G17 G40 G90 G71 G54\nN20 T=5 M6\nN30 D5 S3000 M3\n"
     "N40 G0 X10 Y20 Z5\nN50 G1 Z-2 F250\nN60 G41 G1 X30 Y20 F400\nN70 G2 X40 Y10 I0 J-10\n"
     "N80 G3 X50 Y20 CR=10\nN90 G40 G1 X60 Y20\nN100 G0 Z5\nN110 F120\n"
     "N120 MCALL CYCLE81(5, 0, 1, -8)\nN130 X70 Y20\nN140 X80 Y20\nN150 MCALL\nN160 M30\n",
     81, 1, 8, 5, 0, 0},
};

// The host's current coordinate system of the test document: origin
// (100, 200, 10), X along the document's Y, Y along its -X. A point (x, y,
// z) of the code lies at (100 - y, 200 + x, 10 + z) in the document.
std::array<double, 3> InDocument(double x, double y, double z) {
  return {100 - y, 200 + x, 10 + z};
}

void ExpectPoint(const nlohmann::json& numbers, std::size_t at, std::array<double, 3> expected,
                 const char* what) {
  for (std::size_t i = 0; i < 3; ++i)
    EXPECT_NEAR(numbers.at(at + i).get<double>(), expected[i], 1e-9) << what << " [" << i << "]";
}

TEST_F(ReadBackCommands, TheSavedPathsHoldWhatTheCodeSaysInEachSystem) {
  nlohmann::json document = nlohmann::json::parse(ReadBytes(ExampleDocument("milling_2d.json")));
  document["current_coordinate_system"] = {
      {"name", "G54"},
      {"origin", {100.0, 200.0, 10.0}},
      {"x_axis", {0.0, 10.0, 0.0}},
      {"y_axis", {-10.0, 0.0, 0.0}},
      {"z_axis", {0.0, 0.0, 1.0}},
      {"matrix",
       {0.0, 1.0, 0.0, -200.0, -1.0, 0.0, 0.0, 100.0, 0.0, 0.0, 1.0, -10.0, 0.0, 0.0, 0.0, 1.0}}};
  const std::string turned = folder_ + "\\turned.json";
  std::ofstream(turned, std::ios::binary) << document.dump(1);
  const std::size_t own_paths = document["paths"].size();

  for (const Dialect& dialect : kDialects) {
    SCOPED_TRACE(dialect.system);
    const std::string code = folder_ + "\\" + dialect.file;
    std::ofstream(code, std::ios::binary) << dialect.program;
    const auto host =
        Host(6, "--code-file \"" + code + "\"",
             std::string("dialog 9000\nlist-click 9015 \"") + dialect.system + "\"\nok\n", turned);
    ASSERT_EQ(host.exit_code, 0u) << host.output;
    EXPECT_THAT(Messages(), IsEmpty());
    const nlohmann::json saved = nlohmann::json::parse(ReadBytes(saved_));
    const auto& paths = saved.at("paths");
    ASSERT_EQ(paths.size(), own_paths + 2) << host.output;

    // The milling path: its moves, at the code's positions in the document.
    const auto& mill = paths.at(own_paths);
    EXPECT_EQ(mill.at("kind"), 7);
    EXPECT_EQ(mill.at("tool").at("int1"), 5);
    EXPECT_EQ(mill.at("tool").at("int2"), 5);
    EXPECT_NEAR(mill.at("tool").at("dimensions").at(0).get<double>(), dialect.diameter, 1e-12);
    // Spindle speed; feed A the second feed (400), D the first (250).
    EXPECT_EQ(mill.at("feed").at(0), 3000.0);
    EXPECT_EQ(mill.at("feed").at(1), 400.0);
    EXPECT_EQ(mill.at("feed").at(4), 250.0);
    EXPECT_EQ(mill.at("wcs").at("name"), "G54");
    const auto& moves = mill.at("rows").at(0);
    ASSERT_EQ(moves.size(), 6u) << moves.dump();
    // [kind, a, b, c, ...]: the plunge at feed D (segment kind 2) where the
    // code has no compensation yet (-6), the compensated line at feed A
    // (kind 4) starting it (-5), the arcs, the line ending it, the rapid.
    const int kinds[6][4] = {{1, 2, 0, -6}, {1, 4, 0, -5}, {2, 4, 0, 7},
                             {2, 4, 0, 7},  {1, 4, 0, -6}, {1, 9, 0, 7}};
    for (std::size_t i = 0; i < moves.size(); ++i) {
      for (std::size_t k = 0; k < 4; ++k)
        EXPECT_EQ(moves.at(i).at(k).get<int>(), kinds[i][k]) << "move " << i << " field " << k;
    }
    ExpectPoint(moves.at(0), 4, InDocument(10, 20, 5), "plunge start");
    ExpectPoint(moves.at(0), 7, InDocument(10, 20, -2), "plunge end");
    ExpectPoint(moves.at(1), 7, InDocument(30, 20, -2), "line end");
    // Arcs: centre, axis points, start, end, radius, sweep.
    ExpectPoint(moves.at(2), 4, InDocument(30, 10, -2), "clockwise centre");
    ExpectPoint(moves.at(2), 13, InDocument(30, 20, -2), "clockwise start");
    ExpectPoint(moves.at(2), 16, InDocument(40, 10, -2), "clockwise end");
    EXPECT_NEAR(moves.at(2).at(19).get<double>(), 10, 1e-9);
    // Counter-clockwise about -Z: a quarter turn; its axis points make that
    // normal (the second point towards the start, the third a quarter turn
    // on about -Z, which is clockwise in the plane: towards the end here).
    EXPECT_NEAR(moves.at(2).at(20).get<double>(), std::acos(0.0), 1e-9);
    ExpectPoint(moves.at(2), 7, InDocument(30, 20, -2), "clockwise second");
    ExpectPoint(moves.at(2), 10, InDocument(40, 10, -2), "clockwise third");
    ExpectPoint(moves.at(3), 4, InDocument(40, 20, -2), "counter-clockwise centre");
    ExpectPoint(moves.at(3), 16, InDocument(50, 20, -2), "counter-clockwise end");
    EXPECT_NEAR(moves.at(3).at(20).get<double>(), std::acos(0.0), 1e-9);
    ExpectPoint(moves.at(3), 7, InDocument(40, 10, -2), "counter-clockwise second");
    ExpectPoint(moves.at(3), 10, InDocument(50, 20, -2), "counter-clockwise third");
    ExpectPoint(moves.at(4), 7, InDocument(60, 20, -2), "line end");
    ExpectPoint(moves.at(5), 7, InDocument(60, 20, 5), "retract end");

    // The drilling path: its record and holes.
    const auto& drill = paths.at(own_paths + 1);
    EXPECT_EQ(drill.at("kind"), 67);
    EXPECT_EQ(drill.at("tool").at("int1"), 5);
    const auto& record = drill.at("parameters");
    EXPECT_EQ(record.at("drill_mode"), dialect.drill_mode);
    EXPECT_EQ(record.at("drill_feed"), 120);
    EXPECT_EQ(record.at("spindle_speed"), 3000);
    EXPECT_NEAR(record.at("safe_distance").get<double>(), dialect.safe_distance, 1e-12);
    EXPECT_NEAR(record.at("hole_depth").get<double>(), dialect.hole_depth, 1e-12);
    EXPECT_NEAR(record.at("clearance").get<double>(), dialect.clearance, 1e-12);
    EXPECT_NEAR(record.at("work_surface").get<double>(), dialect.work_surface, 1e-12);
    const auto& holes = drill.at("geometry").at("drill_points");
    ASSERT_EQ(holes.size(), 2u);
    ExpectPoint(holes.at(0), 0, InDocument(70, 20, -8), "first hole");
    ExpectPoint(holes.at(1), 0, InDocument(80, 20, -8), "second hole");
  }
}

}  // namespace
