// The search for code files, through the Windows file search.
#include <windows.h>

#include "shell/code_file_search.h"

namespace zu {

std::vector<std::string> FindCodeFiles(std::string_view code_file) {
  const std::string pattern = CodeFilePattern(code_file);
  const auto slash = pattern.rfind('\\');
  const std::string folder = slash == std::string::npos ? "" : pattern.substr(0, slash + 1);
  std::vector<std::string> files;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return files;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      files.push_back(folder + found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return files;
}

}  // namespace zu
