// Value exchange between a dialog's controls and its fields. When saving, a
// field that does not hold a valid value is refused with the standard request
// (for a number, for an integer), the control gets the focus, and the exchange
// stops: failed() is then true and the dialog stays open. Windows only.
#pragma once

#include <windows.h>

#include "framework/text.h"

namespace zu {

class DataExchange {
 public:
  DataExchange(HWND dialog, bool saving) : dialog_(dialog), saving_(saving) {}

  // True: controls to fields (the user confirmed); false: fields to controls.
  bool saving() const { return saving_; }
  // True once a value was refused; later exchanges then do nothing.
  bool failed() const { return failed_; }
  HWND dialog() const { return dialog_; }

  // Refuses the value of control `id` with `message` (ANSI code page).
  void Refuse(int id, const char* message);

 private:
  HWND dialog_;
  bool saving_;
  bool failed_ = false;
};

// Standard requests shown when a value is refused.
inline constexpr const char* kRequestNumber = "请输入一个数字。";
inline constexpr const char* kRequestInteger = "请输入一个整数。";

// Text of an edit or static control.
void ExchangeText(DataExchange& dx, int id, Text& value);
// An integer typed into an edit control.
void ExchangeInt(DataExchange& dx, int id, int& value);
// A real number typed into an edit control, shown with 15 significant digits.
void ExchangeDouble(DataExchange& dx, int id, double& value);
// A check box: 0 clear, 1 checked, 2 indeterminate.
void ExchangeCheck(DataExchange& dx, int id, int& value);
// A radio group starting at `first_id` (the button with the group style): the
// index of the checked button, -1 when none is checked.
void ExchangeRadio(DataExchange& dx, int first_id, int& value);

}  // namespace zu
