// The NC-system dialog (resource 9001) of the text road: the NC system, from
// the machine configurations of the registry's "Postpath" folder, and the
// bare name of the code file to generate. OK places that name in a
// temporary folder of its own (MakeTempCodePath). It reads and writes no
// settings. Windows only.
#pragma once

#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/text.h"

namespace zu {

class CNcSystemDlg : public ModalDialog {
 public:
  explicit CNcSystemDlg(HWND parent = nullptr);

  Text nc_system;        // 1608: the chosen NC system (the first listed at opening)
  Text typed_code_file;  // 9006: the code-file name as typed
  Text code_file;        // the typed name, with ".cut" when it has no '.'
  // After IDOK: the code file's full path (at most 259 characters), in a
  // folder MakeTempCodePath chose or made.
  Text code_path;
  // After IDOK: the folder made for the code file, empty when none was made
  // (the host's post hook gave one, or the temporary folder itself is used).
  // The caller removes it when the run ends without writing into it.
  Text made_folder;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;
  void OnOK() override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;

 private:
  // The refusal of the typed name, or "" when it is a bare file name.
  const char* TypedNameRefusal() const;

  ListView systems_;
};

}  // namespace zu
