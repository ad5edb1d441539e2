#include "environment/settings_path.h"

#include "framework/text.h"

namespace zu {

std::string SettingsFilePath = "C:ZuPost.ini";

std::string SettingsFolderFor(std::string_view exe_path) {
  std::string_view folder = exe_path;
  for (int cut = 0; cut < 2; ++cut) {
    const auto slash = FindLastCharacter(folder, '\\');
    folder = slash == std::string_view::npos ? std::string_view() : folder.substr(0, slash);
  }
  return std::string(folder) + "\\para";
}

}  // namespace zu
