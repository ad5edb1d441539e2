#include "framework/code_page.h"

#include <vector>

namespace zu {
namespace {

std::wstring ToWide(UINT code_page, std::string_view text) {
  if (text.empty())
    return {};
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  if (n <= 0)
    return {};
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), size, out.data(), n);
  return out;
}

std::string FromWide(UINT code_page, std::wstring_view text) {
  if (text.empty())
    return {};
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(code_page, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0)
    return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(code_page, 0, text.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring AnsiToWide(std::string_view ansi) {
  return ToWide(CP_ACP, ansi);
}
std::string WideToAnsi(std::wstring_view wide) {
  return FromWide(CP_ACP, wide);
}
std::wstring Utf8ToWide(std::string_view utf8) {
  return ToWide(CP_UTF8, utf8);
}
std::string WideToUtf8(std::wstring_view wide) {
  return FromWide(CP_UTF8, wide);
}

std::wstring WindowTextWide(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0)
    return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  const int got = GetWindowTextW(window, buffer.data(), length + 1);
  return std::wstring(buffer.data(), static_cast<std::size_t>(got > 0 ? got : 0));
}

}  // namespace zu
