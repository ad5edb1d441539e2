#include "format_io/testing/line_edits.h"

namespace zu::fio_testing {

std::vector<std::string> CrLfLinesOf(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const auto end = text.find("\r\n");
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos)
      break;
    text.remove_prefix(end + 2);
  }
  return lines;
}

std::string JoinedWithCrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\r\n";
  return text;
}

std::string Edited(std::string_view text, int number, Edit edit, std::string_view lines) {
  std::vector<std::string> result = CrLfLinesOf(text);
  const auto at = static_cast<std::ptrdiff_t>(number - 1);
  std::vector<std::string> added;
  for (std::size_t start = 0;;) {
    const auto end = lines.find('\n', start);
    added.emplace_back(lines.substr(start, end - start));
    if (end == std::string_view::npos)
      break;
    start = end + 1;
  }
  if (edit != Edit::InsertBefore)
    result.erase(result.begin() + at);
  if (edit != Edit::Remove)
    result.insert(result.begin() + at, added.begin(), added.end());
  return JoinedWithCrLf(result);
}

}  // namespace zu::fio_testing
