#include "ui/nc_system_dlg.h"

#include <string>

#include "framework/message_box.h"
#include "environment/post_module.h"
#include "ui/post_code_dlg.h"
#include "ui/resource_ids.h"
#include "ui/temp_code_path.h"

namespace zu {

CNcSystemDlg::CNcSystemDlg(HWND parent) : ModalDialog(IDD_NC_SYSTEM_SELECT, parent) {}

bool CNcSystemDlg::OnInitDialog() {
  systems_.Attach(Item(IDC_NC_SYSTEMS));
  systems_.SetUpSingleColumn("选择数控系统", 180);
  Text folder;  // stays empty without the registry value: the drive's root is searched
  FindPostRegValue("Postpath", folder);
  FillMcfList(systems_, folder);
  if (systems_.Count() > 0) {
    nc_system = systems_.ItemText(0);
    systems_.Select(0);
  } else {
    nc_system.Empty();
  }
  return ModalDialog::OnInitDialog();
}

void CNcSystemDlg::DoDataExchange(DataExchange& dx) {
  ExchangeText(dx, IDC_NC_SYSTEM, nc_system);
  ExchangeText(dx, IDC_CODE_FILE, typed_code_file);
}

bool CNcSystemDlg::OnNotify(const NMHDR& header, LRESULT&) {
  if (header.idFrom != IDC_NC_SYSTEMS || (header.code != NM_CLICK && header.code != NM_DBLCLK)) {
    return false;
  }
  if (TakeClickedNcSystem(header, systems_, nc_system, hwnd(), IDC_NC_SYSTEM))
    OnOK();
  return true;
}

const char* CNcSystemDlg::TypedNameRefusal() const {
  if (typed_code_file.IsEmpty())
    return "代码文件名不能空！";
  // Character by character: the second byte of a double-byte character may
  // be 0x5C, which is no '\\'. '/' separates folders on Windows as '\\'
  // does: refused alike, so that the file cannot land outside its folder.
  const std::string& name = typed_code_file.str();
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < name.size()) {
      ++i;
      continue;
    }
    if (c == '\\' || c == ':' || c == '/')
      return "只能输入文件名，不需要输入目录。";
  }
  return "";
}

void CNcSystemDlg::OnOK() {
  if (!UpdateData(true))
    return;
  if (const char* refusal = TypedNameRefusal(); *refusal) {
    ShowMessage(refusal, MessageIcon::None, hwnd());
    return;
  }
  code_file = typed_code_file;
  if (code_file.Find('.') < 0)
    code_file += ".cut";
  // The caller keeps the path in a buffer of kPostCodeNameSize bytes.
  const TempCodePath made = MakeTempCodePath(typed_code_file, code_file);
  if (made.path.Length() >= kPostCodeNameSize) {
    if (!made.made_folder.IsEmpty())
      RemoveDirectoryA(made.made_folder.c_str());
    const std::string message = "代码文件名太长，不能超过259个字符！\n" + made.path.str();
    ShowMessage(message.c_str(), MessageIcon::None, hwnd());
    return;
  }
  code_path = made.path;
  made_folder = made.made_folder;
  EndDialog(IDOK);
}

}  // namespace zu
