// libFuzzer target: the post module's command lines and process file on any
// bytes. A request parse gives a request or an error, never both or
// neither; an accepted process file has its three entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "postmodule/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string_view arguments = postmodule::ArgumentsOf(text);
  for (const std::string_view input : {text, arguments}) {
    const postmodule::ParsedRequest request = postmodule::ParsePostRequest(input);
    if (request.request.has_value() == !request.error.empty())
      std::abort();
    (void)postmodule::ParseEditorArguments(input);
    (void)postmodule::ProcessFileFor(input);
  }
  const postmodule::ProcessFile process = postmodule::ParseProcessFile(text);
  if (process.error.empty() &&
      (!process.entries.count("mcfname") || !process.entries.count("gcodename") ||
       !process.entries.count("exename")))
    std::abort();
  return 0;
}
