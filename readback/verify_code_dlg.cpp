#include "readback/verify_code_dlg.h"

#include "framework/file_dialog.h"
#include "framework/message_box.h"
#include "readback/verify_ids.h"
#include "environment/path_tests.h"
#include "environment/post_settings.h"
#include "ui/post_code_dlg.h"

namespace zu {

CVerifyCodeDlg::CVerifyCodeDlg(HWND parent)
    : ModalDialog(IDD_VERIFY_CODE, parent),
      CodeFile(PostSettings.CodePathName),
      NcSystem(PostSettings.CurrentMcf),
      SystemFolder(PostSettings.McfFolder) {}

bool CVerifyCodeDlg::OnInitDialog() {
  systems_.Attach(Item(IDC_VERIFY_SYSTEMS));
  systems_.SetUpSingleColumn("选择数控系统", 200);
  FillMcfList(systems_, SystemFolder);
  if (!NcSystem.IsEmpty()) {
    // The current system (first exact match) is marked, selected and shown;
    // a system no longer in the folder keeps its name.
    if (const int item = systems_.FindItem(NcSystem.c_str()); item >= 0) {
      systems_.SetHotItem(item);
      systems_.Select(item);
      systems_.EnsureVisible(item);
    }
  } else {
    NcSystem = systems_.Count() > 0 ? systems_.ItemText(0) : Text();
  }
  SetDlgItemTextA(hwnd(), IDC_VERIFY_SYSTEM, NcSystem.c_str());
  if (!CheckFile) {
    for (int id : {IDC_VERIFY_CODE_FILE, IDC_VERIFY_BROWSE, IDC_VERIFY_CODE_LABEL})
      EnableWindow(Item(id), FALSE);
  }
  return ModalDialog::OnInitDialog();
}

void CVerifyCodeDlg::DoDataExchange(DataExchange& dx) {
  ExchangeText(dx, IDC_VERIFY_CODE_FILE, CodeFile);
}

bool CVerifyCodeDlg::OnCommand(int id, int code) {
  if (id == IDC_VERIFY_BROWSE && code == BN_CLICKED) {
    Browse();
    return true;
  }
  return false;
}

bool CVerifyCodeDlg::OnNotify(const NMHDR& header, LRESULT&) {
  if (header.idFrom != IDC_VERIFY_SYSTEMS ||
      (header.code != NM_CLICK && header.code != NM_DBLCLK)) {
    return false;
  }
  if (TakeClickedNcSystem(header, systems_, NcSystem, hwnd(), IDC_VERIFY_SYSTEM))
    OnOK();
  return true;
}

void CVerifyCodeDlg::Browse() {
  FileDialogOptions options;
  options.default_extension = "cut";
  options.filter = "cut Files (*.cut)|*.cut|txt Files (*.txt)|*.txt|All Files (*.*)|*.*||";
  options.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT;
  if (const int slash = CodeFile.ReverseFind('\\'); slash >= 0)
    options.initial_folder = CodeFile.Left(static_cast<std::size_t>(slash) + 1);
  if (auto chosen = RunFileDialog(options, hwnd())) {
    CodeFile = *chosen;
    UpdateData(false);
  }
}

void CVerifyCodeDlg::OnOK() {
  if (!CheckFile) {
    EndDialog(IDOK);
    return;
  }
  if (!UpdateData(true))
    return;
  if (CodeFile.IsEmpty()) {
    ShowMessage("代码文件名不能空！", MessageIcon::None, hwnd());
    return;
  }
  if (FileMissing(CodeFile.c_str())) {
    const std::string message = CodeFile.str() + " 文件不存在!";
    ShowMessage(message.c_str(), MessageIcon::None, hwnd());
    return;
  }
  PostSettings.CurrentMcf = NcSystem;
  PostSettings.McfFolder = SystemFolder;
  PostSettings.ReadCode = CodeFile;
  SaveSettings();
  EndDialog(IDOK);
}

}  // namespace zu
