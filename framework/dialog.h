// Modal dialogs built from dialog resources. A derived class fills its
// controls in OnInitDialog, exchanges values in DoDataExchange and handles
// commands and notifications; OK saves the values (a refused value keeps the
// dialog open) and Cancel leaves them. Under automation (automation.h) the
// script's steps are applied to the dialog once it is shown, one at a time,
// through window messages. Windows only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/data_exchange.h"

namespace zu {

class ModalDialog {
 public:
  // `resource_id` names a dialog resource of a registered extension module or
  // of the program; `parent` may be null.
  explicit ModalDialog(int resource_id, HWND parent = nullptr)
      : resource_id_(resource_id), parent_(parent) {}
  virtual ~ModalDialog() = default;
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  // Shows the dialog and returns when it ends: IDOK, IDCANCEL or the code
  // given to EndDialog; -1 when it cannot be created (no such resource, or
  // no display).
  INT_PTR DoModal();

  int resource_id() const { return resource_id_; }
  // The dialog window while the dialog runs, else null.
  HWND hwnd() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

  // Exchanges all values; `save` true reads the controls. False when a value
  // was refused.
  bool UpdateData(bool save);
  // Ends the dialog with `result` once the current message is handled.
  void EndDialog(INT_PTR result);

 protected:
  // Called when the dialog is created, before it is shown. The default fills
  // the controls (UpdateData(false)) and lets the system set the focus
  // (returns true).
  virtual bool OnInitDialog();
  virtual void DoDataExchange(DataExchange& dx);
  // The default saves the values and ends with IDOK unless a value is refused.
  virtual void OnOK();
  // The default ends with IDCANCEL.
  virtual void OnCancel();
  // A WM_COMMAND other than OK and Cancel; return true when handled.
  virtual bool OnCommand(int id, int code);
  // A WM_NOTIFY; return true when handled, with the result in `result`.
  virtual bool OnNotify(const NMHDR& header, LRESULT& result);
  // Any other message; return true when handled, with the result in `result`.
  virtual bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void StartAutomation();
  void RunAutomationStep();

  int resource_id_;
  HWND parent_;
  HWND hwnd_ = nullptr;
  bool ending_ = false;
  bool automated_ = false;
};

}  // namespace zu
