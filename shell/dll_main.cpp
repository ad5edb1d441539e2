// The library's load notification: registration with the UI framework (a
// refusal fails the load), the rich-edit control, and the settings file's
// place beside the host executable.
#include <windows.h>

#include "framework/extension_module.h"
#include "framework/program_path.h"
#include "host/services.h"
#include "environment/settings_path.h"

namespace {

void FixSettingsFilePath() {
  const std::string exe = zu::ProgramPath();
  if (exe.empty())
    return;
  const std::string folder = zu::SettingsFolderFor(exe);
  HostFileMgrMakeFolder(folder.c_str(), 1);
  zu::SettingsFilePath = folder + "\\ZuPost.ini";
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      if (!zu::RegisterExtensionModule(instance))
        return FALSE;
      zu::InitRichEdit();
      FixSettingsFilePath();
      return TRUE;
    case DLL_PROCESS_DETACH:
      zu::UnregisterExtensionModule(instance);
      return TRUE;
    default:
      return TRUE;
  }
}
