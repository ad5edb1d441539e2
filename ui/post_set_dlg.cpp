#include "ui/post_set_dlg.h"

#include "framework/file_dialog.h"
#include "environment/post_module.h"
#include "ui/resource_ids.h"

namespace zu {

CPostSetDlg::CPostSetDlg(HWND parent) : ModalDialog(IDD_POST_SETTINGS, parent) {}

bool CPostSetDlg::OnInitDialog() {
  // An empty viewer opens as the Windows folder's notepad.exe.
  if (viewer.IsEmpty())
    viewer = DefaultViewer();
  return ModalDialog::OnInitDialog();
}

void CPostSetDlg::DoDataExchange(DataExchange& dx) {
  ExchangeCheck(dx, IDC_SHOW_SELECTION, show_selection);
  ExchangeText(dx, IDC_VIEWER, viewer);
  ExchangeCheck(dx, IDC_OPTIMIZE_PATH, optimize_path);
  ExchangeDouble(dx, IDC_OPTIMIZE_TOL, optimize_tol);
  ExchangeDouble(dx, IDC_MIN_SECTION_LINE, min_section_line);
  ExchangeDouble(dx, IDC_MAX_ARC_RADIUS, max_arc_radius);
  ExchangeDouble(dx, IDC_MIN_ARC_RADIUS, min_arc_radius);
}

bool CPostSetDlg::OnCommand(int id, int code) {
  if (id != IDC_BROWSE_VIEWER || code != BN_CLICKED)
    return false;
  FileDialogOptions options;
  options.title = "选择接收后置文件的可执行程序";
  options.flags = OFN_HIDEREADONLY;
  if (auto chosen = RunFileDialog(options, hwnd())) {
    viewer = *chosen;
    UpdateData(false);
  }
  return true;
}

}  // namespace zu
