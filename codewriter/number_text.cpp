#include "codewriter/number_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace zu::codewriter {

namespace {

constexpr double kPowers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// The common case without the general formatter: |value| times 10^decimals
// below 1e9 and not within 1e-6 of a rounding boundary, where the product's
// own rounding (under 1e-7) cannot change the nearest integer. False
// otherwise, for the exact formatter to decide.
bool AppendFast(std::string& out, double value, int decimals, bool point) {
  if (decimals < 0 || decimals > 9)
    return false;
  const double scaled = std::fabs(value) * kPowers[decimals];
  if (!(scaled < 1e9))
    return false;
  const double whole = std::floor(scaled);
  const double fraction = scaled - whole;
  if (std::fabs(fraction - 0.5) < 1e-6)
    return false;
  auto n = static_cast<unsigned long long>(whole) + (fraction > 0.5 ? 1 : 0);
  std::array<char, 24> digits;
  int count = 0;
  do {
    digits[static_cast<std::size_t>(count++)] = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n > 0);
  // Digits come least significant first; at least decimals + 1 of them.
  while (count <= decimals)
    digits[static_cast<std::size_t>(count++)] = '0';
  int first_kept = 0;  // the lowest decimal digit kept
  while (first_kept < decimals && digits[static_cast<std::size_t>(first_kept)] == '0')
    ++first_kept;
  bool zero = true;
  for (int k = first_kept; k < count; ++k)
    zero = zero && digits[static_cast<std::size_t>(k)] == '0';
  // Composed in place and appended once.
  std::array<char, 32> text;
  std::size_t length = 0;
  if (value < 0 && !zero)
    text[length++] = '-';
  for (int k = count - 1; k >= decimals; --k)
    text[length++] = digits[static_cast<std::size_t>(k)];
  if (first_kept < decimals || point)
    text[length++] = '.';
  for (int k = decimals - 1; k >= first_kept; --k)
    text[length++] = digits[static_cast<std::size_t>(k)];
  out.append(text.data(), length);
  return true;
}

// The rounded text without trailing zeros; `point` says whether a whole
// number keeps its point.
void Append(std::string& out, double value, int decimals, bool point) {
  if (AppendFast(out, value, decimals, point))
    return;
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
