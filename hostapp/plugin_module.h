// The plug-in as the host holds it: the loaded library and its six entry
// points, found by ordinal. Windows only.
#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace zuhost {

using EntryPoint = FARPROC;
inline constexpr int kEntryPointCount = 6;
// The internal name in the plug-in's version resource.
inline constexpr const char* kPluginInternalName = "zupost";

// The internal name in the version resource of the file at `path`; empty
// when it has none.
std::string VersionInternalName(const std::string& path);

class PluginModule {
 public:
  PluginModule() = default;
  ~PluginModule() { Unload(); }
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  // Checks that the library at `path` is the plug-in (its version resource's
  // internal name is kPluginInternalName; another library exporting ordinals
  // 1 to 6 would be called with the wrong arguments), loads it and looks up
  // ordinals 1 to 6. Returns "" on success, else a sentence saying what
  // failed (the library stays unloaded when it is not the plug-in or could
  // not be loaded; a missing ordinal leaves it loaded).
  std::string Load(const std::string& path);
  // Unloads the library; nothing happens when none is loaded.
  void Unload();

  bool loaded() const { return module_ != nullptr; }
  // Entry point `ordinal` (1 to 6), or null when the library lacks it.
  EntryPoint entry(int ordinal) const;
  // The same, as a pointer to the function type the caller knows it has.
  template <typename Function>
  Function entry_as(int ordinal) const {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(entry(ordinal)));
  }

 private:
  HMODULE module_ = nullptr;
  std::array<EntryPoint, kEntryPointCount> entries_{};
};

// A Windows error code in words, in English whatever the system's language.
std::string DescribeWindowsError(DWORD code);

}  // namespace zuhost
