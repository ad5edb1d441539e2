// Where the settings file lives: the folder "para" beside the folder of the
// host executable.
#pragma once

#include <string>
#include <string_view>

namespace zu {

// Full path of the settings file. "C:ZuPost.ini" until the library's load
// notification fixes it from the host executable's path.
extern std::string SettingsFilePath;

// The folder "para" for the host executable `exe_path`: the path cut at its
// last two backslashes (the file name and the folder that holds it), then
// "\\para". A path with fewer than two backslashes gives "\\para" appended to
// what is left before its only backslash (or to nothing).
std::string SettingsFolderFor(std::string_view exe_path);

}  // namespace zu
