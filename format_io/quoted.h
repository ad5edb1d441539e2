// Bytes from a file quoted for a reader's message.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zu::fio {

// `bytes` with control bytes (below 0x20, and 0x7F) as \xNN with upper-case
// hex digits: a NUL or a line end cannot cut or break the text it goes into.
std::string Escaped(std::string_view bytes);

// `bytes` in double quotes: at most `shown` of them, then "..." when there
// are more; control bytes (below 0x20, and 0x7F) as \xNN with upper-case
// hex digits, so that a message stays one line of plain text.
std::string Quoted(std::string_view bytes, std::size_t shown);

}  // namespace zu::fio
