// The text road's dialogs under automation: the NC-system dialog with its
// checks and the code file's temporary folder, and the code display with
// its file list, loading and saving.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "framework/controls.h"
#include "framework/testing/automated_test.h"
#include "host/services.h"
#include "ui/code_view_dlg.h"
#include "ui/nc_system_dlg.h"
#include "ui/resource_ids.h"
#include "ui/temp_code_path.h"

namespace zu {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::string U8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// What a folder holds, by name.
std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
    names.push_back(entry.path().filename().string());
  return names;
}

// The system's temporary folder is TMP's for as long as the object lives.
class TemporaryFolderVariable {
 public:
  explicit TemporaryFolderVariable(const std::string& value) {
    char old[1024] = {};
    const DWORD n = GetEnvironmentVariableA("TMP", old, sizeof old);
    had_value_ = n > 0 && n < sizeof old;
    old_ = old;
    SetEnvironmentVariableA("TMP", value.c_str());
  }
  ~TemporaryFolderVariable() {
    SetEnvironmentVariableA("TMP", had_value_ ? old_.c_str() : nullptr);
  }
  TemporaryFolderVariable(const TemporaryFolderVariable&) = delete;
  TemporaryFolderVariable& operator=(const TemporaryFolderVariable&) = delete;

 private:
  bool had_value_ = false;
  std::string old_;
};

// A post hook that gives one folder.
class FolderHook final : public PostHook {
 public:
  explicit FolderHook(std::string folder) : folder_(std::move(folder)) {}
  void GetTempFolder(Text& folder) override { folder = folder_; }
  void TakeCodeFiles(TextArray*) override {}
  int IsCodeFileListWanted() override { return 0; }
  void GetPickDumpFile(Text&) override {}

 private:
  std::string folder_;
};

// A test's own temporary folder ("tmp" in its folder), as the system's.
class TextRoadTest : public AutomatedTest {
 protected:
  void SetUp() override {
    AutomatedTest::SetUp();
    tmp_ = folder_->File("tmp");
    CreateDirectoryA(tmp_.c_str(), nullptr);
    variable_ = std::make_unique<TemporaryFolderVariable>(tmp_);
  }
  void TearDown() override {
    variable_.reset();
    AutomatedTest::TearDown();
  }
  // Points the system's temporary folder elsewhere.
  void UseTemporaryFolder(const std::string& folder) {
    variable_.reset();
    variable_ = std::make_unique<TemporaryFolderVariable>(folder);
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> messages;
    for (const auto& line : Record()) {
      if (line.rfind("message ", 0) == 0)
        messages.push_back(line);
    }
    return messages;
  }

  std::string tmp_;  // no trailing backslash
  std::unique_ptr<TemporaryFolderVariable> variable_;
};

// ---------------------------------------------------------------------------
// MakeTempCodePath

using TempCodePathTest = TextRoadTest;

TEST_F(TempCodePathTest, AHookFolderIsUsedAsItIsWithOneBackslash) {
  for (const char* folder : {"D:\\post", "D:\\post\\"}) {
    FolderHook hook(folder);
    const TempCodePath made = MakeTempCodePath(&hook, "NC0001", "NC0001.cut");
    EXPECT_EQ(made.path, "D:\\post\\NC0001.cut") << folder;
    EXPECT_TRUE(made.made_folder.IsEmpty());
  }
  EXPECT_THAT(Entries(tmp_), IsEmpty());  // no sub-folder anywhere
}

