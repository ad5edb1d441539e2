// Path tests through the C runtime's access test and Windows file search.
#include <io.h>
#include <windows.h>

#include "environment/path_tests.h"

namespace zu {

namespace {

// Whether a file search for `path` finds an entry, and whether it is a folder.
bool SearchFinds(const char* path, bool& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE)
    return false;
  folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  FindClose(search);
  return true;
}

}  // namespace

int FolderMissing(const char* path) {
  if (_access(path, 0) == 0)
    return 0;
  bool folder = false;
  return SearchFinds(path, folder) && folder ? 0 : 1;
}

int FileMissing(const char* path) {
  bool folder = false;
  return SearchFinds(path, folder) && !folder ? 0 : 1;
}

void MakeOneFolder(const char* path) {
  CreateDirectoryA(path, nullptr);
}

}  // namespace zu
