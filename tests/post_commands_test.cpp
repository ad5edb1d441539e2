// Entry points 1 to 3 with the settings file, the registry's post module,
// the process file and the post module's programs, in the project's prefix
// (PostModule C:\ORVO\Post, PostPath C:\ORVO\NCSystems).
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
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

using zutest::BinFolder;
using zutest::RunProgram;

using zutest::GoldenBytes;
using zutest::Lines;
using zutest::PostModuleValue;
using zutest::ReadBytes;
using zutest::U8;

class PostCommands : public zutest::PluginCommandTest {
 protected:
  PostCommands() : PluginCommandTest("zu_post_") {}

  void SetUp() override {
    PluginCommandTest::SetUp();
    CreateDirectoryA((folder_ + "\\work").c_str(), nullptr);
    editor_script_ = folder_ + "\\editor.txt";
    std::ofstream(editor_script_) << "";
    SetEnvironmentVariableA("ZU_POSTUI_SCRIPT", editor_script_.c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableA("ZU_POSTUI_SCRIPT", nullptr);
    PluginCommandTest::TearDown();
  }

  // Runs zuhost; by default the post-code dialog is confirmed as it opens.
  zutest::ProgramRun Host(const std::string& arguments,
                          const std::string& script = "dialog 33\nok\n") {
    return HostOn("milling_2d.json", arguments, script);
  }

  // Runs zuhost on example `document`, the post-code dialog confirmed.
  zutest::ProgramRun HostOn(const std::string& document, const std::string& arguments,
                            const std::string& script = "dialog 33\nok\n") {
    return RunHost("run \"" + zutest::ExampleDocument(document) + "\" --work \"" + folder_ +
                       "\\work\" " + arguments,
                   script);
  }

  // The post module's programs run on their own: wait for the line that
  // ends what they record.
  std::vector<std::string> ModuleRecord(const std::string& last_line_start) {
    return ModuleRecord(std::vector<std::string>{last_line_start});
  }
  // The post module's record once a line starts with one of `starts` (the
  // post processor runs on after the host has ended).
  std::vector<std::string> ModuleRecord(const std::vector<std::string>& starts) {
    for (int i = 0; i < 200; ++i) {
      const auto lines = Lines(module_record_);
      for (const auto& line : lines) {
        for (const auto& start : starts) {
          if (line.rfind(start, 0) == 0)
            return lines;
        }
      }
      Sleep(50);
    }
    return Lines(module_record_);
  }

  std::string editor_script_;
};

TEST_F(PostCommands, PickedPathsGoToATemporaryToolLocationFileAndThePostProcessor) {
  const std::string code = folder_ + "\\part.cut";
  Settings("CurrentMcf=FANUC-0i\r\nUseCurrentGName=1\r\nCodePathName=" + code +
           "\r\nMaxArcRadius=500\r\n");
  const auto run = Host("--command 1 --pick all");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const std::string pmf = folder_ + "\\work\\temp\\zucl.pmf";
  const auto module = ModuleRecord("  mcfname");
  EXPECT_EQ(module.at(0),
            "ORVOPost command line: C:\\ORVO\\Post\\ORVOPost.exe   *orvopost*pmf=" + pmf)
      << ::testing::PrintToString(module);
  const std::string process = folder_ + "\\work\\temp\\zucl.pro";
  // The viewer was empty: the Windows folder's notepad.exe.
  EXPECT_EQ(ReadBytes(process),
            "[process]\r\n"
            "mcfname C:\\ORVO\\NCSystems\\FANUC-0i.mcf\r\n"
            "gcodename " +
                code +
                "\r\n"
                "exename C:\\windows\\notepad.exe\r\n"
                "[endprocess]\r\n"
                "[filetail]\r\n");
  const auto record = Lines(record_);
  const std::vector<std::string> tail(record.end() - 11, record.end());
  // The path's 18 moves: the prompt shows the first and the last.
  const std::vector<std::string> expected = {U8(u8"host prompt \"生成刀位文件...\""),
                                             "host optimiser max arc radius 500",
                                             "host optimiser min arc radius 0.01",
                                             "host optimiser min section line 1e-07",
                                             U8(u8"host prompt \"生成刀位文件 1/0\""),
                                             U8(u8"host prompt \"生成刀位文件 18/0\""),
                                             U8(u8"host prompt \"生成代码文件...\""),
                                             "host pick state 0",
                                             "host picking ended",
                                             "host pick cleared",
                                             "host command ended"};
  EXPECT_EQ(tail, expected) << ::testing::PrintToString(record);
}

TEST_F(PostCommands, LeavePmfPutsTheToolLocationFileBesideTheCodeFile) {
  const std::string code = folder_ + "\\NC0007.cut";
  Settings("CurrentMcf=HNC-818\r\nUseCurrentGName=1\r\nLeavePmf=1\r\nCodePathName=" + code +
           "\r\nExeFileName=C:\\nowhere\\viewer.exe\r\n");
  const auto run = Host("--command 1 --pick 0");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const auto module = ModuleRecord("  mcfname");
  EXPECT_THAT(module, Contains("process file: " + folder_ + "\\NC0007.pro"));
  // A viewer that names no file is replaced, as an empty one is.
  EXPECT_THAT(module, Contains("  exename C:\\windows\\notepad.exe"));
  EXPECT_THAT(module, Contains("  mcfname C:\\ORVO\\NCSystems\\HNC-818.mcf"));
}

TEST_F(PostCommands, AKeptToolLocationFileStaysInTheCodeFilesFolder) {
  // A '.' in a folder's name is not the code file's extension.
  const std::string folder = folder_ + "\\a.b";
  CreateDirectoryA(folder.c_str(), nullptr);
  Settings("CurrentMcf=HNC-818\r\nUseCurrentGName=1\r\nLeavePmf=1\r\nCodePathName=" + folder +
           "\\NC0001.cut\r\n");
  const auto run = Host("--command 1 --pick 0");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const auto module = ModuleRecord("  mcfname");
  EXPECT_EQ(module.at(0), "ORVOPost command line: C:\\ORVO\\Post\\ORVOPost.exe   *orvopost*pmf=" +
                              folder + "\\NC0001.pmf");
  EXPECT_THAT(module, Contains("process file: " + folder + "\\NC0001.pro"));
  EXPECT_EQ(GetFileAttributesA((folder_ + "\\a.pro").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PostCommands, APostProcessorThatCannotBeStartedIsReportedAndTheCommandEnds) {
  // The post module's folder exists but holds no post processor.
  const PostModuleValue module("PostModule", folder_);
  Settings("CurrentMcf=FANUC-0i\r\nUseCurrentGName=1\r\nCodePathName=" + folder_ +
           "\\part.cut\r\n");
  const auto run = Host("--command 1 --pick all");
  // The command ended on an error message: the host says so.
  EXPECT_EQ(run.exit_code, 6u) << run.output;
  const auto record = Lines(record_);
  const std::string command =
      folder_ + "\\ORVOPost.exe   *orvopost*pmf=" + folder_ + "\\work\\temp\\zucl.pmf";
  const std::string text = U8(u8"\"无法启动程序：\\n") + command + "\"";
  ASSERT_GE(record.size(), 6u) << ::testing::PrintToString(record);
  const std::vector<std::string> tail(record.end() - 6, record.end());
  EXPECT_THAT(tail, ElementsAre("message \"zuhost\" " + text + " stop -> ok",
                                "host message " + text + " stop", "host pick state 0",
                                "host picking ended", "host pick cleared", "host command ended"));
  EXPECT_THAT(run.output, HasSubstr("host: message " + text + " stop"));
}

TEST_F(PostCommands, ModeOnePostsTheChosenToolLocationFileAtOnce) {
  const std::string pmf = folder_ + "\\given.pmf";
  std::ofstream(pmf) << "tool locations";
  Settings("CurrentMcf=SIEMENS-840D\r\nUseCurrentGName=1\r\nPickPath=1\r\nPmfPathName=" + pmf +
           "\r\nCodePathName=" + folder_ +
           "\\O1000.cut\r\nExeFileName=C:\\windows\\notepad.exe\r\n");
  const auto run = Host("--command 1");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  EXPECT_THAT(run.output, HasSubstr("entry point 1 returned 0"));
  EXPECT_THAT(run.output, Not(HasSubstr("the person picks")));
  const auto record = Lines(record_);
  EXPECT_THAT(record, Contains(U8(u8"host prompt \"拾取了刀位文件 ") + pmf + "\""));
  EXPECT_THAT(record, Not(Contains("host pick state 235")));
  EXPECT_EQ(record.back(), "host command ended");
  const auto module = ModuleRecord("  mcfname");
  EXPECT_EQ(module.at(0),
            "ORVOPost command line: C:\\ORVO\\Post\\ORVOPost.exe   *orvopost*pmf=" + pmf);
  EXPECT_THAT(module, Contains("tool-location file: " + pmf));
  EXPECT_THAT(module, Contains("  gcodename " + folder_ + "\\O1000.cut"));
}

TEST_F(PostCommands, AProcessFileThatCannotBeCreatedStopsTheRunAndSaysSo) {
  // A folder stands where the process file would be written.
  const std::string process = folder_ + "\\NC0001.pro";
  CreateDirectoryA(process.c_str(), nullptr);
  Settings("LeavePmf=1\r\nUseCurrentGName=1\r\nCodePathName=" + folder_ + "\\NC0001.cut\r\n");
  const auto run = Host("--command 1 --pick all");
  EXPECT_THAT(run.output, HasSubstr("Failed to Create file: " + process + "."));
  const auto record = Lines(record_);
  ASSERT_FALSE(record.empty());
  const std::string text = U8(u8"\"无法创建工艺文件，没有生成代码：\\n") + process + "\"";
  ASSERT_GE(record.size(), 2u);
  EXPECT_EQ(record[record.size() - 2], "message \"zuhost\" " + text + " stop -> ok")
      << ::testing::PrintToString(record);
  EXPECT_EQ(record.back(), "host message " + text + " stop");
  EXPECT_EQ(run.exit_code, 6u) << run.output;
  EXPECT_THAT(record, Not(Contains("host command ended")));
  EXPECT_TRUE(Lines(module_record_).empty());
}

TEST_F(PostCommands, EveryExampleIsWrittenAsItsGoldenPostPathFileAndPostedForEveryMachine) {
  struct GoldenRun {
    const char* document;
    const char* golden;
    const char* settings;
  } const runs[] = {
      {"drilling.json", "main_drilling.pmf", ""},
      {"milling_2d.json", "main_milling_2d.pmf", ""},
      {"dwell.json", "main_dwell.pmf", ""},
      {"compensation.json", "main_compensation.pmf", ""},
      {"macro.json", "main_macro.pmf", ""},
      {"milling_3d.json", "main_milling_3d.pmf", ""},
      {"tilted.json", "main_tilted.pmf", ""},
      {"tilted.json", "main_tilted_plane.pmf", "UseJigCoord=1\r\nFixMillMode=1\r\n"},
      {"milling_3d.json", "main_milling_3d_orientation.pmf", "UseJigCoord=1\r\nFixMillMode=0\r\n"},
      {"five_axis.json", "main_five_axis.pmf", ""},
  };
  const std::string code = folder_ + "\\NC0001.cut";
  const std::string pmf = folder_ + "\\NC0001.pmf";
  for (const char* system : {"FANUC-0i", "HNC-818", "SIEMENS-840D", "LinuxCNC", "FANUC-0i-AC-table",
                             "SIEMENS-840D-BC-head-table", "LinuxCNC-xyzac-trt"}) {
    for (const auto& run : runs) {
      SCOPED_TRACE(std::string(run.golden) + " for " + system);
      Settings(std::string("CurrentMcf=") + system +
               "\r\nLeavePmf=1\r\nUseCurrentGName=1\r\nJigToolUpHeight=500\r\nCodePathName=" +
               code + "\r\n" + run.settings);
      DeleteFileA(module_record_.c_str());
      DeleteFileA(code.c_str());
      const auto host = HostOn(run.document, "--command 1 --pick all");
      EXPECT_EQ(host.exit_code, 0u) << host.output;
      const std::string golden = GoldenBytes(run.golden);
      ASSERT_FALSE(golden.empty());
      EXPECT_TRUE(ReadBytes(pmf) == golden) << pmf << " differs from the golden";
      const auto module =
          ModuleRecord(std::vector<std::string>{"viewer not started", "ORVOPost error"});
      const std::string stem(run.golden, std::strlen(run.golden) - 4);
      const std::string program = GoldenBytes("gcode/" + stem + "." + system + ".nc");
      ASSERT_FALSE(program.empty());
      if (program.rfind("refused: ", 0) == 0) {
        EXPECT_THAT(module, Contains("ORVOPost error: " + pmf + ": " +
                                     program.substr(9, program.size() - 11) + "; no code written"));
        EXPECT_TRUE(ReadBytes(code).empty());
        continue;
      }
      EXPECT_TRUE(ReadBytes(code) == program) << code << " differs from the golden";
      EXPECT_THAT(module, Contains(::testing::StartsWith("verified: PASS")));
      // The viewer the process file names, with the code file, not started.
      EXPECT_THAT(module, Contains(::testing::StartsWith("viewer not started: \"")));
    }
  }
}

TEST_F(PostCommands, APostPathFileThatCannotBeCreatedStartsNothing) {
  // A folder stands where the tool-location file is to be written.
  const std::string pmf = folder_ + "\\NC0001.pmf";
  CreateDirectoryA(pmf.c_str(), nullptr);
  Settings("CurrentMcf=FANUC-0i\r\nLeavePmf=1\r\nUseCurrentGName=1\r\nCodePathName=" + folder_ +
           "\\NC0001.cut\r\n");
  const auto run = Host("--command 1 --pick all");
  EXPECT_EQ(run.exit_code, 6u) << run.output;
  const auto record = Lines(record_);
  ASSERT_GE(record.size(), 5u) << ::testing::PrintToString(record);
  EXPECT_THAT(record, Contains(HasSubstr(U8(u8"\"无法生成刀位文件，没有生成代码：\\n") + pmf)));
  EXPECT_THAT(std::vector<std::string>(record.end() - 4, record.end()),
              ElementsAre("host pick state 0", "host picking ended", "host pick cleared",
                          "host command ended"));
  EXPECT_EQ(GetFileAttributesA((folder_ + "\\NC0001.pro").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(Lines(module_record_).empty());
}

TEST_F(PostCommands, CancellingThePostCodeDialogEndsTheCommand) {
  Settings("FileNameID=4\r\n");
  const auto run = Host("--command 1 --pick all", "dialog 33\ncancel\n");
  EXPECT_THAT(run.output, HasSubstr("entry point 1 returned 0"));
  const auto record = Lines(record_);
  const std::vector<std::string> expected = {U8(u8"host prompt \"进行后置处理\""),
                                             U8(u8"dialog 33 \"生成后置代码\""),
                                             "cancel",
                                             "end 33 cancel",
                                             "host prompt \"\"",
                                             "host command ended"};
  EXPECT_EQ(record, expected) << ::testing::PrintToString(record);
  EXPECT_THAT(Lines(settings_), Contains("FileNameID=4\r"));  // not saved
}

TEST_F(PostCommands, AnEmptyPickSaysThatNothingWasPicked) {
  const auto run = Host("--command 1");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const auto record = Lines(record_);
  EXPECT_THAT(record,
              Contains(U8(u8"message \"zuhost\" \"请先拾取轨迹才能进行后置代码。\" none -> ok")));
  EXPECT_THAT(record, Not(Contains(HasSubstr(U8(u8"无法生成刀位文件")))));
  EXPECT_EQ(record.back(), "host command ended");
  EXPECT_TRUE(Lines(module_record_).empty());
}

TEST_F(PostCommands, ConfirmingThePostCodeDialogAdvancesTheSerial) {
  Settings("FileNameID=4\r\nCodePathName=" + folder_ + "\\old.cut\r\n");
  const auto run = Host("--command 1 --pick all");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const auto settings = Lines(settings_);
  EXPECT_THAT(settings, Contains("FileNameID=5\r"));
  EXPECT_THAT(settings, Contains("CodePathName=" + folder_ + "\\NC0005.cut\r"));
  // The first configuration the folder lists: FANUC-0i-AC-table.mcf comes
  // before FANUC-0i.mcf ('-' before '.').
  EXPECT_THAT(settings, Contains("CurrentMcf=FANUC-0i-AC-table\r"));
  const auto module = ModuleRecord("  mcfname");
  EXPECT_THAT(module, Contains("  gcodename " + folder_ + "\\NC0005.cut"));
}

TEST_F(PostCommands, CallStateTwoReadsTheSettingsAndAnswersOne) {
  const auto run =
      RunProgram("\"" + BinFolder() + "\\zuhost.exe\" entry-points --call 1 --state 2");
  EXPECT_THAT(run.output, HasSubstr("entry point 1 returned 1"));
  EXPECT_THAT(run.output, Not(HasSubstr("host: prompt")));
}

TEST_F(PostCommands, PostSettingsAreSavedOnOkAfterARefusedNumber) {
  Settings("CurrentMcf=FANUC-0i\r\nOptimizeTol=0.5\r\n");
  const auto run = Host("--command 2",
                        "dialog 12911\n"
                        "text 9018 \"abc\"\n"
                        "ok\n"
                        "text 9018 \"0.02\"\n"
                        "text 9020 \"-5\"\n"
                        "click 9017\n"
                        "ok\n");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const auto record = Lines(record_);
  EXPECT_THAT(record, Contains(U8(u8"dialog 12911 \"后置设置\"")));
  EXPECT_THAT(record, Contains(U8(u8"message \"zuhost\" \"请输入一个数字。\" exclamation -> ok")));
  EXPECT_THAT(record, Contains("end 12911 ok"));
  EXPECT_EQ(record.back(), "host command ended");
  const auto settings = Lines(settings_);
  EXPECT_THAT(settings, Contains("OptimizeTol=0.02\r"));
  EXPECT_THAT(settings, Contains("OptimizePath=1\r"));
  EXPECT_THAT(settings, Contains("MaxArcRadius=-5\r"));
  EXPECT_THAT(settings, Contains("ExeFileName=C:\\windows\\notepad.exe\r"));
  EXPECT_THAT(settings, Contains("CurrentMcf=FANUC-0i\r"));
}

TEST_F(PostCommands, PostSettingsCancelledStillRewriteTheFile) {
  Settings("OptimizeTol=0.5\r\n");
  const auto run = Host("--command 2", "text 9018 \"0.7\"\ncancel\n");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const auto settings = Lines(settings_);
  EXPECT_THAT(settings, Contains("OptimizeTol=0.5\r"));
  EXPECT_THAT(settings, Contains("FileNameSuffix=NC####\r"));
  EXPECT_EQ(settings.size(), 21u) << ::testing::PrintToString(settings);
}

TEST_F(PostCommands, TheEditorStartsWithItsExactCommandLine) {
  const auto run = Host("--command 3");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const auto module = ModuleRecord("configurations:");
  EXPECT_EQ(module.at(0),
            "OrvoPostUI command line: C:\\ORVO\\Post\\OrvoPostUI.exe *mcf*C:\\ORVO\\NCSystems")
      << ::testing::PrintToString(module);
  EXPECT_THAT(module, Contains("configurations: FANUC-0i-AC-table.mcf FANUC-0i.mcf HNC-818.mcf "
                               "LinuxCNC-xyzac-trt.mcf LinuxCNC.mcf SIEMENS-840D-BC-head-table.mcf "
                               "SIEMENS-840D.mcf"));
  const auto record = Lines(record_);
  const std::vector<std::string> expected = {U8(u8"host prompt \"设置机床配置文件\""),
                                             "host command ended"};
  EXPECT_EQ(record, expected) << ::testing::PrintToString(record);
}

// The editor saves a configuration only when the post processor would load
// it; otherwise it shows the reader's message and the file keeps its text.
TEST_F(PostCommands, TheEditorSavesOnlyAConfigurationThatLoads) {
  const std::string folder = folder_ + "\\mcf";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string file = folder + "\\M.mcf";
  std::ofstream(file, std::ios::binary) << "[identity]\r\nname = \"M\"\r\n";
  // The edit box takes one line: inline tables make a configuration of it.
  std::ofstream(editor_script_) << "dialog 100\n"
                                   "list-click 1001 \"M.mcf\"\n"
                                   "click 1003\n"
                                   "text 1002 \"arcs = { max_sweep_degrees = 400 }\"\n"
                                   "click 1004\n"
                                   "answer ok\n"
                                   "text 1002 \"identity = { name = \"\"M2\"\" }\"\n"
                                   "click 1004\n"
                                   "cancel\n";
  const std::string record = folder_ + "\\editor.record";
  SetEnvironmentVariableA("ZU_POSTUI_RECORD", record.c_str());
  const auto run = RunProgram("\"" + BinFolder() + "\\OrvoPostUI.exe\" *mcf*" + folder);
  SetEnvironmentVariableA("ZU_POSTUI_RECORD", nullptr);
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const std::string refusal =
      file + " line 1: [arcs] max_sweep_degrees: 400 is out of range 1..360";
  const auto shown = Lines(record);
  EXPECT_THAT(shown, Contains("message \"OrvoPostUI\" \"" + refusal + "\" stop -> ok"))
      << ::testing::PrintToString(shown);
  const auto module = ModuleRecord("saved ");
  EXPECT_THAT(module, Contains("not saved: " + refusal)) << ::testing::PrintToString(module);
  EXPECT_THAT(module, Contains("saved " + file));
  EXPECT_EQ(ReadBytes(file), "identity = { name = \"M2\" }");
}

// A post-path file (docs/post-path-file.md) of one drilling bracket.
constexpr const char* kPostPathFile =
    "PARTNO P1\r\n"
    "PPRINT/ZU VERSION=\r\n"
    "PPRINT/ZU INFO=\r\n"
    "PPRINT/ZU PROCESS=P1\r\n"
    "PPRINT/ZU COMMENT=\r\n"
    "PPRINT/ZU JIGRETRACT 0,0\r\n"
    "UNITS/MM\r\n"
    "PPRINT/ZU PATH DRILL,1\r\n"
    "PPRINT/ZU NAME=holes\r\n"
    "PPRINT/ZU HOME 0,0,100\r\n"
    "PPRINT/ZU ORIGIN 0,0,0\r\n"
    "PPRINT/ZU XAXIS 10,0,0\r\n"
    "PPRINT/ZU YAXIS 0,10,0\r\n"
    "PPRINT/ZU ZAXIS 0,0,1\r\n"
    "PPRINT/ZU STOCK -50,-50,-20,50,50,0\r\n"
    "PPRINT/ZU TOOLNAME=DR8\r\n"
    "PPRINT/ZU TOOLNAME2=DR8\r\n"
    "PPRINT/ZU TOOL 0,0,8,0,0,0,60,118,0\r\n"
    "PPRINT/ZU DRILL 0,2,0,0,0\r\n"
    "LOADTL/3\r\n"
    "CUTTER/8,0\r\n"
    "SPINDL/3000,CLW\r\n"
    "CYCLE/DRILL,-12.5,MMPM,150,5\r\n"
    "GOTO/10,10,0\r\n"
    "GOTO/-10,10,0\r\n"
    "CYCLE/OFF\r\n"
    "END\r\n"
    "FINI\r\n";

// The post processor alone, on a hand-written post-path file: the program
// and its check report, or, for each kind of bad input, its exit code and
// message and no code file (an earlier one left as it was).
TEST_F(PostCommands, ThePostProcessorWritesACheckedProgramWholeOrNotAtAll) {
  const std::string pmf = folder_ + "\\part.pmf";
  const std::string bad_mcf = folder_ + "\\bad.mcf";
  std::ofstream(bad_mcf, std::ios::binary)
      << "[identity]\r\nname = \"bad\"\r\n[arcs]\r\nmax_sweep_degrees = 400\r\n";
  const std::string read_only = folder_ + "\\kept.cut";
  std::ofstream(read_only, std::ios::binary) << "an earlier program";
  SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_READONLY);
  const struct Case {
    const char* what;
    std::string pmf_text;
    std::string machine;
    std::string code;
    DWORD exit_code;
    std::string record_start;  // of the module record's last line
  } cases[] = {
      {"a drilling bracket", kPostPathFile, "C:\\ORVO\\NCSystems\\FANUC-0i.mcf",
       folder_ + "\\part.cut", 0,
       "viewer not started: \"C:\\windows\\notepad.exe\" \"" + folder_ + "\\part.cut\""},
      {"a truncated file", std::string(kPostPathFile).substr(0, 200),
       "C:\\ORVO\\NCSystems\\FANUC-0i.mcf", folder_ + "\\part.cut", 5,
       "ORVOPost error: " + pmf + " cannot be read: line 11: the file ends inside this line"},
      {"a machine configuration out of range", kPostPathFile, bad_mcf, folder_ + "\\part.cut", 7,
       "ORVOPost error: " + bad_mcf +
           " line 4: [arcs] max_sweep_degrees: 400 is out of range 1..360; no code written"},
      {"a missing machine configuration", kPostPathFile, folder_ + "\\none.mcf",
       folder_ + "\\part.cut", 7, "ORVOPost error: " + folder_ + "\\none.mcf: cannot be read"},
      {"a code file in a folder that does not exist", kPostPathFile,
       "C:\\ORVO\\NCSystems\\FANUC-0i.mcf", folder_ + "\\no\\part.cut", 6,
       "ORVOPost error: the code file " + folder_ + "\\no\\part.cut cannot be written: "},
      {"a read-only code file", kPostPathFile, "C:\\ORVO\\NCSystems\\FANUC-0i.mcf", read_only, 6,
       "ORVOPost error: the code file " + read_only + " cannot be written: it is read-only"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::ofstream(folder_ + "\\part.pro", std::ios::binary)
        << "[process]\r\nmcfname " << c.machine << "\r\ngcodename " << c.code
        << "\r\nexename C:\\windows\\notepad.exe\r\n[endprocess]\r\n[filetail]\r\n";
    std::ofstream(pmf, std::ios::binary) << c.pmf_text;
    DeleteFileA(module_record_.c_str());
    if (c.code != read_only)
      DeleteFileA(c.code.c_str());
    const auto run = RunProgram("C:\\ORVO\\Post\\ORVOPost.exe   *orvopost*pmf=" + pmf);
    EXPECT_EQ(run.exit_code, c.exit_code) << run.output;
    const auto module = Lines(module_record_);
    ASSERT_FALSE(module.empty());
    EXPECT_EQ(module.back().substr(0, c.record_start.size()), c.record_start)
        << ::testing::PrintToString(module);
    // No half program, and no copy left beside the code file.
    EXPECT_TRUE(ReadBytes(c.code + ".part").empty());
    if (c.exit_code == 0) {
      const std::string program = ReadBytes(c.code);
      EXPECT_EQ(program.substr(0, 10), "%\r\nO0001\r\n");
      EXPECT_THAT(program, HasSubstr("G98 G81 X10. Y10. Z-12.5"));
      EXPECT_THAT(program, HasSubstr("X-10. Y10.\r\n"));
      EXPECT_THAT(ReadBytes(folder_ + "\\part.check.txt"), HasSubstr("PASS"));
      EXPECT_THAT(ReadBytes(folder_ + "\\part.check.svg"), HasSubstr(">PASS: largest deviation "));
    } else if (c.code == read_only) {
      EXPECT_EQ(ReadBytes(c.code), "an earlier program");
    } else {
      EXPECT_TRUE(ReadBytes(c.code).empty());
    }
  }
  SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_NORMAL);
  // A post-path file that is not there.
  DeleteFileA(pmf.c_str());
  const auto run = RunProgram("C:\\ORVO\\Post\\ORVOPost.exe   *orvopost*pmf=" + pmf);
  EXPECT_EQ(run.exit_code, 3u) << run.output;
}

}  // namespace
