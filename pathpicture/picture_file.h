// A picture's text saved whole or not at all.
#pragma once

#include <string>
#include <string_view>

namespace zuhost {

// Writes `text` to a new file beside `utf8_path` (NAME.writing) and puts it
// in place of `utf8_path` only when it is complete: a failed write leaves
// whatever was there and no new file behind. Returns "" on success, else
// what failed.
[[nodiscard]] std::string SaveWhole(std::string_view text, const std::string& utf8_path);

}  // namespace zuhost
