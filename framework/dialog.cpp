#include "framework/dialog.h"

#include <string>

#include "framework/automation.h"
#include "framework/code_page.h"
#include "framework/dialog_driver.h"
#include "framework/extension_module.h"

namespace zu {
namespace {

// Timer of a dialog under automation: carry out the next step. A timer fires
// only when the dialog's queue is empty, so the dialog has been shown (the
// system shows a modal dialog once its queue first runs empty).
constexpr UINT_PTR kAutomationTimer = 0x2A0;
constexpr UINT kStepDelayMs = 1;

void InitCommonControlsOnce() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                  ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)done;
}

const char* ResultName(INT_PTR result) {
  switch (result) {
    case IDOK:
      return "ok";
    case IDCANCEL:
      return "cancel";
    default:
      return nullptr;
  }
}

}  // namespace

INT_PTR ModalDialog::DoModal() {
  InitCommonControlsOnce();
  const LPCSTR name = MAKEINTRESOURCEA(resource_id_);
  HINSTANCE module = FindResourceModule(MAKEINTRESOURCEA(5) /* RT_DIALOG */, name);
  Automation* automation = Automation::Get();
  if (!module) {
    if (automation)
      automation->Record("dialog " + std::to_string(resource_id_) + " missing");
    return -1;
  }
  ending_ = false;
  automated_ = false;
  const INT_PTR result = DialogBoxParamA(module, name, parent_, &ModalDialog::Procedure,
                                         reinterpret_cast<LPARAM>(this));
  if (automation && automated_) {
    const char* named = ResultName(result);
    automation->Record("end " + std::to_string(resource_id_) + " " +
                       (named ? named : std::to_string(result)));
  }
  hwnd_ = nullptr;
  return result;
}

bool ModalDialog::UpdateData(bool save) {
  DataExchange dx(hwnd_, save);
  DoDataExchange(dx);
  return !dx.failed();
}

void ModalDialog::EndDialog(INT_PTR result) {
  ending_ = true;
  ::EndDialog(hwnd_, result);
}

bool ModalDialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void ModalDialog::DoDataExchange(DataExchange&) {}

void ModalDialog::OnOK() {
  if (UpdateData(true))
    EndDialog(IDOK);
}

void ModalDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

bool ModalDialog::OnCommand(int, int) {
  return false;
}

bool ModalDialog::OnNotify(const NMHDR&, LRESULT&) {
  return false;
}

bool ModalDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

INT_PTR CALLBACK ModalDialog::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<ModalDialog*>(lparam);
    SetWindowLongPtrA(window, DWLP_USER, lparam);
    dialog->hwnd_ = window;
  }
  auto* dialog = reinterpret_cast<ModalDialog*>(GetWindowLongPtrA(window, DWLP_USER));
  return dialog ? dialog->Handle(message, wparam, lparam) : FALSE;
}

INT_PTR ModalDialog::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      const bool default_focus = OnInitDialog();
      StartAutomation();
      return default_focus ? TRUE : FALSE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      if (id == IDOK) {
        OnOK();
        return TRUE;
      }
      if (id == IDCANCEL) {
        OnCancel();
        return TRUE;
      }
      return OnCommand(id, HIWORD(wparam)) ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (!OnNotify(*reinterpret_cast<const NMHDR*>(lparam), result))
        return FALSE;
      SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
      return TRUE;
    }
    case WM_TIMER:
      if (wparam == kAutomationTimer && automated_) {
        KillTimer(hwnd_, kAutomationTimer);
        RunAutomationStep();
        return TRUE;
      }
      [[fallthrough]];
    default: {
      LRESULT result = 0;
      if (!OnMessage(message, wparam, lparam, result))
        return FALSE;
      SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
      return TRUE;
    }
  }
}

void ModalDialog::StartAutomation() {
  Automation* automation = Automation::Get();
  if (!automation)
    return;
  automated_ = true;
  automation->Record("dialog " + std::to_string(resource_id_) + " " +
                     QuoteText(WindowTextUtf8(hwnd_)));
  if (const AutomationStep* step = automation->Peek();
      step && step->kind == StepKind::ExpectDialog) {
    if (step->control != resource_id_) {
      automation->RecordError(*step, "a different dialog appeared: the dialog is cancelled");
      EndDialog(IDCANCEL);
      return;
    }
    automation->Advance();
  }
  SetTimer(hwnd_, kAutomationTimer, kStepDelayMs, nullptr);
}

// One step per timer, so that a step that opens a nested modal loop (a
// message box, a file dialog, another dialog) has finished before the next
// step is taken; the timer is stopped while a step runs.
void ModalDialog::RunAutomationStep() {
  Automation* automation = Automation::Get();
  if (!automation || ending_)
    return;
  if (!IsWindowVisible(hwnd_)) {
    SetTimer(hwnd_, kAutomationTimer, kStepDelayMs, nullptr);
    return;
  }
  const AutomationStep* step = automation->Peek();
  if (!step || step->kind == StepKind::ExpectDialog) {
    automation->Record("out of steps: dialog " + std::to_string(resource_id_) + " cancelled");
    EndDialog(IDCANCEL);
    return;
  }
  const AutomationStep current = *step;
  automation->Advance();
  automation->Record(DescribeStep(current));
  if (std::string error = ApplyDialogStep(hwnd_, current); !error.empty()) {
    automation->RecordError(current, error);
  }
  if (!ending_)
    SetTimer(hwnd_, kAutomationTimer, kStepDelayMs, nullptr);
}

}  // namespace zu
