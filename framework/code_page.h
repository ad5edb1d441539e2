// Conversions between the ANSI code page (936 in the plug-in), UTF-16 and
// UTF-8. Windows only. Texts that do not convert come back empty.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zu {

std::wstring AnsiToWide(std::string_view ansi);
std::string WideToAnsi(std::wstring_view wide);
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
inline std::string AnsiToUtf8(std::string_view ansi) {
  return WideToUtf8(AnsiToWide(ansi));
}
inline std::string Utf8ToAnsi(std::string_view utf8) {
  return WideToAnsi(Utf8ToWide(utf8));
}

// The first character of `utf8` (as UTF-8) that the ANSI code page cannot
// hold, so that a conversion would put '?' in its place; empty when every
// character converts.
std::string FirstCharacterNotInAnsi(std::string_view utf8);

// A window's text as UTF-16 (what the window really holds).
std::wstring WindowTextWide(HWND window);
inline std::string WindowTextUtf8(HWND window) {
  return WideToUtf8(WindowTextWide(window));
}

}  // namespace zu
