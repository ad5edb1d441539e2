#include "hostapp/plugin_module.h"

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

std::string PluginModule::Load(const std::string& path) {
  Unload();
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