TEST_F(TempCodePathTest, ASubFolderNamedByTimeRandomNameAndCounterIsMade) {
  struct Made {
    TempCodePath made;
    SYSTEMTIME before, after;
  };
  std::vector<Made> runs(2);
  FolderHook empty_hook("");  // an empty hook folder counts as none
  for (std::size_t i = 0; i < runs.size(); ++i) {
    GetLocalTime(&runs[i].before);
    runs[i].made = i == 0 ? MakeTempCodePath(&empty_hook, "NC0001", "NC0001.cut")
                          : MakeTempCodePath("NC0001", "NC0001.cut");
    GetLocalTime(&runs[i].after);
  }
  const std::regex rule(R"(zu2006r3-(\d+)-(\d+)NC0001(\d+))");
  std::vector<int> counters;
  for (const auto& run : runs) {
    const std::string folder = run.made.made_folder.str();
    SCOPED_TRACE(folder);
    ASSERT_EQ(folder.rfind(tmp_ + "\\", 0), 0u);
    const std::string name = folder.substr(tmp_.size() + 1);
    EXPECT_EQ(run.made.path, (folder + "\\NC0001.cut").c_str());
    EXPECT_TRUE(IsFolder(folder));
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(name, parts, rule));
    EXPECT_LE(std::stol(parts[2].str()), RAND_MAX);
    counters.push_back(std::stoi(parts[3].str()));
    // Month, day, hour, minute, second, then the milliseconds, all without
    // leading zeros: checked when the second did not change during the call.
    const SYSTEMTIME& b = run.before;
    const SYSTEMTIME& a = run.after;
    if (b.wSecond == a.wSecond && b.wMinute == a.wMinute) {
      const std::string time = parts[1].str();
      const std::string start = std::to_string(b.wMonth) + std::to_string(b.wDay) +
                                std::to_string(b.wHour) + std::to_string(b.wMinute) +
                                std::to_string(b.wSecond);
      ASSERT_EQ(time.rfind(start, 0), 0u) << time;
      const std::string milliseconds = time.substr(start.size());
      ASSERT_FALSE(milliseconds.empty());
      EXPECT_TRUE(milliseconds == "0" || milliseconds[0] != '0') << milliseconds;
      EXPECT_GE(std::stoi(milliseconds), b.wMilliseconds);
      EXPECT_LE(std::stoi(milliseconds), a.wMilliseconds);
    }
  }
  EXPECT_GE(counters[0], 1);
  EXPECT_EQ(counters[1], counters[0] + 1);
}

TEST_F(TempCodePathTest, WithoutTheSubFolderTheTemporaryFolderItselfIsUsed) {
  const std::string missing = folder_->File("missing");
  UseTemporaryFolder(missing);
  const TempCodePath made = MakeTempCodePath("NC0001", "NC0001.cut");
  EXPECT_EQ(made.path, (missing + "\\NC0001.cut").c_str());
  EXPECT_TRUE(made.made_folder.IsEmpty());
  EXPECT_FALSE(Exists(missing));
}

TEST_F(TempCodePathTest, WithoutATemporaryFolderTheFileGoesToTheRootOfC) {
  // A TMP longer than 259 characters gives no temporary folder.
  UseTemporaryFolder("C:\\" + std::string(300, 't'));
  const TempCodePath made = MakeTempCodePath("NC0001", "NC0001.cut");
  EXPECT_EQ(made.path, "C:\\NC0001.cut");
  EXPECT_TRUE(made.made_folder.IsEmpty());
}

// ---------------------------------------------------------------------------
// The NC-system dialog (9001)

// Sees the dialog as it opens.
class NcSystemProbe : public CNcSystemDlg {
 public:
  int selected_at_opening = -2;
  std::string shown_at_opening;

 protected:
  bool OnInitDialog() override {
    const bool result = CNcSystemDlg::OnInitDialog();
    selected_at_opening = ListView(Item(IDC_NC_SYSTEMS)).SelectedItem();
    char shown[64] = {};
    GetDlgItemTextA(hwnd(), IDC_NC_SYSTEM, shown, sizeof shown);
    shown_at_opening = shown;
    return result;
  }
};

using NcSystemDialogTest = TextRoadTest;

TEST_F(NcSystemDialogTest, OpensOnTheFirstSystemAndPlacesTheFileInAFolderOfItsOwn) {
  Script("dialog 9001\ntext 9006 \"NC0001\"\nok\n");
  NcSystemProbe dialog;
  EXPECT_TRUE(dialog.nc_system.IsEmpty());
  ASSERT_EQ(dialog.DoModal(), IDOK) << ::testing::PrintToString(Record());
  EXPECT_EQ(Record().front(), U8(u8"dialog 9001 \"生成后置代码\""));
  // The prefix's systems as the folder lists them: FANUC-0i-AC-table.mcf
  // comes before FANUC-0i.mcf ('-' before '.').
  EXPECT_EQ(dialog.selected_at_opening, 0);
  EXPECT_EQ(dialog.shown_at_opening, "FANUC-0i-AC-table");
  EXPECT_EQ(dialog.nc_system, "FANUC-0i-AC-table");
  EXPECT_EQ(dialog.typed_code_file, "NC0001");
  EXPECT_EQ(dialog.code_file, "NC0001.cut");
  const std::vector<std::string> made = Entries(tmp_);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_TRUE(std::regex_match(made[0], std::regex(R"(zu2006r3-\d+-\d+NC0001\d+)"))) << made[0];
  EXPECT_EQ(dialog.code_path, (tmp_ + "\\" + made[0] + "\\NC0001.cut").c_str());
}

