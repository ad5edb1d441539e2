// Drives the test dialog, whose controls cover every kind the framework
// wraps, through automation scripts, and checks both the values the dialog
// read and the record of what was seen.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "framework/automation.h"
#include "framework/code_page.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/extension_module.h"
#include "framework/file_dialog.h"
#include "framework/message_box.h"
#include "framework/testing/automated_test.h"
#include "framework/tests/test_dialog_ids.h"

namespace zu {
namespace {

using ::testing::AnyOf;
using ::testing::Contains;

std::string U8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

class TestDialog : public ModalDialog {
 public:
  TestDialog() : ModalDialog(IDD_TEST_DIALOG) {}

  Text name = "旧名字";
  int count = 3;
  double tolerance = 0.005;
  int keep = 0;
  int mode = 0;
  std::vector<std::pair<UINT, int>> list_clicks;  // notification code, item
  Text combo_choice;
  std::string rich_text_in = "G01 X1.5\r\nY2";
  std::string rich_text_out;
  std::optional<Text> browsed;
  // What the OK button's window holds, as bytes and as characters.
  std::string ok_button_ansi;
  std::wstring ok_button_wide;
  int hot_item = -2;

 protected:
  bool OnInitDialog() override {
    ModalDialog::OnInitDialog();
    list_.Attach(Item(IDC_LIST));
    list_.SetUpSingleColumn("数控系统", 150);
    for (const char* item : {"第一项", "第二项", "第三项"})
      list_.AddItem(item);
    list_.SetHotItem(1);
    hot_item = list_.HotItem();
    combo_.Attach(Item(IDC_COMBO));
    for (const char* item : {"gamma", "alpha", "beta"})
      combo_.AddString(item);
    combo_.SetCurSel(0);
    rich_.Attach(Item(IDC_RICH));
    rich_.SetPlainText(rich_text_in);

    char bytes[64] = {};
    GetWindowTextA(Item(IDOK), bytes, sizeof bytes);
    ok_button_ansi = bytes;
    ok_button_wide = WindowTextWide(Item(IDOK));
    return true;
  }

  void DoDataExchange(DataExchange& dx) override {
    ExchangeText(dx, IDC_NAME, name);
    ExchangeInt(dx, IDC_COUNT, count);
    ExchangeDouble(dx, IDC_TOLERANCE, tolerance);
    ExchangeCheck(dx, IDC_KEEP, keep);
    ExchangeRadio(dx, IDC_MODE_PICK, mode);
  }

  void OnOK() override {
    rich_text_out = rich_.PlainText();
    combo_choice = combo_.TextAt(combo_.CurSel());
    ModalDialog::OnOK();
  }

  bool OnCommand(int id, int code) override {
    if (id == IDC_BROWSE && code == BN_CLICKED) {
      FileDialogOptions options;
      options.filter = "代码文件 (*.cut)|*.cut|所有文件 (*.*)|*.*||";
      options.default_extension = "cut";
      options.initial_folder = "C:\\windows";
      browsed = RunFileDialog(options, hwnd());
      return true;
    }
    if (id == IDC_WARN && code == BN_CLICKED) {
      ShowMessage("出错了：没有轨迹", MessageIcon::Stop, hwnd());
      return true;
    }
    return false;
  }

  bool OnNotify(const NMHDR& header, LRESULT&) override {
    if (header.idFrom == IDC_LIST && (header.code == NM_CLICK || header.code == NM_DBLCLK)) {
      list_clicks.emplace_back(header.code, ListView::ClickedItem(header));
      return true;
    }
    return false;
  }

 private:
  ListView list_;
  ComboBox combo_;
  RichEdit rich_;
};

// Runs one automation script in a fresh record; gives the record's lines.
class AutomatedDialogTest : public AutomatedTest {
 protected:
  void SetUp() override {
    AutomatedTest::SetUp();
    ASSERT_TRUE(InitRichEdit());
  }
};

TEST_F(AutomatedDialogTest, EveryControlKindIsDrivenAndReadBack) {
  Script(
      U8(u8"dialog 100\n"
         u8"text 1001 \"新名字\"\n"
         u8"text 1002 \"12\"\n"
         u8"text 1003 \"abc\"\n"
         u8"ok\n"
         u8"text 1003 \"0.25\"\n"
         u8"click 1004\n"
         u8"click 1006\n"
         u8"list-click 1007 1\n"
         u8"list-dblclick 1007 \"第三项\"\n"
         u8"combo 1008 \"beta\"\n"
         u8"click 1010\n"
         u8"file \"C:\\windows\\win.ini\"\n"
         u8"click 1011\n"
         u8"ok\n"));
  TestDialog dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK);
  const auto record = Record();
  SCOPED_TRACE(::testing::PrintToString(record));

