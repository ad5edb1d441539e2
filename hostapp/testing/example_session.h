// For tests: an example document loaded into the host's session as the host
// program loads it, texts in the host's code page (GBK, converted with the
// C library's iconv), the stock box set, and every path picked. Native only.
#pragma once

#include <string>

#include "host/services.h"

namespace zuhost::testing {

// Loads examples/`document` of the source tree at `source_dir`; returns the
// picked list, or null (with a test failure) when the document is refused.
PickNode* LoadAndPickAll(const std::string& source_dir, const std::string& document);

// The bytes of a file; empty when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace zuhost::testing