TEST_F(NcSystemDialogTest, OkRefusesAnEmptyNameAndFolders) {
  Script(
      "ok\n"
      "text 9006 \"D:\\x.cut\"\nok\n"
      "text 9006 \"C:x\"\nok\n"
      "text 9006 \"sub/x.cut\"\nok\n"
      "text 9006 \"NC0001.nc\"\nok\n");
  CNcSystemDlg dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK) << ::testing::PrintToString(Record());
  const std::string no_folder =
      U8(u8"message \"ui_test\" \"只能输入文件名，不需要输入目录。\" none -> ok");
  EXPECT_THAT(Messages(), ElementsAre(U8(u8"message \"ui_test\" \"代码文件名不能空！\" none -> ok"),
                                      no_folder, no_folder, no_folder));
  EXPECT_EQ(dialog.code_file, "NC0001.nc");  // a name with a '.' keeps it
  EXPECT_EQ(Entries(tmp_).size(), 1u);       // refusals made no folder
}

TEST_F(NcSystemDialogTest, ADoubleByteCharacterEndingIn5CIsNoBackslash) {
  // "誠" is D5 5C in code page 936.
  Script(U8(u8"text 9006 \"誠1\"\nok\n"));
  CNcSystemDlg dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK) << ::testing::PrintToString(Record());
  EXPECT_EQ(dialog.code_file,
            "\xD5\x5C"
            "1.cut");
  EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(NcSystemDialogTest, ClicksChooseTheSystemAndADoubleClickActsAsOk) {
  Script(
      "list-dblclick 1607 1\n"  // no name yet: refused, the dialog stays
      "list-click 1607 \"SIEMENS-840D\"\n"
      "text 9006 \"NC0002\"\n"
      "list-dblclick 1607 \"HNC-818\"\n");
  CNcSystemDlg dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK) << ::testing::PrintToString(Record());
  EXPECT_THAT(Messages(),
              ElementsAre(U8(u8"message \"ui_test\" \"代码文件名不能空！\" none -> ok")));
  EXPECT_EQ(dialog.nc_system, "HNC-818");  // read back from 1608
  EXPECT_EQ(dialog.code_file, "NC0002.cut");
}

TEST_F(NcSystemDialogTest, ACodePathOf259CharactersIsTheLongestKept) {
  // No sub-folder can be made in a missing temporary folder: the file goes
  // straight into it, so the path's length is known.
  const std::string start = folder_->File("missing") + "\\";
  UseTemporaryFolder(start);
  const std::string longest = std::string(259 - start.size() - 4, 'n') + ".cut";
  const std::string too_long = std::string(260 - start.size() - 4, 'n') + ".cut";
  Script("text 9006 \"" + too_long + "\"\nok\ntext 9006 \"" + longest + "\"\nok\n");
  CNcSystemDlg dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK) << ::testing::PrintToString(Record());
  EXPECT_THAT(Messages(),
              ElementsAre(U8(u8"message \"ui_test\" \"代码文件名太长，不能超过259个字符！\\n") +
                          start + too_long + "\" none -> ok"));
  EXPECT_EQ(dialog.code_path, (start + longest).c_str());
  EXPECT_EQ(dialog.code_path.Length(), 259u);
}

TEST_F(NcSystemDialogTest, ATooLongPathRemovesTheFolderMadeForIt) {
  const std::string typed = std::string(86, 'n') + ".cut";
  {
    // A folder for this name can be made: the dialog made one, too.
    const TempCodePath probe = MakeTempCodePath(typed, typed);
    ASSERT_FALSE(probe.made_folder.IsEmpty());
    ASSERT_GT(probe.path.Length(), 259u);
    RemoveDirectoryA(probe.made_folder.c_str());
  }
  Script("text 9006 \"" + typed + "\"\nok\ncancel\n");
  CNcSystemDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_THAT(Messages(), ElementsAre(HasSubstr(U8(u8"代码文件名太长，不能超过259个字符！"))));
  EXPECT_THAT(Entries(tmp_), IsEmpty());
  EXPECT_TRUE(dialog.code_path.IsEmpty());
}

// ---------------------------------------------------------------------------
// The code display dialog (9002)

