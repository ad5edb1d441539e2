// The post-settings dialog (resource 12911) of entry point 2: the viewer
// program for the code file and the switches and limits of path
// optimisation. It works on the copies its caller sets and reads back.
// Windows only.
#pragma once

#include "framework/dialog.h"
#include "framework/text.h"

namespace zu {

class CPostSetDlg : public ModalDialog {
 public:
  explicit CPostSetDlg(HWND parent = nullptr);

  Text viewer;
  int optimize_path = 0;
  double optimize_tol = 0;
  double min_section_line = 0;
  double max_arc_radius = 0;
  double min_arc_radius = 0;
  int show_selection = 0;  // the hidden check box; nothing reads it

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;
  bool OnCommand(int id, int code) override;
};

}  // namespace zu
