// The settings and orientation-options dialogs under automation, as the
// plug-in shows them, and a program that cannot be started.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "framework/automation.h"
#include "framework/testing/automated_test.h"
#include "environment/post_module.h"
#include "environment/post_settings.h"
#include "ui/orient_option_dlg.h"
#include "ui/post_code_dlg.h"
#include "ui/post_set_dlg.h"
#include "ui/resource_ids.h"

namespace zu {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

std::string U8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

class DialogsTest : public AutomatedTest {
 protected:
  void SetUp() override {
    AutomatedTest::SetUp();
    saved_ = PostSettings;
  }
  void TearDown() override {
    AutomatedTest::TearDown();
    PostSettings = saved_;
  }
  PostSettingsRecord saved_;
};

TEST_F(DialogsTest, OrientationOptionsGoStraightIntoTheSettings) {
  PostSettings.UseJigCoord = 0;
  PostSettings.JigToolAxis = 2;
  PostSettings.JigToolUpHeight = 500;
  PostSettings.JigTolerance = 0.005;
  PostSettings.FixMillMode = 0;
  Script(
      "dialog 9005\n"
      "click 9029\n"
      "click 9030\n"
      "text 9033 \"300\"\n"
      "text 9035 \"abc\"\n"
      "ok\n"
      "text 9035 \"0.01\"\n"
      "click 9037\n"
      "ok\n");
  // Values refused on the way leave the earlier ones stored: watch them
  // through a second, cancelled run below.
  COrientOptionDlg dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK) << ::testing::PrintToString(Record());
  EXPECT_EQ(PostSettings.UseJigCoord, 1);
  EXPECT_EQ(PostSettings.JigToolAxis, 0);
  EXPECT_EQ(PostSettings.JigToolUpHeight, 300);
  EXPECT_EQ(PostSettings.JigTolerance, 0.01);
  EXPECT_EQ(PostSettings.FixMillMode, 1);
  const auto record = Record();
  EXPECT_EQ(record.front(), U8(u8"dialog 9005 \"定向铣选项\""));
  EXPECT_THAT(record, Contains(HasSubstr(U8(u8"\"请输入一个数字。\" exclamation -> ok"))));
}

TEST_F(DialogsTest, ARefusedOrientationValueKeepsTheEarlierOnes) {
  PostSettings.JigToolAxis = 2;
  PostSettings.JigToolUpHeight = 500;
  Script("click 9031\ntext 9033 \"250\"\ntext 9035 \"x\"\nok\ncancel\n");
  COrientOptionDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(PostSettings.JigToolAxis, 1);
  EXPECT_EQ(PostSettings.JigToolUpHeight, 250);
}

TEST_F(DialogsTest, APathToleranceNotAboveZeroOrTooFineIsRefused) {
  PostSettings.JigTolerance = 0.005;
  PostSettings.FixMillMode = 0;
  Script(
      "text 9035 \"0\"\nclick 9037\nok\n"
      "text 9035 \"-0.01\"\nok\n"
      "text 9035 \"0.000099\"\nok\n"
      "text 9035 \"0.0001\"\nok\n");
  COrientOptionDlg dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK) << ::testing::PrintToString(Record());
  int not_above_zero = 0;
  int too_fine = 0;
  for (const auto& line : Record()) {
    not_above_zero +=
        line == U8(u8"message \"ui_test\" \"轨迹转换精度必须大于0！\" exclamation -> ok");
    too_fine +=
        line == U8(u8"message \"ui_test\" \"轨迹转换精度不能小于0.0001！\" exclamation -> ok");
  }
  EXPECT_EQ(not_above_zero, 2) << ::testing::PrintToString(Record());
  EXPECT_EQ(too_fine, 1) << ::testing::PrintToString(Record());
  EXPECT_EQ(PostSettings.JigTolerance, 0.0001);
  EXPECT_EQ(PostSettings.FixMillMode, 1);
}

TEST_F(DialogsTest, CancelLeavesTheOrientationSettings) {
  PostSettings.JigToolAxis = 2;
  Script("click 9030\ncancel\n");
  COrientOptionDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(PostSettings.JigToolAxis, 2);
}

TEST_F(DialogsTest, PostSettingsBrowseForTheViewer) {
  Script("dialog 12911\nclick 1612\nfile \"C:\\windows\\regedit.exe\"\nok\n");
  CPostSetDlg dialog;
  dialog.viewer = "";
  dialog.optimize_tol = 0.005;
  ASSERT_EQ(dialog.DoModal(), IDOK) << ::testing::PrintToString(Record());
  EXPECT_STRCASEEQ(dialog.viewer.c_str(), "C:\\windows\\regedit.exe");
  EXPECT_EQ(dialog.optimize_tol, 0.005);
}

