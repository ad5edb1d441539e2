// The plug-in as the host holds it: the loaded library and its six entry
// points, found by ordinal. Windows only.
#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace zuhost {

using EntryPoint = FARPROC;
inline constexpr int kEntryPointCount = 6;

class PluginModule {
 public:
  PluginModule() = default;
  ~PluginModule() { Unload(); }
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  // Loads the library at `path` and looks up ordinals 1 to 6. Returns "" on
  // success, else a sentence saying what failed (the library stays unloaded
  // when it could not be loaded; a missing ordinal leaves it loaded).
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
