// Entry point 5 end to end under Wine: the NC-system dialog, the picked
// paths written to C:\zu.pmf (compared with the golden files), the post
// processor started with its exact command line and waited for, the code
// file it made shown and handed back; and the roads that end early.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/command_test_fixture.h"
#include "tests/run_program.h"
#include "tests/test_text.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using zutest::GoldenBytes;
using zutest::Lines;
using zutest::ReadBytes;
using zutest::U8;

constexpr const char* kToolLocationFile = "C:\\zu.pmf";
constexpr const char* kCodeFolder = "C:\\zu_golden";
const std::string kCodeFile = std::string(kCodeFolder) + "\\NC0001.cut";

// The person chooses FANUC-0i, names the code file NC0001 and closes the
// code display.
constexpr const char* kChooseAndClose =
    "dialog 9001\n"
    "list-click 1607 \"FANUC-0i\"\n"
    "text 9006 \"NC0001\"\n"
    "ok\n"
    "dialog 9002\n"
    "cancel\n";

class TextRoadCommands : public zutest::PluginCommandTest {
 protected:
  TextRoadCommands() : PluginCommandTest("zu_text_road_") {}

  void SetUp() override {
    PluginCommandTest::SetUp();
    CreateDirectoryA(kCodeFolder, nullptr);
    DeleteFileA(kCodeFile.c_str());
    DeleteFileA(kToolLocationFile);
  }

  zutest::ProgramRun Host(const std::string& document, const std::string& arguments,
                          const std::string& script = kChooseAndClose) {
    return RunHost("run \"" + zutest::ExampleDocument(document) + "\" " + arguments, script);
  }
};

struct GoldenRun {
  const char* document;
  const char* golden;
  const char* settings;
};

// The program of a golden tool-location file for a machine, or the
// refusal the post gives instead ("refused: ..."), as the native post
// writes it: tests/golden/gcode/.
std::string GoldenProgram(const std::string& golden, const std::string& system) {
  return GoldenBytes("gcode/" + golden.substr(0, golden.size() - 4) + "." + system + ".nc");
}

constexpr const char* kSystems[] = {"FANUC-0i",          "HNC-818",
                                    "SIEMENS-840D",      "LinuxCNC",
                                    "FANUC-0i-AC-table", "SIEMENS-840D-BC-head-table",
                                    "LinuxCNC-xyzac-trt"};

TEST_F(TextRoadCommands, EveryExampleIsWrittenAsItsGoldenFileAndPostedForEveryMachine) {
  const GoldenRun runs[] = {
      {"drilling.json", "drilling.pmf", ""},
      {"milling_2d.json", "milling_2d.pmf", ""},
      {"dwell.json", "dwell.pmf", ""},
      {"compensation.json", "compensation.pmf", ""},
      {"macro.json", "macro.pmf", ""},
      {"milling_3d.json", "milling_3d.pmf", ""},
      {"tilted.json", "tilted.pmf", ""},
      {"tilted.json", "tilted_jig.pmf",
       "UseJigCoord=1\r\nJigToolAxis=2\r\nJigToolUpHeight=500\r\n"},
      {"five_axis.json", "five_axis.pmf", ""},
  };
  for (const char* system : kSystems) {
    const std::string script = std::string("dialog 9001\nlist-click 1607 \"") + system +
                               "\"\ntext 9006 \"NC0001\"\nok\ndialog 9002\ncancel\n";
    for (const auto& run : runs) {
      SCOPED_TRACE(std::string(run.golden) + " for " + system);
      Settings(run.settings);
      DeleteFileA(record_.c_str());
      DeleteFileA(module_record_.c_str());
      DeleteFileA(kCodeFile.c_str());
      const auto host = Host(
          run.document, std::string("--command 5 --pick all --hook-temp ") + kCodeFolder, script);
      const std::string program = GoldenProgram(run.golden, system);
      ASSERT_FALSE(program.empty());
      const bool refused = program.rfind("refused: ", 0) == 0;
      // A refusal ends the command on the plug-in's error message.
      EXPECT_EQ(host.exit_code, refused ? 6u : 0u) << host.output;
      const std::string golden = GoldenBytes(run.golden);
      ASSERT_FALSE(golden.empty());
      // The file names the machine's .mcf: the golden is FANUC-0i's.
      if (std::string(system) == "FANUC-0i") {
        EXPECT_TRUE(ReadBytes(kToolLocationFile) == golden) << "C:\\zu.pmf differs from the golden";
      }
      const auto module = Lines(module_record_);
      ASSERT_FALSE(module.empty()) << host.output;
      EXPECT_EQ(module[0], std::string("ORVOPost command line: C:\\ORVO\\Post\\ORVOPost.exe "
                                       "*posttc*C:\\zu.pmf*C:\\ORVO\\NCSystems\\") +
                               system + ".mcf*" + kCodeFile + "*");
      const auto record = Lines(record_);
      EXPECT_EQ(record.back(), "host command ended");
      if (refused) {
        EXPECT_THAT(host.output,
                    HasSubstr(U8(u8"host: message \"后置处理程序运行失败（退出码 8）")));
        // Nothing written, the post's message recorded, the plug-in's shown.
        EXPECT_TRUE(ReadBytes(kCodeFile).empty());
        EXPECT_THAT(module, Contains("ORVOPost error: C:\\zu.pmf: " +
                                     program.substr(9, program.size() - 11) + "; no code written"));
        EXPECT_THAT(host.output, HasSubstr("entry point 5 returned 0"));
        continue;
      }
      EXPECT_TRUE(ReadBytes(kCodeFile) == program) << kCodeFile << " differs from the golden";
      EXPECT_THAT(module, Contains(::testing::StartsWith("verified: PASS")));
      EXPECT_THAT(ReadBytes(std::string(kCodeFolder) + "\\NC0001.check.txt"), HasSubstr("PASS"));
      // The check picture beside it: the program read back over the file's
      // paths, none of it circled.
      const std::string picture = ReadBytes(std::string(kCodeFolder) + "\\NC0001.check.svg");
      EXPECT_THAT(picture, HasSubstr(">the program read back</text>"));
      EXPECT_THAT(picture, HasSubstr(">PASS: largest deviation "));
      EXPECT_THAT(picture, Not(HasSubstr("class=\"deviation\"")));
      if (std::string(run.document) == "milling_2d.json") {
        EXPECT_THAT(picture, HasSubstr(U8(u8">轮廓铣</text>")));  // from code page 936
      }
      EXPECT_THAT(host.output, HasSubstr("entry point 5 returned 1"));
      EXPECT_THAT(record, Contains(U8(u8"dialog 9002 \"代码显示\"")));
    }
  }
}