TEST_F(DialogsTest, AnEmptyViewerOpensAsNotepad) {
  Script("ok\n");
  CPostSetDlg dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_STRCASEEQ(dialog.viewer.c_str(), "C:\\windows\\notepad.exe");
}

TEST_F(DialogsTest, AProgramThatCannotBeStartedIsReported) {
  Script("");
  const std::string command = "C:\\nowhere\\ORVOPost.exe   *orvopost*pmf=C:\\x.pmf";
  EXPECT_FALSE(StartProgram(command, ProgramStart{SW_SHOWNORMAL}));
  const auto record = Record();
  ASSERT_EQ(record.size(), 1u) << ::testing::PrintToString(record);
  EXPECT_EQ(record[0], U8(u8"message \"ui_test\" \"无法启动程序：\\n") + command + "\" stop -> ok");
}

class PostCodeDialogTest : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    temp_ = folder_->path().string();  // no trailing backslash
    PostSettings = PostSettingsRecord();
    PostSettings.McfFolder = "C:\\ORVO\\NCSystems";
    PostSettings.CurrentMcf = "HNC-818";
    PostSettings.CodePathName = temp_ + "\\old.cut";
    PostSettings.FileNameID = 11;
    PostSettings.FilePath = temp_ + "\\zu_ui_settings.ini";
  }
  std::string temp_;
  // A folder of machine configurations `files` inside the test's folder.
  std::string ConfigurationFolder(const std::vector<std::string>& files) const {
    const std::string folder = temp_ + "\\mcf";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const auto& file : files)
      std::ofstream(folder + "\\" + file) << "mcf";
    return folder;
  }
};

TEST_F(PostCodeDialogTest, OpensWithTheSettingsAndTheNextSerial) {
  Script("ok\n");
  CPostCodeDlg dialog;
  EXPECT_EQ(dialog.serial, 12);
  EXPECT_EQ(dialog.code_file, (temp_ + "\\NC0012.cut").c_str());
  ASSERT_EQ(dialog.DoModal(), IDOK) << ::testing::PrintToString(Record());
  EXPECT_EQ(dialog.nc_system, "HNC-818");
  // FANUC-0i-AC-table, FANUC-0i, HNC-818, LinuxCNC, ...
  EXPECT_EQ(dialog.marked_system, 2);
  EXPECT_EQ(dialog.selected_system, 2);
  EXPECT_TRUE(dialog.selected_in_view);
  // Saved: the serial advances, the renamed code file is kept.
  EXPECT_EQ(PostSettings.FileNameID, 12);
  EXPECT_EQ(PostSettings.CodePathName, (temp_ + "\\NC0012.cut").c_str());
  std::ifstream saved(PostSettings.FilePath.c_str());
  std::string first;
  std::getline(saved, first);
  EXPECT_EQ(first, "[MCFINFO]");
}

TEST_F(PostCodeDialogTest, TheCurrentSystemIsSelectedAndScrolledIntoView) {
  std::vector<std::string> files;
  for (int i = 0; i < 40; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "SYS-%02d.mcf", i);
    files.push_back(name);
  }
  PostSettings.McfFolder = ConfigurationFolder(files);
  PostSettings.CurrentMcf = "SYS-37";
  Script("cancel\n");
  CPostCodeDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.marked_system, 37);
  EXPECT_EQ(dialog.selected_system, 37);
  EXPECT_TRUE(dialog.selected_in_view);
}

TEST_F(PostCodeDialogTest, AnUpperCaseExtensionIsListedWithoutItAndAccepted) {
  PostSettings.McfFolder = ConfigurationFolder({"FM.MCF"});
  PostSettings.CurrentMcf = "";
  Script("list-click 1607 \"FM\"\nok\n");
  CPostCodeDlg dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK) << ::testing::PrintToString(Record());
  EXPECT_EQ(PostSettings.CurrentMcf, "FM");
}

TEST_F(PostCodeDialogTest, ClicksChooseTheSystemAndEditsRename) {
  Script(
      "list-click 1607 \"SIEMENS-840D\"\n"
      "text 9010 \"P#-##\"\n"
      "text 9012 \"5\"\n"
      "list-dblclick 1607 \"FANUC-0i\"\n");
  CPostCodeDlg dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK) << ::testing::PrintToString(Record());
  EXPECT_EQ(dialog.nc_system, "FANUC-0i");
  EXPECT_EQ(dialog.code_file, (temp_ + "\\P5-05.cut").c_str());
  EXPECT_EQ(PostSettings.FileNameID, 5);
  EXPECT_EQ(PostSettings.FileNameSuffix, "P#-##");
  EXPECT_EQ(PostSettings.CurrentMcf, "FANUC-0i");
}

