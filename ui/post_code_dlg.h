// The post-code dialog (resource 33) of entry point 1's first call: how to
// post (pick paths, or post an existing tool-location file), the NC system,
// the code file with its naming rule and serial, whether to keep the
// tool-location file, and the orientation options. OK checks the input,
// saves it to PostSettings and the settings file. Windows only.
#pragma once

#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/text.h"

namespace zu {

class CPostCodeDlg : public ModalDialog {
 public:
  // Fills the fields from PostSettings, which the caller has just loaded.
  explicit CPostCodeDlg(HWND parent = nullptr);

  Text nc_system;           // 1608
  Text tool_location_file;  // 9004
  int keep_tool_location;   // 9008
  int mode;                 // 9002/9003: 0 pick paths, 1 post a tool-location file
  Text code_file;           // 9006
  Text naming_rule;         // 9010
  int shown_serial;         // 9012
  Text mcf_folder;
  int serial;
  // The list item marked (hot) as the current NC system when the dialog
  // opened, the item selected then, and whether it was in view; -1, -1 and
  // false for none.
  int marked_system = -1;
  int selected_system = -1;
  bool selected_in_view = false;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;
  void OnOK() override;
  bool OnCommand(int id, int code) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;

 private:
  void Rename();
  void BrowseCodeFile();
  void BrowseToolLocationFile();
  // The first failing check's message, or "" when the input is complete.
  std::string FirstFailingCheck() const;

  ListView systems_;
};

// Fills `list` with the machine configurations of `folder` (their names
// without ".mcf"), in the order the folder search gives them.
void FillMcfList(ListView& list, const Text& folder);

// A click or double click on the list of NC systems `list`: the item's text
// becomes `nc_system` and is shown in control `shown_id` of `dialog`; a click
// beside the items keeps the system. Returns true for a double click on an
// item, which the dialog then takes as OK.
bool TakeClickedNcSystem(const NMHDR& header, const ListView& list, Text& nc_system, HWND dialog,
                         int shown_id);

}  // namespace zu
