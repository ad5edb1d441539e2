// The interpreter's reasons (ASCII English, as the portable library gives
// them) in the language of the reader's messages, in the host's code page.
#pragma once

#include <string>
#include <string_view>

namespace zureader {

// `reason` in Chinese, its values (numbers, words, names) kept; a reason
// this table does not know comes back as it is.
std::string ReasonText(std::string_view reason);

}  // namespace zureader
