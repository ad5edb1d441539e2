// Path tests for the native build's unit tests: the file system's status of
// the path itself (no wildcard search).
#include <filesystem>

#include "environment/path_tests.h"

namespace zu {

int FolderMissing(const char* path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored) ? 0 : 1;
}

int FileMissing(const char* path) {
  std::error_code ignored;
  const auto status = std::filesystem::status(path, ignored);
  return std::filesystem::exists(status) && !std::filesystem::is_directory(status) ? 0 : 1;
}

void MakeOneFolder(const char* path) {
  std::error_code ignored;
  std::filesystem::create_directory(path, ignored);
}

}  // namespace zu
