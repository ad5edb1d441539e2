#include "codewriter/number_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace zu::codewriter {

namespace {

// The rounded text without trailing zeros; `point` says whether a whole
// number keeps its point.
void Append(std::string& out, double value, int decimals, bool point) {
  std::array<char, 400> text;
  const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value,
                                          std::chars_format::fixed, decimals);
  if (error != std::errc()) {
    out += '0';
    return;
  }
  const char* first = text.data();
  const char* last = end;
  const char* dot = nullptr;
  for (const char* c = first; c != last; ++c) {
    if (*c == '.')
      dot = c;
  }
  if (dot) {
    while (last[-1] == '0')
      --last;
    if (last - 1 == dot && !point)
      --last;
  }
  // "-0" and "-0." are zero.
  bool zero = true;
  for (const char* c = first; c != last; ++c) {
    if (*c >= '1' && *c <= '9')
      zero = false;
  }
  if (zero && *first == '-')
    ++first;
  out.append(first, last);
  if (!dot && point)
    out += '.';
}

}  // namespace

void AppendDecimal(std::string& out, double value, int decimals) {
  Append(out, value, decimals, true);
}

void AppendPlain(std::string& out, double value, int decimals) {
  Append(out, value, decimals, false);
}

void AppendInteger(std::string& out, long long value) {
  std::array<char, 24> text;
  const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value);
  out.append(text.data(), error == std::errc() ? end : text.data());
}

}  // namespace zu::codewriter
