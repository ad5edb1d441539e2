#include "format_io/testing/read_checks.h"

#include <algorithm>

namespace zu::fio_testing {

::testing::AssertionResult IsRefusedAt(const fio::ReadResult& result, int line,
                                       std::string_view message) {
  if (result.ok)
    return ::testing::AssertionFailure() << "the file was read whole";
  const std::string start = "line " + std::to_string(line) + ": ";
  if (result.line != line || !result.error.starts_with(start) ||
      result.error.find(message, start.size()) == std::string::npos) {
    return ::testing::AssertionFailure()
           << "refused at line " << result.line << " (\"" << result.error << "\"), expected line "
           << line << " and \"" << message << "\"";
  }
  return ::testing::AssertionSuccess();
}

std::string TextEnding(std::string_view text) {
  return "text of " + std::to_string(text.size()) + " bytes ending \"" +
         std::string(text.substr(text.size() - std::min<std::size_t>(20, text.size()))) + "\"";
}

}  // namespace zu::fio_testing
