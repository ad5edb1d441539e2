// libFuzzer target: the part document parser on any bytes. A document it
// accepts is saved as text it accepts again, and saving that gives the same
// text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "hostapp/part_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view json(reinterpret_cast<const char*>(data), size);
  const zuhost::DocumentLoad load = zuhost::ParsePartDocument(json, "fuzz.json");
  if (!load.document)
    return 0;
  const std::string saved = zuhost::FormatPartDocument(*load.document);
  const zuhost::DocumentLoad again = zuhost::ParsePartDocument(saved, "saved.json");
  if (!again.document || zuhost::FormatPartDocument(*again.document) != saved)
    std::abort();
  return 0;
}