// Sees the dialog as it opens and as it ends.
class CodeViewProbe : public CCodeViewDlg {
 public:
  std::vector<std::string> names;
  int chosen_at_opening = -2;
  std::string text_at_opening;
  LRESULT text_limit_at_opening = 0;  // characters
  std::string text_at_end;
  bool text_focused_at_end = false;
  std::pair<LONG, LONG> selection_at_end{-1, -1};
  bool exit_on_choice = false;  // the hidden exit button is pressed on a choice

 protected:
  bool OnInitDialog() override {
    const bool result = CCodeViewDlg::OnInitDialog();
    ComboBox combo(Item(IDC_CODE_FILES));
    for (int i = 0; i < combo.Count(); ++i)
      names.push_back(combo.TextAt(i).str());
    chosen_at_opening = combo.CurSel();
    text_at_opening = RichEdit(Item(IDC_CODE_TEXT)).PlainText();
    text_limit_at_opening = SendMessageA(Item(IDC_CODE_TEXT), EM_GETLIMITTEXT, 0, 0);
    return result;
  }
  bool OnCommand(int id, int code) override {
    const bool handled = CCodeViewDlg::OnCommand(id, code);
    if (id == IDC_CODE_FILES && code == CBN_SELCHANGE && exit_on_choice) {
      SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(IDC_EXIT_CODE_VIEW, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Item(IDC_EXIT_CODE_VIEW)));
    }
    return handled;
  }
  void OnOK() override {
    RichEdit text(Item(IDC_CODE_TEXT));
    text_at_end = text.PlainText();
    text_focused_at_end = GetFocus() == text.hwnd();
    selection_at_end = text.Selection();
    CCodeViewDlg::OnOK();
  }
};

class CodeViewDialogTest : public TextRoadTest {
 protected:
  // `content` as file `name` of the test's sub-folder `folder`; its path.
  std::string CodeFile(const std::string& folder, const std::string& name,
                       const std::string& content) {
    const std::string path = folder_->File(folder);
    CreateDirectoryA(path.c_str(), nullptr);
    WriteBytes(path + "\\" + name, content);
    return path + "\\" + name;
  }
};

TEST_F(CodeViewDialogTest, NamesAreListedSortedAndOpenInTheLastPathsFolder) {
  // D:\t\a.cut and E:\u\b.cut: choosing a.cut opens E:\u\a.cut.
  const std::string t_c = CodeFile("t", "c.cut", "c in t");
  const std::string t_a = CodeFile("t", "a.cut", "a in t");
  const std::string u_b = CodeFile("u", "b.cut", "b in u");
  const std::string u_a = CodeFile("u", "a.cut", "a in u");
  Script("dialog 9002\ncombo 9026 \"a.cut\"\nok\n");
  CodeViewProbe dialog;
  dialog.files.Add(t_c);
  dialog.files.Add("lonely.cut");  // no folder: not listed
  dialog.files.Add(t_a);
  dialog.files.Add(u_b);
  dialog.current_file = t_a;
  dialog.DoModal();
  EXPECT_EQ(Record().front(), U8(u8"dialog 9002 \"代码显示\""));
  EXPECT_THAT(dialog.names, ElementsAre("a.cut", "b.cut", "c.cut"));
  EXPECT_EQ(dialog.chosen_at_opening, 0);
  EXPECT_EQ(dialog.text_at_opening, "a in t");
  EXPECT_EQ(dialog.file_folder, folder_->File("u").c_str());
  EXPECT_EQ(dialog.current_file, u_a.c_str());
  EXPECT_EQ(dialog.text_at_end, "a in u");
}

TEST_F(CodeViewDialogTest, AFileThatCannotBeOpenedKeepsTheTextAndIsNotSaved) {
  const std::string a = CodeFile("t", "a.cut", "G0 X1");
  const std::string gone = folder_->File("t") + "\\gone.cut";
  Script("combo 9026 \"gone.cut\"\nclick 9024\nok\n");
  CodeViewProbe dialog;
  dialog.files.Add(a);
  dialog.files.Add(gone);
  dialog.current_file = a;
  dialog.DoModal();
  EXPECT_EQ(dialog.current_file, gone.c_str());
  EXPECT_EQ(dialog.text_at_end, "G0 X1");
  EXPECT_FALSE(Exists(gone));  // saving does not make it
  EXPECT_EQ(ReadBytes(a), "G0 X1");
}

