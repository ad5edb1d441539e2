// OrvoPostUI.exe, the machine-configuration editor: "*mcf*FOLDER" names the
// folder of machine configurations; the window lists its .mcf files, opens
// one (click Open, or double-click it) in an editable text view, and saves
// it back when it reads as a configuration (machine_reader.h), else shows
// why and leaves the file as it was. The plug-in starts it hidden, so it
// shows its window itself.
//
// For tests: ZU_POSTMODULE_RECORD names a file to which the command line and
// the list are appended; ZU_POSTUI_SCRIPT and ZU_POSTUI_RECORD drive the
// window with an automation script (docs/automation.md). Automation that
// the starting program had is not inherited.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "framework/automation.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/message_box.h"
#include "machine/machine_reader.h"
#include "postmodule/command_line.h"
#include "postmodule/module_record.h"
#include "postmodule/editor_ids.h"

namespace {

std::vector<std::string> MachineFiles(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*.mcf").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

class EditorDialog : public zu::ModalDialog {
 public:
  explicit EditorDialog(std::string folder)
      : ModalDialog(IDD_MCF_EDITOR), folder_(std::move(folder)) {}

 protected:
  bool OnInitDialog() override {
    // Started hidden: the first ShowWindow takes the starter's show state.
    ShowWindow(hwnd(), SW_SHOW);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetDlgItemTextA(hwnd(), IDC_MCF_FOLDER, folder_.c_str());
    list_.Attach(Item(IDC_MCF_LIST));
    list_.SetUpSingleColumn("", 150);
    std::string names;
    for (const auto& name : MachineFiles(folder_)) {
      list_.AddItem(name.c_str());
      names += " " + name;
    }
    postmodule::RecordLine("configurations:" + names);
    return true;
  }

  bool OnCommand(int id, int code) override {
    if (code != BN_CLICKED)
      return false;
    if (id == IDC_MCF_OPEN) {
      Open(list_.SelectedItem());
      return true;
    }
    if (id == IDC_MCF_SAVE) {
      Save();
      return true;
    }
    return false;
  }

  bool OnNotify(const NMHDR& header, LRESULT&) override {
    if (header.idFrom == IDC_MCF_LIST && header.code == NM_DBLCLK) {
      Open(zu::ListView::ClickedItem(header));
      return true;
    }
    return false;
  }

 private:
  void Open(int item) {
    if (item < 0) {
      zu::ShowMessage("请先选择一个机床配置文件。", zu::MessageIcon::Exclamation, hwnd());
      return;
    }
    path_ = folder_ + "\\" + list_.ItemText(item).str();
    std::ifstream in(path_, std::ios::binary);
    if (!in) {
      zu::ShowMessage(("无法打开文件：\n" + path_).c_str(), zu::MessageIcon::Stop, hwnd());
      return;
    }
    std::ostringstream text;
    text << in.rdbuf();
    SetDlgItemTextA(hwnd(), IDC_MCF_TEXT, text.str().c_str());
    EnableWindow(Item(IDC_MCF_SAVE), TRUE);
  }

  void Save() {
    const int length = GetWindowTextLengthA(Item(IDC_MCF_TEXT));
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    // The length asked for may exceed the text (Windows allows it): what
    // was copied is the text.
    const int copied = GetDlgItemTextA(hwnd(), IDC_MCF_TEXT, text.data(), length + 1);
    const std::string_view edited(text.data(), static_cast<std::size_t>(copied));
    // A configuration the post processor would refuse is not saved: the
    // file keeps what it held, and the message is the post processor's.
    const zu::machine::MachineReadResult check = zu::machine::ParseMachineConfig(edited, path_);
    if (!check.config) {
      postmodule::RecordLine("not saved: " + check.error);
      zu::ShowMessage(check.error.c_str(), zu::MessageIcon::Stop, hwnd());
      return;
    }
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(edited.data(), static_cast<std::streamsize>(edited.size()));
    out.close();
    if (!out) {
      zu::ShowMessage(("无法保存文件：\n" + path_).c_str(), zu::MessageIcon::Stop, hwnd());
      return;
    }
    postmodule::RecordLine("saved " + path_);
  }

  std::string folder_;
  std::string path_;
  zu::ListView list_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string command_line = GetCommandLineA();
  postmodule::RecordLine("OrvoPostUI command line: " + command_line);
  const char* script = std::getenv("ZU_POSTUI_SCRIPT");
  const char* record = std::getenv("ZU_POSTUI_RECORD");
  if (script && *script) {
    zu::Automation::Start(script, record ? record : "");
  } else {
    zu::Automation::Stop();
  }
  const auto folder = postmodule::ParseEditorArguments(postmodule::ArgumentsOf(command_line));
  if (!folder) {
    postmodule::RecordLine("OrvoPostUI error: malformed command line");
    zu::ShowMessage("命令行格式错误，应为：OrvoPostUI.exe *mcf*文件夹", zu::MessageIcon::Stop);
    return 2;
  }
  EditorDialog dialog(*folder);
  return dialog.DoModal() == -1 ? 3 : 0;
}
