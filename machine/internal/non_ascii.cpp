#include "machine/internal/non_ascii.h"

#include <cstddef>

namespace zu::machine::internal {
namespace {

// The index of the last quote of a multi-line string's closing quotes that
// begin at `i`: its last three of up to five.
std::size_t AfterClosingQuotes(std::string_view text, std::size_t i) {
  const char quote = text[i];
  std::size_t last = i + 2;
  while (last + 1 < text.size() && text[last + 1] == quote && last < i + 4)
    ++last;
  return last;
}

}  // namespace

int NonAsciiLine(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF")  // a UTF-8 byte order mark
    text.remove_prefix(3);
  enum class In { kNothing, kComment, kBasic, kLiteral, kBasicLines, kLiteralLines };
  In in = In::kNothing;
  int line = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      ++line;
      if (in == In::kComment || in == In::kBasic || in == In::kLiteral)
        in = In::kNothing;  // a single-line string left open is toml++'s error
      continue;
    }
    if (byte > 0x7F && in != In::kComment)
      return line;
    const bool triple = text.substr(i, 3) == std::string_view(c == '"' ? "\"\"\"" : "'''");
    switch (in) {
      case In::kNothing:
        if (c == '#') {
          in = In::kComment;
        } else if (c == '"' || c == '\'') {
          const bool basic = c == '"';
          in = triple ? (basic ? In::kBasicLines : In::kLiteralLines)
                      : (basic ? In::kBasic : In::kLiteral);
          if (triple)
            i += 2;
        }
        break;
      case In::kComment:
        break;
      case In::kBasic:
      case In::kBasicLines:
        if (c == '\\' && i + 1 < text.size() && text[i + 1] != '\n' &&
            static_cast<unsigned char>(text[i + 1]) <= 0x7F)
          ++i;  // an escaped character; a byte above 0x7F is refused when it comes
        else if (c == '"' && in == In::kBasic)
          in = In::kNothing;
        else if (c == '"' && triple)
          in = In::kNothing, i = AfterClosingQuotes(text, i);
        break;
      case In::kLiteral:
      case In::kLiteralLines:
        if (c == '\'' && in == In::kLiteral)
          in = In::kNothing;
        else if (c == '\'' && triple)
          in = In::kNothing, i = AfterClosingQuotes(text, i);
        break;
    }
  }
  return 0;
}

}  // namespace zu::machine::internal
