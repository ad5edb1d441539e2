#include "format_io/quoted.h"

namespace zu::fio {

std::string Quoted(std::string_view bytes, std::size_t shown) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (std::size_t i = 0; i < bytes.size() && i < shown; ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x20 || c == 0x7f) {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  if (bytes.size() > shown)
    out += "...";
  out += '"';
  return out;
}

}  // namespace zu::fio
