// Message boxes with an OK button and an optional icon. Under automation the
// box is still shown for real; it is recorded (caption, text, icon, as the
// window holds them) and answered by the script's "answer" step, or with OK.
// Windows only.
#pragma once

#include <windows.h>

namespace zu {

enum class MessageIcon { None, Stop, Exclamation, Information };

// Shows `text` (ANSI code page) and waits for the answer; returns the button
// pressed (IDOK). `caption` null means the program's name. `owner` may be null.
int ShowMessage(const char* text, MessageIcon icon = MessageIcon::None, HWND owner = nullptr,
                const char* caption = nullptr);

// The same for any MessageBox type flags (MB_OK, MB_YESNO, MB_ICONSTOP, ...).
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);

}  // namespace zu
