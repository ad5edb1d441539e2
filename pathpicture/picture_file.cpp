#include "pathpicture/picture_file.h"

#include <filesystem>
#include <fstream>

namespace zuhost {

namespace {

// Paths are UTF-8 whatever the ANSI code page: the path keeps them wide on
// Windows.
std::filesystem::path FilePath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

std::string SaveWhole(std::string_view text, const std::string& utf8_path) {
  const std::string temporary = utf8_path + ".writing";
  std::error_code ignored;
  {
    std::ofstream out(FilePath(temporary), std::ios::binary | std::ios::trunc);
    if (!out)
      return temporary + ": cannot be created";
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      std::filesystem::remove(FilePath(temporary), ignored);
      return temporary + ": could not be written completely";
    }
  }
  std::error_code error;
  std::filesystem::rename(FilePath(temporary), FilePath(utf8_path), error);
  if (error) {
    std::filesystem::remove(FilePath(temporary), ignored);
    return utf8_path + ": cannot be replaced: " + error.message();
  }
  return {};
}

}  // namespace zuhost
