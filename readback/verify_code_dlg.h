// The verify dialog (resource 9000, "校核G代码"): the code file to read back
// and the NC system whose description governs the reading. In its checking
// mode (entry point 4) the code file is chosen and checked on OK, and the
// choices are saved to the settings; in its fixed-file mode (entry point 6)
// the host has named the file and only the NC system is chosen. Windows only.
#pragma once

#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/text.h"

namespace zu {

class CVerifyCodeDlg : public ModalDialog {
 public:
  // Starts from the settings record: the code file CodePathName, the NC
  // system CurrentMcf, the folder McfFolder, checking mode.
  explicit CVerifyCodeDlg(HWND parent = nullptr);

  int CheckFile = 1;  // 1 checking mode, 0 fixed-file mode
  Text CodeFile;      // 9013
  Text NcSystem;      // shown in 9016
  Text SystemFolder;  // the folder whose .mcf files are listed

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;
  void OnOK() override;
  bool OnCommand(int id, int code) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;

 private:
  void Browse();
  ListView systems_;
};

}  // namespace zu
