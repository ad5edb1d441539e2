// The last part of a file path as Windows and the files between the
// programs write them: what follows the last '\', '/' or drive colon.
#pragma once

#include <string_view>

namespace zu::fio {

// "C:\FOLDER\NAME.EXT" -> "NAME.EXT"; a path without a folder as it is.
inline std::string_view FileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/:");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace zu::fio
