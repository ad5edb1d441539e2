// The search for code files, through the Windows file search.
#include <windows.h>

#include "environment/code_file_search.h"

namespace zu {

namespace {

std::uint64_t Ticks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

std::uint64_t FileTimeNow() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return Ticks(now);
}

std::vector<std::string> FindCodeFiles(std::string_view code_file, std::uint64_t written_since) {
  const std::string pattern = CodeFilePattern(code_file);
  const std::string folder(PatternFolder(pattern));
  std::vector<std::string> files;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return files;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        Ticks(found.ftLastWriteTime) >= written_since)
      files.push_back(folder + found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return files;
}

}  // namespace zu