  EXPECT_EQ(dialog.name, "新名字");
  EXPECT_EQ(dialog.count, 12);
  EXPECT_EQ(dialog.tolerance, 0.25);
  EXPECT_EQ(dialog.keep, 1);
  EXPECT_EQ(dialog.mode, 1);
  const std::vector<std::pair<UINT, int>> clicks = {{NM_CLICK, 1}, {NM_DBLCLK, 2}};
  EXPECT_EQ(dialog.list_clicks, clicks);
  EXPECT_EQ(dialog.hot_item, 1);
  EXPECT_EQ(dialog.combo_choice, "beta");
  EXPECT_EQ(dialog.rich_text_out, "G01 X1.5\r\nY2");
  ASSERT_TRUE(dialog.browsed.has_value());
  EXPECT_STRCASEEQ(dialog.browsed->c_str(), "C:\\windows\\win.ini");

  EXPECT_EQ(record.front(), U8(u8"dialog 100 \"测试对话框\""));
  // The refused number: the standard request, and the dialog stayed open.
  EXPECT_THAT(record, Contains(U8(u8"message \"framework_dialog_test\" \"请输入一个数字。\" "
                                  u8"exclamation -> ok")));
  EXPECT_THAT(record,
              Contains(U8(u8"message \"framework_dialog_test\" \"出错了：没有轨迹\" stop -> ok")));
  EXPECT_THAT(record, Contains(AnyOf("file-dialog open -> \"C:\\windows\\win.ini\"",
                                     "file-dialog open -> \"C:\\WINDOWS\\win.ini\"")));
  EXPECT_EQ(record.back(), "end 100 ok");
  for (const auto& line : record)
    EXPECT_EQ(line.rfind("error", 0), std::string::npos) << line;
}

TEST_F(AutomatedDialogTest, ChineseTextsReachTheWindowsAsGbk) {
  Script("ok\n");
  TestDialog dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK);
  // "确定" in code page 936 is C8 B7 B6 A8: the literal is GBK in the binary
  // and the window shows the two characters U+786E U+5B9A.
  EXPECT_EQ(dialog.ok_button_ansi, "\xC8\xB7\xB6\xA8");
  EXPECT_EQ(dialog.ok_button_wide, L"\u786E\u5B9A");
  EXPECT_EQ(AnsiToWide("取消"), L"\u53D6\u6D88");
  // Values typed by the framework come back as the same GBK bytes.
  EXPECT_EQ(dialog.name, "旧名字");
}

TEST_F(AutomatedDialogTest, ARichEditTakesLongTextAsItIs) {
  // The control takes the text in chunks: lines of every length with
  // double-byte characters make the chunks end inside a character and
  // between CR and LF.
  std::string text;
  for (int i = 0; text.size() < 30000; ++i)
    text += "N" + std::to_string(i) + std::string(i % 4, ' ') + "(刀具)\r\n";
  Script("ok\n");
  TestDialog dialog;
  dialog.rich_text_in = text;
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(dialog.rich_text_out == text);
}

TEST_F(AutomatedDialogTest, ADialogThatRunsOutOfStepsIsCancelled) {
  Script(U8(u8"dialog 100\ntext 1001 \"不保存\"\n"));
  TestDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.name, "旧名字");
  const auto record = Record();
  SCOPED_TRACE(::testing::PrintToString(record));
  EXPECT_THAT(record, Contains("out of steps: dialog 100 cancelled"));
  EXPECT_EQ(record.back(), "end 100 cancel");
}

TEST_F(AutomatedDialogTest, StepsThatAPersonCouldNotTakeAreRecordedAsErrors) {
  Script(
      "click 1012\n"            // disabled button
      "click 4242\n"            // no such control
      "list-click 1007 9\n"     // no such item
      "combo 1008 \"delta\"\n"  // no such item
      "cancel\n");
  TestDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  const auto record = Record();
  SCOPED_TRACE(::testing::PrintToString(record));
  EXPECT_THAT(record, Contains("error: script line 1 (click 1012): control 1012 is disabled"));
  EXPECT_THAT(record,
              Contains("error: script line 2 (click 4242): the dialog has no control 4242"));
  EXPECT_THAT(record,
              Contains("error: script line 3 (list-click 1007 9): the list has no such item"));
  EXPECT_THAT(
      record,
      Contains("error: script line 4 (combo 1008 \"delta\"): the combo box has no such item"));
  EXPECT_TRUE(dialog.list_clicks.empty());
}

TEST_F(AutomatedDialogTest, AnUnexpectedDialogIsCancelled) {
  Script("dialog 999\nok\n");
  TestDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  const auto record = Record();
  SCOPED_TRACE(::testing::PrintToString(record));
  EXPECT_THAT(record,
              Contains("error: script line 1 (dialog 999): a different dialog appeared: the "
                       "dialog is cancelled"));
}

TEST_F(AutomatedDialogTest, FileDialogCanBeCancelledAndMessageAnswered) {
  Script("click 1010\ncancel\nclick 1011\nanswer ok\nok\n");
  TestDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_FALSE(dialog.browsed.has_value());
  const auto record = Record();
  SCOPED_TRACE(::testing::PrintToString(record));
  EXPECT_THAT(record, Contains("file-dialog open -> cancel"));
  EXPECT_EQ(record.back(), "end 100 ok");
}

TEST(DialogWithoutAutomation, AMissingResourceIsReportedAsFailure) {
  ModalDialog missing(4711);
  EXPECT_EQ(missing.DoModal(), -1);
}

}  // namespace
}  // namespace zu
