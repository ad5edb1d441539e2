// Where a machine configuration holds a byte above 0x7F outside its
// comments. toml++ 3.3 reaches an unreachable branch (undefined behaviour)
// when it asks whether some non-ASCII characters are white space (U+00A1 to
// U+0499 among them), which it does for a character outside strings and
// comments; no value of a configuration holds one, so the reader refuses
// such text before toml++ sees it, and only comments may hold them.
#pragma once

#include <string_view>

namespace zu::machine::internal {

// The line (from 1) of the first byte above 0x7F that is not inside a TOML
// comment, or 0 when there is none. Strings are followed as TOML writes them
// (basic and literal, single- and multi-line, escapes) so that a '#' inside
// one does not start a comment; a UTF-8 byte order mark is skipped.
int NonAsciiLine(std::string_view text);

}  // namespace zu::machine::internal
