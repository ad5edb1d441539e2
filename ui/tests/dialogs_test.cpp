// The settings and orientation-options dialogs under automation, as the
// plug-in shows them, and a program that cannot be started.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "framework/automation.h"
#include "shell/post_module.h"
#include "shell/post_settings.h"
#include "ui/orient_option_dlg.h"
#include "ui/post_set_dlg.h"
#include "ui/resource_ids.h"

namespace zu {
namespace {

std::string U8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = PostSettings;
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string base = std::string(folder) + "zu_ui_" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    script_ = base + ".script";
    record_ = base + ".record";
    DeleteFileA(record_.c_str());
  }
  void TearDown() override {
    Automation::Stop();
    PostSettings = saved_;
  }
  void Script(const std::string& text) {
    std::ofstream(script_, std::ios::binary) << text;
    Automation::Start(script_, record_);
  }
  std::vector<std::string> Record() const {
    std::ifstream in(record_, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
    return lines;
  }
  static std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const auto& l : lines)
      all += l + "\n";
    return all;
  }
  PostSettingsRecord saved_;
  std::string script_, record_;
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
  ASSERT_EQ(dialog.DoModal(), IDOK) << Joined(Record());
  EXPECT_EQ(PostSettings.UseJigCoord, 1);
  EXPECT_EQ(PostSettings.JigToolAxis, 0);
  EXPECT_EQ(PostSettings.JigToolUpHeight, 300);
  EXPECT_EQ(PostSettings.JigTolerance, 0.01);
  EXPECT_EQ(PostSettings.FixMillMode, 1);
  const auto record = Record();
  EXPECT_EQ(record.front(), U8(u8"dialog 9005 \"定向铣选项\""));
  EXPECT_NE(Joined(record).find(U8(u8"\"请输入一个数字。\" exclamation -> ok")), std::string::npos)
      << Joined(record);
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
  ASSERT_EQ(dialog.DoModal(), IDOK) << Joined(Record());
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
  EXPECT_FALSE(StartProgram(command, ProgramStart{SW_SHOWNORMAL, false}));
  const auto record = Record();
  ASSERT_EQ(record.size(), 1u) << Joined(record);
  EXPECT_EQ(record[0], U8(u8"message \"ui_test\" \"无法启动程序：\\n") + command + "\" stop -> ok");
}

}  // namespace
}  // namespace zu
