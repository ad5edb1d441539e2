#include "framework/file_dialog.h"

#include <commdlg.h>
#include <dlgs.h>

#include <string>
#include <vector>

#include "framework/automation.h"
#include "framework/code_page.h"

namespace zu {
namespace {

constexpr UINT kAnswerFileDialog = WM_APP + 0x2A1;

// What the script says to do with the file dialog now open.
struct FileAnswer {
  bool choose = false;  // false: cancel
  std::string path;     // UTF-8
};

UINT_PTR CALLBACK AutomationHook(HWND hook_dialog, UINT message, WPARAM, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* ofn = reinterpret_cast<OPENFILENAMEA*>(lparam);
    SetWindowLongPtrA(hook_dialog, DWLP_USER, static_cast<LONG_PTR>(ofn->lCustData));
    return TRUE;
  }
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lparam)->code == CDN_INITDONE) {
    PostMessageA(hook_dialog, kAnswerFileDialog, 0, 0);
    return FALSE;
  }
  if (message == kAnswerFileDialog) {
    const auto* answer = reinterpret_cast<FileAnswer*>(GetWindowLongPtrA(hook_dialog, DWLP_USER));
    HWND file_dialog = GetParent(hook_dialog);
    if (answer->choose) {
      const std::wstring name = Utf8ToWide(answer->path);
      for (int id : {cmb13, edt1}) {
        if (HWND field = GetDlgItem(file_dialog, id))
          SetWindowTextW(field, name.c_str());
      }
      PostMessageA(file_dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(file_dialog, IDOK)));
    } else {
      PostMessageA(file_dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(file_dialog, IDCANCEL)));
    }
    return TRUE;
  }
  return FALSE;
}

// Takes the script's answer for the dialog; records when there is none.
FileAnswer TakeAnswer(Automation& automation) {
  const AutomationStep* step = automation.Peek();
  if (!step) {
    automation.Record("out of steps: file dialog cancelled");
    return {};
  }
  if (step->kind == StepKind::ChooseFile) {
    FileAnswer answer{true, step->text};
    automation.Advance();
    return answer;
  }
  if (step->kind == StepKind::Cancel) {
    automation.Advance();
    return {};
  }
  automation.RecordError(*step, "a file dialog is open: it is cancelled");
  return {};
}

}  // namespace

std::string SystemFilter(const Text& filter) {
  std::string out = filter.str();
  for (char& c : out) {
    if (c == '|')
      c = '\0';
  }
  // The list ends with two NUL characters.
  out.push_back('\0');
  out.push_back('\0');
  return out;
}

std::optional<Text> RunFileDialog(const FileDialogOptions& options, HWND owner) {
  std::vector<char> file(4096, '\0');
  options.initial_name.str().copy(file.data(), file.size() - 1);
  const std::string filter = SystemFilter(options.filter);

  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = options.filter.IsEmpty() ? nullptr : filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = options.initial_folder.IsEmpty() ? nullptr : options.initial_folder.c_str();
  ofn.lpstrTitle = options.title.IsEmpty() ? nullptr : options.title.c_str();
  ofn.lpstrDefExt =
      options.default_extension.IsEmpty() ? nullptr : options.default_extension.c_str();
  ofn.Flags = options.flags | OFN_EXPLORER;

  Automation* automation = Automation::Get();
  FileAnswer answer;
  if (automation) {
    answer = TakeAnswer(*automation);
    ofn.Flags |= OFN_ENABLEHOOK;
    ofn.lpfnHook = &AutomationHook;
    ofn.lCustData = reinterpret_cast<LPARAM>(&answer);
  }
  const BOOL chosen = options.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  if (automation) {
    automation->Record(std::string("file-dialog ") + (options.save ? "save" : "open") + " -> " +
                       (chosen ? QuoteText(AnsiToUtf8(file.data())) : "cancel"));
  }
  if (!chosen)
    return std::nullopt;
  return Text(file.data());
}

}  // namespace zu
