// A line's fields, cut at a separator, without copying.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace zu::fio {

// Splits `text` at every `separator`, filling `out` with the first N
// fields; returns how many fields there are (one more than separators), so
// that a caller tells a line of the wrong count from the right one.
template <std::size_t N>
std::size_t SplitFields(std::string_view text, char separator,
                        std::array<std::string_view, N>& out) {
  std::size_t count = 0;
  for (;;) {
    const std::size_t at = text.find(separator);
    if (count < N)
      out[count] = text.substr(0, at);
    ++count;
    if (at == std::string_view::npos)
      return count;
    text.remove_prefix(at + 1);
  }
}

}  // namespace zu::fio
