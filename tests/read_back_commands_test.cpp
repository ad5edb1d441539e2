// Reverse reading end to end under Wine: entry points 4 and 6 with the real
// host, the real plug-in and the registered code reader read each sample NC
// system's program into the document (saved and listed afterwards), report
// what could not be read, and end the command on every road.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "tests/run_program.h"
#include "tests/test_text.h"

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using zutest::BinFolder;
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
};

class ReadBackCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "zu_read_back_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
              std::to_string(GetCurrentProcessId());
    RunProgram("cmd /c rmdir /s /q \"" + folder_ + "\"");
    CreateDirectoryA(folder_.c_str(), nullptr);
    script_ = folder_ + "\\script.txt";
    record_ = folder_ + "\\record.txt";
    saved_ = folder_ + "\\saved.json";
    const std::string para = BinFolder().substr(0, BinFolder().find_last_of('\\')) + "\\para";
    CreateDirectoryA(para.c_str(), nullptr);
    settings_ = para + "\\ZuPost.ini";
    DeleteFileA(settings_.c_str());
  }
  void TearDown() override {
    DeleteFileA(settings_.c_str());
    RunProgram("cmd /c rmdir /s /q \"" + folder_ + "\"");
  }

  // A copy of a sample program in the test's folder, by its Windows path.
  std::string CopySample(const std::string& file) {
    const std::string copy = folder_ + "\\" + file;
    std::ofstream(copy, std::ios::binary)
        << ReadBytes(std::string(ZU_SOURCE_DIR) + "/gcode/samples/" + file);
    return copy;
  }

  void Settings(const std::string& keys) {
    std::ofstream(settings_, std::ios::binary) << "[MCFINFO]\r\n" << keys;
  }

  // Runs entry point `command` on a document of one path and saves it.
  zutest::ProgramRun Host(int command, const std::string& arguments, const std::string& script) {
    std::ofstream(script_, std::ios::binary) << script;
    DeleteFileA(record_.c_str());
    DeleteFileA(saved_.c_str());
    return RunProgram("\"" + BinFolder() + "\\zuhost.exe\" run \"" + std::string(ZU_SOURCE_DIR) +
                      "/examples/milling_2d.json\" --command " + std::to_string(command) + " " +
                      arguments + " --save \"" + saved_ + "\" --automation \"" + script_ +
                      "\" --record \"" + record_ + "\"");
  }

  // The paths the command added to the document, as `zuhost list` prints
  // them: those after the document's own.
  std::vector<std::string> AddedPaths() {
    auto paths = ListedPaths(saved_);
    const auto own = ListedPaths(std::string(ZU_SOURCE_DIR) + "/examples/milling_2d.json");
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

  std::string folder_, script_, record_, saved_, settings_;
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
      const auto at = path.find(" holes");
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

}  // namespace
