#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "host/services.h"
#include "ui/temp_code_path.h"

namespace zu {
namespace {

// Counts the temporary folder names of this process; never reset.
std::atomic<int> folder_counter{1};

}  // namespace

TempCodePath MakeTempCodePath(const Text& typed_name, const Text& final_name) {
  return MakeTempCodePath(HostGetPostHook(), typed_name, final_name);
}

TempCodePath MakeTempCodePath(PostHook* hook, const Text& typed_name, const Text& final_name) {
  TempCodePath result;
  Text folder;
  if (hook)
    hook->GetTempFolder(folder);
  char temp[MAX_PATH] = {};
  const DWORD length = folder.IsEmpty() ? GetTempPathA(MAX_PATH, temp) : 0;
  if (length > 0 && length < MAX_PATH) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    TempFolderNameParts parts;
    parts.month = now.wMonth;
    parts.day = now.wDay;
    parts.hour = now.wHour;
    parts.minute = now.wMinute;
    parts.second = now.wSecond;
    parts.millisecond = now.wMilliseconds;
    parts.random = std::rand();
    parts.typed_name = typed_name.str();
    parts.counter = folder_counter.fetch_add(1);
    const std::string sub_folder = CodePathIn(temp, TempCodeFolderName(parts));
    if (CreateDirectoryA(sub_folder.c_str(), nullptr)) {
      folder = sub_folder;
      result.made_folder = sub_folder;
    } else {
      folder = temp;
    }
  }
  result.path = CodePathIn(folder.str(), final_name.str());
  return result;
}

}  // namespace zu
