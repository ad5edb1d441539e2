#include "framework/text.h"

#include <cstdarg>
#include <cstdio>

namespace zu {

Text& Text::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
  return *this;
}

Text& Text::FormatV(const char* format, va_list args) {
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  bytes_.clear();
  if (length > 0) {
    bytes_.resize(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(bytes_.data(), bytes_.size(), format, args);
    bytes_.resize(static_cast<std::size_t>(length));
  }
  return *this;
}

int Text::Find(char c, std::size_t from) const {
  const auto at = bytes_.find(c, from);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

std::size_t FindLastCharacter(std::string_view text, char c) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x81 && byte <= 0xFE && i + 1 < text.size()) {
      ++i;  // the trail byte belongs to this character
    } else if (text[i] == c) {
      found = i;
    }
  }
  return found;
}

int Text::ReverseFind(char c) const {
  const auto at = FindLastCharacter(bytes_, c);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

Text Text::Mid(std::size_t first, std::size_t count) const {
  if (first >= bytes_.size())
    return Text();
  return Text(bytes_.substr(first, count));
}

}  // namespace zu
