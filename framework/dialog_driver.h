// Carries out one automation step on a dialog through window messages, as a
// person's typing and clicking would produce them. Windows only.
#pragma once

#include <windows.h>

#include <string>

#include "framework/automation_script.h"

namespace zu {

// Applies `step` to `dialog`; returns why it could not be done, or "".
// A disabled or hidden control cannot be used, as for a person.
std::string ApplyDialogStep(HWND dialog, const AutomationStep& step);

}  // namespace zu