TEST_F(TextRoadCommands, TheHookRoadHandsTheCodeFilesToTheHook) {
  const auto host =
      Host("milling_2d.json", std::string("--command 1 --pick all --preselect --hook-wants-list "
                                          "--hook-temp ") +
                                  kCodeFolder + " --hook-dump \"" + folder_ + "\\dump.txt\"");
  EXPECT_EQ(host.exit_code, 0u) << host.output;
  const auto record = Lines(record_);
  EXPECT_THAT(record, Contains("host post hook took 1 code files"));
  EXPECT_THAT(record, Contains("host code file \"" + kCodeFile + "\""));
  // One line per picked path, nine numbers with six decimals.
  EXPECT_THAT(Lines(folder_ + "\\dump.txt"),
              ElementsAre("0.000000,0.000000,0.000000,10.000000,0.000000,0.000000,0.000000,"
                          "10.000000,0.000000,\r"));
}

TEST_F(TextRoadCommands, NothingPickedIsAnsweredWithAMessage) {
  const auto host = Host("milling_2d.json", "--command 5", "dialog 9001\nok\n");
  EXPECT_THAT(host.output, HasSubstr("entry point 5 returned 0"));
  const auto record = Lines(record_);
  EXPECT_THAT(record, Contains(U8(u8"message \"zuhost\" \"代码文件名不能空！\" none -> ok")));
  DeleteFileA(record_.c_str());
  Host("milling_2d.json", "--command 5", "dialog 9001\ntext 9006 \"NC0001\"\nok\n");
  EXPECT_THAT(Lines(record_),
              Contains(U8(u8"message \"zuhost\" \"请先拾取轨迹才能进行后置代码。\" none -> ok")));
  EXPECT_EQ(Lines(record_).back(), "host command ended");
  EXPECT_TRUE(Lines(module_record_).empty());
}

TEST_F(TextRoadCommands, AToolLocationFileThatCannotBeCreatedStartsNothing) {
  // A folder stands where the file is to be written.
  CreateDirectoryA(kToolLocationFile, nullptr);
  const auto host = Host("milling_2d.json", "--command 5 --pick all");
  RemoveDirectoryA(kToolLocationFile);
  EXPECT_THAT(host.output, HasSubstr("entry point 5 returned 0"));
  const auto record = Lines(record_);
  ASSERT_GE(record.size(), 5u) << ::testing::PrintToString(record);
  EXPECT_THAT(record, Contains(HasSubstr(U8(u8"\"无法生成刀位文件，没有生成代码：\\nC:\\zu.pmf"))));
  EXPECT_THAT(std::vector<std::string>(record.end() - 4, record.end()),
              ElementsAre("host pick state 0", "host picking ended", "host pick cleared",
                          "host command ended"));
  EXPECT_TRUE(Lines(module_record_).empty());
}

