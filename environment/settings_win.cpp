// The settings store on the platform: the registry's "PostPath", the host's
// base folder and the Windows file system.
#include "host/services.h"
#include "environment/path_tests.h"
#include "environment/post_module.h"
#include "environment/post_settings.h"

namespace zu {

void LoadSettings() {
  SettingsSources sources;
  sources.read_post_path = [](Text& folder) { return FindPostRegValue("PostPath", folder) == 0; };
  sources.home_folder = HostHomeFolder;
  sources.folder_missing = [](const std::string& folder) {
    return FolderMissing(folder.c_str()) != 0;
  };
  sources.make_folder = [](const std::string& folder) { MakeOneFolder(folder.c_str()); };
  LoadSettingsFrom(PostSettings, sources);
}

void SaveSettings() {
  SaveSettingsTo(PostSettings);
}

}  // namespace zu
