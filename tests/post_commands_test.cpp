// Entry points 1 to 3 with the settings file, the registry's post module,
// the process file and the post module's programs, in the project's prefix
// (PostModule C:\ORVO\Post, PostPath C:\ORVO\NCSystems).
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/run_program.h"
#include "tests/test_text.h"

namespace {

using zutest::BinFolder;
using zutest::RunProgram;

using zutest::Contains;
using zutest::Joined;
using zutest::Lines;
using zutest::ReadBytes;
using zutest::U8;

class PostCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "zu_post_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RunProgram("cmd /c rmdir /s /q \"" + folder_ + "\"");
    CreateDirectoryA(folder_.c_str(), nullptr);
    CreateDirectoryA((folder_ + "\\work").c_str(), nullptr);
    script_ = folder_ + "\\script.txt";
    record_ = folder_ + "\\record.txt";
    module_record_ = folder_ + "\\postmodule.txt";
    editor_script_ = folder_ + "\\editor.txt";
    std::ofstream(editor_script_) << "";
    SetEnvironmentVariableA("ZU_POSTMODULE_RECORD", module_record_.c_str());
    SetEnvironmentVariableA("ZU_POSTUI_SCRIPT", editor_script_.c_str());
    // The plug-in's settings file: para beside the host's folder, made when
    // the plug-in is first loaded (perhaps not yet in a fresh build).
    const std::string para = BinFolder().substr(0, BinFolder().find_last_of('\\')) + "\\para";
    CreateDirectoryA(para.c_str(), nullptr);
    settings_ = para + "\\ZuPost.ini";
    DeleteFileA(settings_.c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableA("ZU_POSTMODULE_RECORD", nullptr);
    SetEnvironmentVariableA("ZU_POSTUI_SCRIPT", nullptr);
    DeleteFileA(settings_.c_str());
  }

  void Settings(const std::string& keys) {
    std::ofstream(settings_, std::ios::binary) << "[MCFINFO]\r\n" << keys;
  }

  // Runs zuhost; by default the post-code dialog is confirmed as it opens.
  zutest::ProgramRun Host(const std::string& arguments,
                          const std::string& script = "dialog 33\nok\n") {
    std::ofstream(script_, std::ios::binary) << script;
    return RunProgram("\"" + BinFolder() + "\\zuhost.exe\" run \"" + std::string(ZU_SOURCE_DIR) +
                      "/examples/milling_2d.json\" --work \"" + folder_ + "\\work\" " + arguments +
                      " --automation \"" + script_ + "\" --record \"" + record_ + "\"");
  }

  // The post module's programs run on their own: wait for the line that
  // ends what they record.
  std::vector<std::string> ModuleRecord(const std::string& last_line_start) {
    for (int i = 0; i < 200; ++i) {
      const auto lines = Lines(module_record_);
      for (const auto& line : lines) {
        if (line.rfind(last_line_start, 0) == 0)
          return lines;
      }
      Sleep(50);
    }
    return Lines(module_record_);
  }

  std::string folder_, script_, record_, module_record_, editor_script_, settings_;
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
      << Joined(module);
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
  const std::vector<std::string> tail(record.end() - 9, record.end());
  const std::vector<std::string> expected = {U8(u8"host prompt \"生成刀位文件...\""),
                                             "host optimiser max arc radius 500",
                                             "host optimiser min arc radius 0.01",
                                             "host optimiser min section line 1e-07",
                                             U8(u8"host prompt \"生成代码文件...\""),
                                             "host pick state 0",
                                             "host picking ended",
                                             "host pick cleared",
                                             "host command ended"};
  EXPECT_EQ(tail, expected) << Joined(record);
}

TEST_F(PostCommands, LeavePmfPutsTheToolLocationFileBesideTheCodeFile) {
  const std::string code = folder_ + "\\NC0007.cut";
  Settings("CurrentMcf=HNC-818\r\nUseCurrentGName=1\r\nLeavePmf=1\r\nCodePathName=" + code +
           "\r\nExeFileName=C:\\nowhere\\viewer.exe\r\n");
  const auto run = Host("--command 1 --pick 0");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const auto module = ModuleRecord("  mcfname");
  EXPECT_TRUE(Contains(module, "process file: " + folder_ + "\\NC0007.pro")) << Joined(module);
  // A viewer that names no file is replaced, as an empty one is.
  EXPECT_TRUE(Contains(module, "  exename C:\\windows\\notepad.exe")) << Joined(module);
  EXPECT_TRUE(Contains(module, "  mcfname C:\\ORVO\\NCSystems\\HNC-818.mcf")) << Joined(module);
}

