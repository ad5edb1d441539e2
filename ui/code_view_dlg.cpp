#include "ui/code_view_dlg.h"

#include "framework/extension_module.h"
#include "ui/resource_ids.h"

namespace zu {
namespace {

// An open file handle, closed when it goes.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (is_open())
      CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool is_open() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

CCodeViewDlg::CCodeViewDlg(HWND parent) : ModalDialog(IDD_CODE_VIEW, parent) {
  // The dialog's text control is a rich edit: its class must exist before
  // the dialog is made.
  InitRichEdit();
}

bool CCodeViewDlg::OnInitDialog() {
  names_.Attach(Item(IDC_CODE_FILES));
  text_.Attach(Item(IDC_CODE_TEXT));
  text_.SetTextLimit(0x7FFFFFFF);
  for (const Text& path : files) {
    const int slash = path.ReverseFind('\\');
    if (slash < 0)
      continue;
    file_folder = path.Left(static_cast<std::size_t>(slash));
    names_.AddString(path.Mid(static_cast<std::size_t>(slash) + 1).c_str());
  }
  names_.SetCurSel(0);
  Load(current_file);
  return ModalDialog::OnInitDialog();
}

bool CCodeViewDlg::OnCommand(int id, int code) {
  if (id == IDC_CODE_FILES && code == CBN_SELCHANGE) {
    const int chosen = names_.CurSel();
    if (chosen >= 0)
      Load(file_folder + "\\" + names_.TextAt(chosen).str());
    return true;
  }
  if (code != BN_CLICKED)
    return false;
  if (id == IDC_SAVE_CODE) {
    Save();
    return true;
  }
  if (id == IDC_EXIT_CODE_VIEW) {
    EndDialog(IDOK);
    return true;
  }
  return false;
}

bool CCodeViewDlg::OnMessage(UINT message, WPARAM wparam, LPARAM, LRESULT&) {
  if (message == WM_SHOWWINDOW && wparam) {
    SetFocus(text_.hwnd());
    text_.SetSelection(1, 2);
  }
  return false;  // the default handling runs as well
}

void CCodeViewDlg::Load(const Text& path) {
  current_file = path;
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.is_open() && text_.LoadPlainText(file.get()))
    shown_file_ = path;
}

void CCodeViewDlg::Save() {
  // An existing file only, emptied as it opens: a file that has gone is not
  // made anew.
  if (shown_file_.IsEmpty())
    return;
  FileHandle file(CreateFileA(shown_file_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.is_open())
    text_.SavePlainText(file.get());
}

}  // namespace zu
