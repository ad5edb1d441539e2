#include "format_io/crlf_lines.h"

#include <cstring>
#include <string>

#include "format_io/read_result.h"

namespace zu::fio {

std::string_view CrLfLines::Take(std::string_view where) {
  if (at_end())
    throw ReadFault{line_ + 1, "the file ends " + std::string(where)};
  ++line_;
  const char* begin = text_.data() + pos_;
  const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', text_.size() - pos_));
  if (!lf)
    throw ReadFault{line_, "the file ends inside this line, before its CR LF"};
  const auto length = static_cast<std::size_t>(lf - begin);
  if (length == 0 || begin[length - 1] != '\r')
    throw ReadFault{line_, "the line ends in LF alone, expected CR LF"};
  pos_ += length + 1;
  return {begin, length - 1};
}

void CrLfLines::ExpectEnd(std::string_view last) const {
  if (!at_end())
    throw ReadFault{line_ + 1, "text after " + std::string(last)};
}

}  // namespace zu::fio