TEST_F(PostCommands, ModeOnePostsTheChosenToolLocationFileAtOnce) {
  const std::string pmf = folder_ + "\\given.pmf";
  std::ofstream(pmf) << "tool locations";
  Settings("CurrentMcf=SIEMENS-840D\r\nUseCurrentGName=1\r\nPickPath=1\r\nPmfPathName=" + pmf +
           "\r\nCodePathName=" + folder_ +
           "\\O1000.cut\r\nExeFileName=C:\\windows\\notepad.exe\r\n");
  const auto run = Host("--command 1");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  EXPECT_NE(run.output.find("entry point 1 returned 0"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("the person picks"), std::string::npos) << run.output;
  const auto record = Lines(record_);
  EXPECT_TRUE(Contains(record, U8(u8"host prompt \"拾取了刀位文件 ") + pmf + "\""))
      << Joined(record);
  EXPECT_FALSE(Contains(record, "host pick state 235")) << Joined(record);
  EXPECT_EQ(record.back(), "host command ended");
  const auto module = ModuleRecord("  mcfname");
  EXPECT_EQ(module.at(0),
            "ORVOPost command line: C:\\ORVO\\Post\\ORVOPost.exe   *orvopost*pmf=" + pmf);
  EXPECT_TRUE(Contains(module, "tool-location file: " + pmf)) << Joined(module);
  EXPECT_TRUE(Contains(module, "  gcodename " + folder_ + "\\O1000.cut")) << Joined(module);
}

TEST_F(PostCommands, AProcessFileThatCannotBeCreatedStopsTheRunAndSaysSo) {
  // A folder stands where the process file would be written.
  const std::string process = folder_ + "\\NC0001.pro";
  CreateDirectoryA(process.c_str(), nullptr);
  Settings("LeavePmf=1\r\nUseCurrentGName=1\r\nCodePathName=" + folder_ + "\\NC0001.cut\r\n");
  const auto run = Host("--command 1 --pick all");
  EXPECT_NE(run.output.find("Failed to Create file: " + process + "."), std::string::npos)
      << run.output;
  const auto record = Lines(record_);
  ASSERT_FALSE(record.empty());
  EXPECT_EQ(record.back(), U8(u8"message \"zuhost\" \"无法创建工艺文件，没有生成代码：\\n") +
                               process + "\" stop -> ok")
      << Joined(record);
  EXPECT_FALSE(Contains(record, "host command ended")) << Joined(record);
  EXPECT_TRUE(Lines(module_record_).empty());
}

TEST_F(PostCommands, CancellingThePostCodeDialogEndsTheCommand) {
  Settings("FileNameID=4\r\n");
  const auto run = Host("--command 1 --pick all", "dialog 33\ncancel\n");
  EXPECT_NE(run.output.find("entry point 1 returned 0"), std::string::npos) << run.output;
  const auto record = Lines(record_);
  const std::vector<std::string> expected = {U8(u8"host prompt \"进行后置处理\""),
                                             U8(u8"dialog 33 \"生成后置代码\""),
                                             "cancel",
                                             "end 33 cancel",
                                             "host prompt \"\"",
                                             "host command ended"};
  EXPECT_EQ(record, expected) << Joined(record);
  EXPECT_TRUE(Contains(Lines(settings_), "FileNameID=4\r"));  // not saved
}

TEST_F(PostCommands, ConfirmingThePostCodeDialogAdvancesTheSerial) {
  Settings("FileNameID=4\r\nCodePathName=" + folder_ + "\\old.cut\r\n");
  const auto run = Host("--command 1 --pick all");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const auto settings = Lines(settings_);
  EXPECT_TRUE(Contains(settings, "FileNameID=5\r")) << Joined(settings);
  EXPECT_TRUE(Contains(settings, "CodePathName=" + folder_ + "\\NC0005.cut\r")) << Joined(settings);
  EXPECT_TRUE(Contains(settings, "CurrentMcf=FANUC-0i\r")) << Joined(settings);
  const auto module = ModuleRecord("  mcfname");
  EXPECT_TRUE(Contains(module, "  gcodename " + folder_ + "\\NC0005.cut")) << Joined(module);
}

TEST_F(PostCommands, CallStateTwoReadsTheSettingsAndAnswersOne) {
  const auto run =
      RunProgram("\"" + BinFolder() + "\\zuhost.exe\" entry-points --call 1 --state 2");
  EXPECT_NE(run.output.find("entry point 1 returned 1"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("host: prompt"), std::string::npos) << run.output;
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
  EXPECT_TRUE(Contains(record, U8(u8"dialog 12911 \"后置设置\""))) << Joined(record);
  EXPECT_TRUE(Contains(record, U8(u8"message \"zuhost\" \"请输入一个数字。\" exclamation -> ok")))
      << Joined(record);
  EXPECT_TRUE(Contains(record, "end 12911 ok")) << Joined(record);
  EXPECT_EQ(record.back(), "host command ended");
  const auto settings = Lines(settings_);
  EXPECT_TRUE(Contains(settings, "OptimizeTol=0.02\r")) << Joined(settings);
  EXPECT_TRUE(Contains(settings, "OptimizePath=1\r")) << Joined(settings);
  EXPECT_TRUE(Contains(settings, "MaxArcRadius=-5\r")) << Joined(settings);
  EXPECT_TRUE(Contains(settings, "ExeFileName=C:\\windows\\notepad.exe\r")) << Joined(settings);
  EXPECT_TRUE(Contains(settings, "CurrentMcf=FANUC-0i\r")) << Joined(settings);
}

TEST_F(PostCommands, PostSettingsCancelledStillRewriteTheFile) {
  Settings("OptimizeTol=0.5\r\n");
  const auto run = Host("--command 2", "text 9018 \"0.7\"\ncancel\n");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const auto settings = Lines(settings_);
  EXPECT_TRUE(Contains(settings, "OptimizeTol=0.5\r")) << Joined(settings);
  EXPECT_TRUE(Contains(settings, "FileNameSuffix=NC####\r")) << Joined(settings);
  EXPECT_EQ(settings.size(), 21u) << Joined(settings);
}

TEST_F(PostCommands, TheEditorStartsWithItsExactCommandLine) {
  const auto run = Host("--command 3");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const auto module = ModuleRecord("configurations:");
  EXPECT_EQ(module.at(0),
            "OrvoPostUI command line: C:\\ORVO\\Post\\OrvoPostUI.exe *mcf*C:\\ORVO\\NCSystems")
      << Joined(module);
  EXPECT_TRUE(Contains(module, "configurations: FANUC-0i.mcf HNC-818.mcf SIEMENS-840D.mcf"))
      << Joined(module);
  const auto record = Lines(record_);
  const std::vector<std::string> expected = {U8(u8"host prompt \"设置机床配置文件\""),
                                             "host command ended"};
  EXPECT_EQ(record, expected) << Joined(record);
}

}  // namespace
