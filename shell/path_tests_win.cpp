// Path tests through the C runtime's access test and Windows file search.
#include <io.h>
#include <windows.h>

#include "shell/path_tests.h"

namespace zu {

int FolderMissing(const char* path) {
  if (_access(path, 0) == 0)
    return 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE)
    return 1;
  const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  FindClose(search);
  return folder ? 0 : 1;
}

int FileMissing(const char* path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE)
    return 1;
  const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  FindClose(search);
  return folder ? 1 : 0;
}

void MakeOneFolder(const char* path) {
  CreateDirectoryA(path, nullptr);
}

}  // namespace zu
