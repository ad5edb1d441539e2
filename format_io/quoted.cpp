#include "format_io/quoted.h"

namespace zu::fio {

std::string Escaped(std::string_view bytes) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  for (const char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    if (c < 0x20 || c == 0x7f) {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += byte;
    }
  }
  return out;
}

std::string Quoted(std::string_view bytes, std::size_t shown) {
  std::string out = "\"" + Escaped(bytes.substr(0, shown));
  if (bytes.size() > shown)
    out += "...";
  out += '"';
  return out;
}

}  // namespace zu::fio