TEST_F(PostCodeDialogTest, TheToolLocationControlsFollowTheMode) {
  const std::string pmf = temp_ + "\\zu_ui_given.pmf";
  std::ofstream(pmf) << "x";
  Script(
      "click 9005\n"  // mode 0: disabled
      "click 9003\n"
      "click 9005\n"
      "file \"" +
      pmf +
      "\"\n"
      "ok\n");
  CPostCodeDlg dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK) << ::testing::PrintToString(Record());
  EXPECT_EQ(dialog.mode, 1);
  EXPECT_STRCASEEQ(dialog.tool_location_file.c_str(), pmf.c_str());
  EXPECT_EQ(PostSettings.PickPath, 1);
  const auto record = Record();
  EXPECT_EQ(record[1], "click 9005");
  EXPECT_EQ(record[2], "error: script line 1 (click 9005): control 9005 is disabled");
}

TEST_F(PostCodeDialogTest, EachCheckRefusesWithItsOwnMessage) {
  const std::string long_name = temp_ + "\\" + std::string(260, 'n') + ".cut";
  Script(
      "text 9006 \"\"\nok\n"
      "text 9006 \"C:\\no such folder\\x.cut\"\nok\n"
      "text 9006 \"" +
      long_name +
      "\"\nok\n"
      "text 9006 \"" +
      temp_ +
      "\\x.cut\"\nclick 9003\nok\n"
      "list-click 1607 0\n"
      "cancel\n");
  PostSettings.PmfPathName = "C:\\nowhere\\given.pmf";
  PostSettings.CurrentMcf = "NOT-THERE";
  CPostCodeDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  std::vector<std::string> messages;
  for (const auto& line : Record()) {
    if (line.rfind("message ", 0) == 0)
      messages.push_back(line);
  }
  const std::vector<std::string> expected = {
      U8(u8"message \"ui_test\" \"代码文件名不能空！\" none -> ok"),
      U8(u8"message \"ui_test\" \"你输入的代码文件名路径不存在!\\nC:\\no such folder\\x.cut\" none "
         u8"-> ok"),
      U8(u8"message \"ui_test\" \"代码文件名太长，不能超过259个字符！\\n") + long_name +
          "\" none -> ok",
      U8(u8"message \"ui_test\" \"该文件不存在!\" none -> ok"),
  };
  EXPECT_EQ(messages, expected) << ::testing::PrintToString(Record());
  EXPECT_EQ(PostSettings.FileNameID, 11);  // cancelled: nothing saved
}

TEST_F(PostCodeDialogTest, ACodeFileNameOf259CharactersIsTheLongestKept) {
  const std::string start = temp_ + "\\";
  const std::string longest = start + std::string(259 - start.size() - 4, 'n') + ".cut";
  const std::string too_long = start + std::string(260 - start.size() - 4, 'n') + ".cut";
  ASSERT_EQ(longest.size(), 259u);
  ASSERT_EQ(too_long.size(), 260u);
  Script("text 9006 \"" + too_long + "\"\nok\ntext 9006 \"" + longest + "\"\nok\n");
  CPostCodeDlg dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK) << ::testing::PrintToString(Record());
  EXPECT_THAT(Record(), Contains(HasSubstr(U8(u8"代码文件名太长，不能超过259个字符！"))));
  EXPECT_EQ(PostSettings.CodePathName, longest.c_str());
}

TEST_F(PostCodeDialogTest, AMissingConfigurationIsTheLastCheck) {
  Script("ok\ncancel\n");
  PostSettings.CurrentMcf = "NOT-THERE";
  CPostCodeDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_THAT(Record(), Contains(HasSubstr(U8(u8"\"后置配置文件不存在!\" none -> ok"))));
}

TEST_F(PostCodeDialogTest, OrientationOptionsOpenFromTheDialog) {
  Script("click 9034\ndialog 9005\nclick 9031\nok\ncancel\n");
  PostSettings.JigToolAxis = 2;
  CPostCodeDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(PostSettings.JigToolAxis, 1);  // in memory; the file was not written
  EXPECT_EQ(GetFileAttributesA(PostSettings.FilePath.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace zu