TEST_F(CodeViewDialogTest, AFileThatCannotBeReadIsNotOverwrittenWithAnothersText) {
  const std::string a = CodeFile("t", "a.cut", "G0 X1");
  const std::string locked = CodeFile("t", "b.cut", "G0 X2");
  // Held open without sharing: the dialog can neither read nor write it.
  HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(hold, INVALID_HANDLE_VALUE);
  Script("combo 9026 \"b.cut\"\ntext 9022 \"edited\"\nclick 9024\nok\n");
  CodeViewProbe dialog;
  dialog.files.Add(a);
  dialog.files.Add(locked);
  dialog.current_file = a;
  dialog.DoModal();
  CloseHandle(hold);
  EXPECT_EQ(ReadBytes(locked), "G0 X2");
  EXPECT_EQ(ReadBytes(a), "edited");  // the text is a.cut's: saved there
}

TEST_F(CodeViewDialogTest, SaveWritesExactlyTheEditedText) {
  const std::string a = CodeFile("t", "a.cut", "N1 G0 X0\r\nN2 G1 X100 Y100\r\nN3 M30\r\n");
  Script(U8(u8"text 9022 \"(刀具1) G01 X10 Y20\"\nclick 9024\nok\n"));
  CodeViewProbe dialog;
  dialog.files.Add(a);
  dialog.current_file = a;
  dialog.DoModal();
  EXPECT_EQ(ReadBytes(a),
            "(\xB5\xB6\xBE\xDF"
            "1) G01 X10 Y20");
}

TEST_F(CodeViewDialogTest, AnUneditedFileIsSavedWithItsOwnBytes) {
  const std::vector<std::string> contents = {
      "%\r\nO0001\r\n(\xB5\xB6\xBE\xDF T1)\r\n\r\nN10 G90 G54\r\nN20 M30\r\n%\r\n",
      "N1 G0 X0\r\nN2 M30",  // no line end at the end
      "",
  };
  for (const std::string& content : contents) {
    const std::string a = CodeFile("t", "a.cut", content);
    Script("click 9024\nok\n");
    CodeViewProbe dialog;
    dialog.files.Add(a);
    dialog.current_file = a;
    dialog.DoModal();
    EXPECT_EQ(ReadBytes(a), content) << ::testing::PrintToString(content);
  }
}

TEST_F(CodeViewDialogTest, AFileLongerThanTheControlsOwnLimitIsShownAndSavedWhole) {
  std::ostringstream lines;
  // Lines of every length mod 4, with double-byte characters, so that the
  // chunks the control reads end everywhere: inside a character, between CR
  // and LF.
  for (int i = 1; i <= 10000; ++i) {
    lines << "N" << i << " G01 X" << i * 0.5 << " Y-" << i << ".25 F1200";
    if (i % 3 == 0)
      lines << " (\xB5\xB6\xBE\xDF)";
    lines << "\r\n";
  }
  const std::string content = lines.str();
  ASSERT_GT(content.size(), 200000u);
  const std::string a = CodeFile("t", "a.cut", content);
  Script("click 9024\nok\n");
  CodeViewProbe dialog;
  dialog.files.Add(a);
  dialog.current_file = a;
  dialog.DoModal();
  // Wine's control streams in past its limit; Windows' stops there, and
  // typing stops there in both.
  EXPECT_GE(dialog.text_limit_at_opening, static_cast<LRESULT>(content.size()));
  EXPECT_TRUE(dialog.text_at_opening == content);
  EXPECT_TRUE(ReadBytes(a) == content);
}

TEST_F(CodeViewDialogTest, TheTextHasTheFocusWithTheSecondCharacterSelected) {
  const std::string a = CodeFile("t", "a.cut", "G0 X1");
  Script("ok\n");
  CodeViewProbe dialog;
  dialog.files.Add(a);
  dialog.current_file = a;
  dialog.DoModal();
  EXPECT_TRUE(dialog.text_focused_at_end);
  EXPECT_EQ(dialog.selection_at_end, std::make_pair(LONG{1}, LONG{2}));
}

TEST_F(CodeViewDialogTest, TheHiddenExitButtonAndCancelEndTheDialog) {
  const std::string a = CodeFile("t", "a.cut", "G0 X1");
  {
    Script("click 9025\ncancel\n");
    CCodeViewDlg dialog;
    dialog.files.Add(a);
    dialog.current_file = a;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_THAT(Record(), Contains("error: script line 1 (click 9025): control 9025 is hidden"));
  }
  Script("combo 9026 0\n");
  CodeViewProbe dialog;
  dialog.exit_on_choice = true;
  dialog.files.Add(a);
  dialog.current_file = a;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_THAT(Record(), Contains("end 9002 ok"));
}

}  // namespace
}  // namespace zu