TEST_F(TextRoadCommands, APathWithoutMovesStopsTheCommandBeforeTheFileIsOpened) {
  const auto host = Host("empty_path.json", "--command 5 --pick all");
  EXPECT_THAT(host.output, HasSubstr("entry point 5 returned 0"));
  EXPECT_THAT(Lines(record_), Contains(HasSubstr("host message 40216")));
  EXPECT_EQ(GetFileAttributesA(kToolLocationFile), INVALID_FILE_ATTRIBUTES);
}

TEST_F(TextRoadCommands, CancellingTheDialogEndsTheCommand) {
  const auto host = Host("milling_2d.json", "--command 5 --pick all", "dialog 9001\ncancel\n");
  EXPECT_THAT(host.output, HasSubstr("entry point 5 returned 0"));
  EXPECT_THAT(
      Lines(record_),
      ElementsAre(U8(u8"host prompt \"进行后置处理\""), U8(u8"dialog 9001 \"生成后置代码\""),
                  "cancel", "end 9001 cancel", "host prompt \"\"", "host command ended"));
}

// The folders the text road made under the temporary folder for its code
// files.
int TemporaryCodeFolders() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((std::string(temp) + "zu2006r3-*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return 0;
  int count = 0;
  do {
    count += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

TEST_F(TextRoadCommands, ARunThatEndsBeforePostingLeavesNoTemporaryFolder) {
  const int before = TemporaryCodeFolders();
  const std::string confirm = "dialog 9001\ntext 9006 \"NC0001\"\nok\n";
  Host("milling_2d.json", "--command 5", confirm);                           // nothing picked
  Host("milling_2d.json", "--command 5 --pick all --pick-cancel", confirm);  // picking cancelled
  EXPECT_EQ(TemporaryCodeFolders(), before);
  EXPECT_TRUE(Lines(module_record_).empty());
}

// A code file of an earlier run beside the one this run writes.
const std::string kEarlierCodeFile = std::string(kCodeFolder) + "\\NC0001_2.cut";

void WriteEarlierCodeFile() {
  std::ofstream(kEarlierCodeFile) << "O0002\n";
  HANDLE file = CreateFileA(kEarlierCodeFile.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  SYSTEMTIME earlier{2001, 1, 1, 1, 0, 0, 0, 0};
  FILETIME time;
  SystemTimeToFileTime(&earlier, &time);
  SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
}

TEST_F(TextRoadCommands, CodeFilesOlderThanTheRunAreNotHandedOver) {
  WriteEarlierCodeFile();
  const auto host = Host("milling_2d.json", std::string("--command 1 --pick all --preselect "
                                                        "--hook-wants-list --hook-temp ") +
                                                kCodeFolder);
  DeleteFileA(kEarlierCodeFile.c_str());
  const auto record = Lines(record_);
  EXPECT_THAT(record, Contains("host post hook took 1 code files"));
  EXPECT_THAT(record, Contains("host code file \"" + kCodeFile + "\""));
}

TEST_F(TextRoadCommands, APostProcessorThatFailsIsReportedAndHandsOverNoCodeFiles) {
  WriteEarlierCodeFile();
  // A folder where the code file is to be written: the post processor fails.
  CreateDirectoryA(kCodeFile.c_str(), nullptr);
  const auto host = Host("milling_2d.json", std::string("--command 1 --pick all --preselect "
                                                        "--hook-wants-list --hook-temp ") +
                                                kCodeFolder);
  RemoveDirectoryA(kCodeFile.c_str());
  DeleteFileA(kEarlierCodeFile.c_str());
  const auto record = Lines(record_);
  EXPECT_THAT(record, Contains(HasSubstr(U8(u8"\"后置处理程序运行失败（退出码 "))));
  EXPECT_THAT(record, Contains("host post hook took 0 code files"));
  EXPECT_THAT(record, Not(Contains(HasSubstr("dialog 9002"))));  // nothing to show
  EXPECT_THAT(record, Contains("host command ended"));
}

TEST_F(TextRoadCommands, ACodeFileNameWithABackslashTrailByteIsFoundWhole) {
  // 淺 is B2 5C in GBK: the name must not be split at its second byte.
  const auto host = Host("milling_2d.json",
                         std::string("--command 1 --pick all --preselect --hook-wants-list "
                                     "--hook-temp ") +
                             kCodeFolder,
                         U8(u8"dialog 9001\nlist-click 1607 \"FANUC-0i\"\ntext 9006 \"淺1\"\nok\n"
                            u8"dialog 9002\ncancel\n"));
  const std::string code_file = std::string(kCodeFolder) + U8(u8"\\淺1.cut");
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_UTF8, 0, code_file.c_str(), -1, wide, MAX_PATH);
  DeleteFileW(wide);
  const auto record = Lines(record_);
  EXPECT_THAT(record, Contains("host post hook took 1 code files"));
  EXPECT_THAT(record, Contains("host code file \"" + code_file + "\""));
}

}  // namespace
