#include "drawing/svg_text.h"

#include <charconv>
#include <cmath>

namespace zu::draw {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the UTF-8 sequence starting at text[i] (1 to 4), or 0 when
// the bytes there are not one (overlong forms, surrogates and values past
// U+10FFFF included).
std::size_t SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned code = 0;
  if (lead < 0x80)
    return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size())
    return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80)
      return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  if (overlong || surrogate || code > 0x10FFFF || code == 0xFFFE || code == 0xFFFF)
    return 0;
  return length;
}

}  // namespace

std::string EscapeXml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const std::size_t length = SequenceLength(text, i);
    if (length == 0) {
      out += kReplacement;
      ++i;
      continue;
    }
    if (length > 1) {
      out.append(text.substr(i, length));
      i += length;
      continue;
    }
    ++i;
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
          out += kReplacement;
        else
          out += c;
    }
  }
  return out;
}

void AppendNumber(std::string& out, double value, int decimals) {
  if (!std::isfinite(value))
    value = 0;
  char text[400];
  const auto written =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  std::string_view printed(text, static_cast<std::size_t>(written.ptr - text));
  // A negative value that rounds to zero prints as "-0.000".
  if (printed.front() == '-' && printed.find_first_not_of("-0.") == std::string_view::npos)
    printed.remove_prefix(1);
  out.append(printed);
}

std::string Number(double value, int decimals) {
  std::string out;
  AppendNumber(out, value, decimals);
  return out;
}

std::string Length(double value) {
  std::string out = Number(value, 3);
  if (out.find('.') != std::string::npos) {
    while (out.back() == '0')
      out.pop_back();
    if (out.back() == '.')
      out.pop_back();
  }
  return out;
}

}  // namespace zu::draw
