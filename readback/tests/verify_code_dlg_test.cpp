// The verify dialog under automation, in both of its modes.
#include "readback/verify_code_dlg.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "framework/testing/automated_test.h"
#include "environment/post_settings.h"

namespace zu {
namespace {

using ::testing::Contains;

std::string U8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

class VerifyDialogTest : public AutomatedTest {
 protected:
  void SetUp() override {
    AutomatedTest::SetUp();
    saved_ = PostSettings;
    PostSettings = PostSettingsRecord();
    dir_ = folder_path();
    PostSettings.McfFolder = "C:\\ORVO\\NCSystems";
    PostSettings.CurrentMcf = "HNC-818";
    PostSettings.CodePathName = dir_ + "\\part.cut";
    PostSettings.FilePath = dir_ + "\\ZuPost.ini";
    std::ofstream(dir_ + "\\part.cut") << "G0 X0\n";
  }
  void TearDown() override {
    AutomatedTest::TearDown();
    PostSettings = saved_;
  }
  std::string folder_path() const { return folder_->path().string(); }

  std::vector<std::string> Messages() const {
    std::vector<std::string> messages;
    for (const auto& line : Record()) {
      if (line.rfind("message ", 0) == 0)
        messages.push_back(line);
    }
    return messages;
  }

  PostSettingsRecord saved_;
  std::string dir_;
};

TEST_F(VerifyDialogTest, CheckingModeRefusesMissingFilesAndSavesTheChoice) {
  const std::string missing = dir_ + "\\missing.cut";
  Script(
      "dialog 9000\n"
      "text 9013 \"\"\nok\n"
      "text 9013 \"" +
      missing +
      "\"\nok\n"
      "text 9013 \"" +
      dir_ +
      "\"\nok\n"  // a folder counts as missing
      "list-click 9015 \"SIEMENS-840D\"\n"
      "text 9013 \"" +
      dir_ + "\\part.cut\"\nok\n");
  CVerifyCodeDlg dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK) << ::testing::PrintToString(Record());
  EXPECT_EQ(
      Messages(),
      (std::vector<std::string>{
          U8(u8"message \"readback_dialog_test\" \"代码文件名不能空！\" none -> ok"),
          U8(u8"message \"readback_dialog_test\" \"") + missing + U8(u8" 文件不存在!\" none -> ok"),
          U8(u8"message \"readback_dialog_test\" \"") + dir_ + U8(u8" 文件不存在!\" none -> ok")}));
  EXPECT_EQ(PostSettings.CurrentMcf, "SIEMENS-840D");
  EXPECT_EQ(PostSettings.ReadCode, (dir_ + "\\part.cut").c_str());
  EXPECT_EQ(PostSettings.CodePathName, (dir_ + "\\part.cut").c_str());  // not changed
  std::ifstream saved(PostSettings.FilePath.c_str());
  std::string first;
  std::getline(saved, first);
  EXPECT_EQ(first, "[MCFINFO]");
}

TEST_F(VerifyDialogTest, ADoubleClickWithAnEmptyFileKeepsTheChosenSystemAndTheDialog) {
  Script("text 9013 \"\"\nlist-dblclick 9015 \"FANUC-0i\"\ncancel\n");
  CVerifyCodeDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.NcSystem, "FANUC-0i");
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(PostSettings.CurrentMcf, "HNC-818");  // nothing saved
}

TEST_F(VerifyDialogTest, FixedFileModeDisablesTheFileAndNeitherChecksNorSaves) {
  Script("click 9014\nok\n");
  CVerifyCodeDlg dialog;
  dialog.CheckFile = 0;
  dialog.CodeFile = "";
  dialog.SystemFolder = dir_;  // no .mcf here: an empty list
  PostSettings.CurrentMcf = "";
  dialog.NcSystem = "";
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_THAT(Record(), Contains("error: script line 1 (click 9014): control 9014 is disabled"));
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(dialog.NcSystem, "");
  EXPECT_EQ(GetFileAttributesA(PostSettings.FilePath.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(VerifyDialogTest, ASystemNoLongerListedKeepsItsName) {
  PostSettings.CurrentMcf = "GONE";
  Script("ok\n");
  CVerifyCodeDlg dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.NcSystem, "GONE");
  EXPECT_EQ(PostSettings.CurrentMcf, "GONE");
}

}  // namespace
}  // namespace zu
