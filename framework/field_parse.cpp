#include "framework/field_parse.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cctype>
#include <string>

namespace zu {
namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos)
    return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<int> ParseIntField(std::string_view text) {
  const std::string trimmed(Trim(text));
  if (trimmed.empty())
    return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(trimmed.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < INT32_MIN || value > INT32_MAX)
    return std::nullopt;
  return static_cast<int>(value);
}

std::optional<double> ParseDoubleField(std::string_view text) {
  const std::string trimmed(Trim(text));
  if (trimmed.empty())
    return std::nullopt;
  // strtod would take "inf", "nan" and hexadecimal forms: a person types none of them.
  for (char c : trimmed) {
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' ||
          c == 'e' || c == 'E')) {
      return std::nullopt;
    }
  }
  char* end = nullptr;
  const double value = std::strtod(trimmed.c_str(), &end);
  if (*end != '\0' || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::string FormatDoubleField(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

}  // namespace zu
