#include "framework/data_exchange.h"

#include <string>
#include <vector>

#include "framework/field_parse.h"
#include "framework/message_box.h"

namespace zu {
namespace {

std::string ControlText(HWND control) {
  const int length = GetWindowTextLengthA(control);
  std::vector<char> buffer(static_cast<std::size_t>(length > 0 ? length : 0) + 1);
  const int got = GetWindowTextA(control, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), static_cast<std::size_t>(got > 0 ? got : 0));
}

// The radio buttons of the group that starts at `first`, in tab order.
std::vector<HWND> RadioGroup(HWND first) {
  std::vector<HWND> group;
  for (HWND control = first; control; control = GetWindow(control, GW_HWNDNEXT)) {
    if (control != first && (GetWindowLongA(control, GWL_STYLE) & WS_GROUP))
      break;
    const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
      group.push_back(control);
  }
  return group;
}

}  // namespace

void DataExchange::Refuse(int id, const char* message) {
  failed_ = true;
  ShowMessage(message, MessageIcon::Exclamation, dialog_);
  if (HWND control = GetDlgItem(dialog_, id)) {
    SetFocus(control);
    SendMessageA(control, EM_SETSEL, 0, -1);
  }
}

void ExchangeText(DataExchange& dx, int id, Text& value) {
  if (dx.failed())
    return;
  HWND control = GetDlgItem(dx.dialog(), id);
  if (dx.saving()) {
    value = Text(ControlText(control));
  } else {
    SetWindowTextA(control, value.c_str());
  }
}

void ExchangeInt(DataExchange& dx, int id, int& value) {
  if (dx.failed())
    return;
  HWND control = GetDlgItem(dx.dialog(), id);
  if (dx.saving()) {
    if (auto parsed = ParseIntField(ControlText(control))) {
      value = *parsed;
    } else {
      dx.Refuse(id, kRequestInteger);
    }
  } else {
    SetWindowTextA(control, std::to_string(value).c_str());
  }
}

void ExchangeDouble(DataExchange& dx, int id, double& value) {
  if (dx.failed())
    return;
  HWND control = GetDlgItem(dx.dialog(), id);
  if (dx.saving()) {
    if (auto parsed = ParseDoubleField(ControlText(control))) {
      value = *parsed;
    } else {
      dx.Refuse(id, kRequestNumber);
    }
  } else {
    SetWindowTextA(control, FormatDoubleField(value).c_str());
  }
}

void ExchangeCheck(DataExchange& dx, int id, int& value) {
  if (dx.failed())
    return;
  HWND control = GetDlgItem(dx.dialog(), id);
  if (dx.saving()) {
    value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
  } else {
    SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void ExchangeRadio(DataExchange& dx, int first_id, int& value) {
  if (dx.failed())
    return;
  const auto group = RadioGroup(GetDlgItem(dx.dialog(), first_id));
  if (dx.saving()) {
    value = -1;
    for (std::size_t i = 0; i < group.size(); ++i) {
      if (SendMessageA(group[i], BM_GETCHECK, 0, 0) == BST_CHECKED)
        value = static_cast<int>(i);
    }
  } else {
    for (std::size_t i = 0; i < group.size(); ++i) {
      SendMessageA(group[i], BM_SETCHECK,
                   static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
}

}  // namespace zu
