#include "framework/dialog_driver.h"

#include <commctrl.h>

#include <vector>

#include "framework/code_page.h"

namespace zu {
namespace {

std::string Usable(HWND control, int id) {
  if (!control)
    return "the dialog has no control " + std::to_string(id);
  if (!IsWindowEnabled(control))
    return "control " + std::to_string(id) + " is disabled";
  if (!IsWindowVisible(control))
    return "control " + std::to_string(id) + " is hidden";
  return {};
}

std::string ListItemText(HWND list, int index) {
  std::vector<wchar_t> buffer(1024);
  LVITEMW item{};
  item.iSubItem = 0;
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(buffer.size());
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return WideToUtf8(buffer.data());
}

std::string ComboItemText(HWND combo, int index) {
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR)
    return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(buffer.data()));
  return WideToUtf8(buffer.data());
}

// The index the step names, by number or by text; -1 when there is none.
template <typename TextAt>
int FindItem(const AutomationStep& step, int count, TextAt text_at) {
  if (step.index)
    return *step.index < count ? *step.index : -1;
  for (int i = 0; i < count; ++i) {
    if (text_at(i) == step.text)
      return i;
  }
  return -1;
}

std::string ClickListItem(HWND dialog, HWND list, const AutomationStep& step) {
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  const int index = FindItem(step, count, [&](int i) { return ListItemText(list, i); });
  if (index < 0)
    return "the list has no such item";
  // Select and focus the item, as the click would, then tell the dialog.
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SetFocus(list);
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&state));
  SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
  NMITEMACTIVATE activate{};
  activate.hdr.hwndFrom = list;
  activate.hdr.idFrom = static_cast<UINT_PTR>(step.control);
  activate.hdr.code = step.kind == StepKind::ListDoubleClick ? NM_DBLCLK : NM_CLICK;
  activate.iItem = index;
  activate.iSubItem = 0;
  SendMessageW(dialog, WM_NOTIFY, static_cast<WPARAM>(step.control),
               reinterpret_cast<LPARAM>(&activate));
  return {};
}

std::string ChooseComboItem(HWND dialog, HWND combo, const AutomationStep& step) {
  const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  const int index = FindItem(step, count, [&](int i) { return ComboItemText(combo, i); });
  if (index < 0)
    return "the combo box has no such item";
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(step.control, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  return {};
}

// OK and Cancel go through their buttons when the dialog has them, so that a
// disabled button refuses; otherwise straight to the dialog.
std::string PressDialogButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  if (button) {
    if (auto why = Usable(button, id); !why.empty())
      return why;
    SendMessageW(button, BM_CLICK, 0, 0);
  } else {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  }
  return {};
}

}  // namespace

std::string ApplyDialogStep(HWND dialog, const AutomationStep& step) {
  switch (step.kind) {
    case StepKind::Ok:
      return PressDialogButton(dialog, IDOK);
    case StepKind::Cancel:
      return PressDialogButton(dialog, IDCANCEL);
    case StepKind::SetText:
    case StepKind::Click:
    case StepKind::ListClick:
    case StepKind::ListDoubleClick:
    case StepKind::ComboChoose:
      break;
    default:
      return "this step does not apply to an open dialog";
  }
  HWND control = GetDlgItem(dialog, step.control);
  if (auto why = Usable(control, step.control); !why.empty())
    return why;
  switch (step.kind) {
    case StepKind::SetText:
      SetWindowTextW(control, Utf8ToWide(step.text).c_str());
      return {};
    case StepKind::Click:
      SendMessageW(control, BM_CLICK, 0, 0);
      return {};
    case StepKind::ListClick:
    case StepKind::ListDoubleClick:
      return ClickListItem(dialog, control, step);
    default:
      return ChooseComboItem(dialog, control, step);
  }
}

}  // namespace zu
