#include "postpath_file/internal/apt_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace zu::ppf_internal {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Bytes a text may not show as they are: the escape itself, APT's
// continuation and comment mark, and control bytes (a CTRL-Z ends a file
// that a Windows program reads in text mode).
bool MustEscape(unsigned char c) {
  return c == '%' || c == '$' || c < 0x20 || c == 0x7f;
}

bool IsGbkLead(unsigned char c) {
  return c >= 0x81 && c <= 0xfe;
}

bool IsGbkTrail(unsigned char c) {
  return c >= 0x40 && c <= 0xfe && c != 0x7f;
}

// How many payload bytes the token at `i` takes (a GBK character is two,
// never split) and how many bytes it is written as.
struct Token {
  std::size_t bytes;
  std::size_t written;
};
Token TokenAt(std::string_view payload, std::size_t i) {
  const auto c = static_cast<unsigned char>(payload[i]);
  if (MustEscape(c))
    return {1, 3};
  if (IsGbkLead(c) && i + 1 < payload.size() &&
      IsGbkTrail(static_cast<unsigned char>(payload[i + 1])))
    return {2, 2};
  return {1, 1};
}

// Appends payload[begin, end) escaped, its last byte as "%20" when a blank.
void AppendPiece(std::string& out, std::string_view payload, std::size_t begin, std::size_t end) {
  for (std::size_t i = begin; i < end; ++i) {
    const auto c = static_cast<unsigned char>(payload[i]);
    if (MustEscape(c) || (c == ' ' && i + 1 == end)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
}

// Where the piece that starts at `begin` ends, for pieces of at most
// `capacity` written bytes: all of the rest when it fits, else after the
// last ',' that fits, else as far as fits.
std::size_t PieceEnd(std::string_view payload, std::size_t begin, std::size_t capacity) {
  std::size_t written = 0;
  std::size_t fits = begin;
  std::size_t after_comma = begin;
  std::size_t i = begin;
  while (i < payload.size()) {
    const Token token = TokenAt(payload, i);
    if (written + token.written > capacity)
      break;
    written += token.written;
    i += token.bytes;
    // A blank that ends a piece is written as "%20".
    const bool blank = token.bytes == 1 && payload[i - 1] == ' ';
    if (written + (blank ? 2 : 0) <= capacity) {
      fits = i;
      if (payload[i - 1] == ',')
        after_comma = i;
    }
  }
  if (fits == payload.size())
    return fits;
  if (after_comma > begin)
    return after_comma;
  // A line holds at least one token (capacity is well above 3).
  return fits > begin ? fits : begin + TokenAt(payload, begin).bytes;
}

}  // namespace

bool AppendReal(std::string& out, double value) {
  if (!std::isfinite(value))
    return false;
  char text[kRealMaxLength];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  out.append(text, result.ptr);
  return true;
}

RealError ParseReal(std::string_view text, double& value, std::string* canonical) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == '-')
    ++i;
  const std::size_t first = i;
  while (i < text.size() && IsDigit(text[i]))
    ++i;
  if (i == first)
    return RealError::Shape;
  const std::string_view integer = text.substr(first, i - first);
  if (i < text.size()) {
    if (text[i] != '.')
      return RealError::Shape;
    const std::size_t point = ++i;
    while (i < text.size() && IsDigit(text[i]))
      ++i;
    if (i == point || i != text.size())
      return RealError::Shape;
  }
  const auto result =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small for a double: it reads as a zero, which has a shorter text.
    if (integer.find_first_not_of('0') == std::string_view::npos) {
      if (canonical)
        canonical->assign(first == 1 ? "-0" : "0");
      return RealError::NotShortest;
    }
    return RealError::Range;
  }
  if (result.ec != std::errc() || result.ptr != text.data() + text.size())
    return RealError::Shape;
  char again[kRealMaxLength];
  const auto written = std::to_chars(again, again + sizeof again, value, std::chars_format::fixed);
  const std::string_view own(again, static_cast<std::size_t>(written.ptr - again));
  if (own != text) {
    if (canonical)
      canonical->assign(own);
    return RealError::NotShortest;
  }
  return RealError::None;
}

void AppendInt(std::string& out, int value) {
  char text[16];
  const auto result = std::to_chars(text, text + sizeof text, value);
  out.append(text, result.ptr);
}

IntError ParseInt(std::string_view text, int& value) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == '-')
    ++i;
  if (i == text.size() || (text[i] == '0' && text.size() != 1))
    return IntError::Shape;
  for (std::size_t j = i; j < text.size(); ++j) {
    if (!IsDigit(text[j]))
      return IntError::Shape;
  }
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc())
    return IntError::Range;
  return IntError::None;
}

bool IsWritableText(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

void AppendPprintLines(std::string& out, std::string_view payload, std::string_view line_end) {
  const std::size_t capacity = kLineWidth - kPprintFirst.size();
  std::size_t begin = 0;
  do {
    const std::size_t end = PieceEnd(payload, begin, capacity);
    out += begin == 0 ? kPprintFirst : kPprintNext;
    AppendPiece(out, payload, begin, end);
    out += line_end;
    begin = end;
  } while (begin < payload.size());
}

void AppendPartnoLine(std::string& out, std::string_view name) {
  out += "PARTNO";
  if (name.empty())
    return;
  out += ' ';
  const std::size_t capacity = kLineWidth - 7;
  AppendPiece(out, name, 0, PieceEnd(name, 0, capacity));
}

bool DecodePiece(std::string_view piece, std::string& out) {
  const auto hex = [](char c) {
    if (IsDigit(c))
      return c - '0';
    if (c >= 'A' && c <= 'F')
      return c - 'A' + 10;
    return -1;
  };
  for (std::size_t i = 0; i < piece.size(); ++i) {
    if (piece[i] != '%') {
      out += piece[i];
      continue;
    }
    if (i + 2 >= piece.size())
      return false;
    const int high = hex(piece[i + 1]);
    const int low = hex(piece[i + 2]);
    if (high < 0 || low < 0)
      return false;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return true;
}

void AppendStatementLines(std::string& out, std::string_view statement, std::string_view line_end) {
  while (statement.size() > kLineWidth) {
    const std::string_view room = statement.substr(0, kLineWidth - 1);
    const std::size_t comma = room.rfind(',');
    const std::size_t cut = comma == std::string_view::npos ? room.size() : comma + 1;
    out += statement.substr(0, cut);
    out += '$';
    out += line_end;
    statement.remove_prefix(cut);
  }
  out += statement;
  out += line_end;
}

}  // namespace zu::ppf_internal
