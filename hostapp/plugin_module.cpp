#include "hostapp/plugin_module.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace zuhost {

std::string DescribeWindowsError(DWORD code) {
  switch (code) {
    case ERROR_MOD_NOT_FOUND:
      return "the library or one it needs was not found";
    case ERROR_DLL_INIT_FAILED:
      return "its initialisation refused the load";
    case ERROR_BAD_EXE_FORMAT:
      return "it is not a 32-bit Windows library";
    case ERROR_PROC_NOT_FOUND:
      return "a function it imports was not found";
    default:
      return "Windows error " + std::to_string(code);
  }
}

std::string VersionInternalName(const std::string& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0)
    return {};
  std::vector<char> info(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, info.data()))
    return {};
  struct Translation {
    WORD language;
    WORD code_page;
  };
  Translation* translations = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translations), &length) ||
      length < sizeof(Translation)) {
    return {};
  }
  char key[64];
  std::snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\InternalName",
                translations[0].language, translations[0].code_page);
  char* name = nullptr;
  if (!VerQueryValueA(info.data(), key, reinterpret_cast<void**>(&name), &length) || !name)
    return {};
  return std::string(name, strnlen(name, length));
}

std::string PluginModule::Load(const std::string& path) {
  Unload();
  // The library is loaded from exactly this path: a search elsewhere could
  // find a library that was never checked.
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    return "cannot load " + path + ": " + DescribeWindowsError(ERROR_MOD_NOT_FOUND) + " (error " +
           std::to_string(ERROR_MOD_NOT_FOUND) + ")";
  }
  const std::string name = VersionInternalName(path);
  if (name != kPluginInternalName) {
    return path + " is not the post-processing plug-in: " +
           (name.empty() ? std::string("it has no version resource naming it")
                         : "its version resource names it \"" + name + "\"") +
           " (expected \"" + kPluginInternalName + "\")";
  }
  module_ = LoadLibraryA(path.c_str());
  if (!module_) {
    const DWORD error = GetLastError();
    return "cannot load " + path + ": " + DescribeWindowsError(error) + " (error " +
           std::to_string(error) + ")";
  }
  std::string missing;
  for (int ordinal = 1; ordinal <= kEntryPointCount; ++ordinal) {
    entries_[ordinal - 1] = GetProcAddress(module_, MAKEINTRESOURCEA(ordinal));
    if (!entries_[ordinal - 1])
      missing += (missing.empty() ? "" : ", ") + std::to_string(ordinal);
  }
  if (!missing.empty())
    return path + " has no entry point " + missing;
  return {};
}

void PluginModule::Unload() {
  if (module_)
    FreeLibrary(module_);
  module_ = nullptr;
  entries_ = {};
}

EntryPoint PluginModule::entry(int ordinal) const {
  return ordinal >= 1 && ordinal <= kEntryPointCount ? entries_[ordinal - 1] : nullptr;
}

}  // namespace zuhost
