// The plug-in's settings: one process-wide record, PostSettings, mirrored in
// the settings file ZuPost.ini ("[MCFINFO]" and one KEY=VALUE line per
// field). Every command points the record at the settings file and loads it
// first; the dialogs save it when the user confirms them.
#pragma once

#include <functional>
#include <string>

#include "framework/text.h"

namespace zu {

// The finest path conversion tolerance (JigTolerance) the settings keep, in
// mm: a tenth of a micrometre, finer than any machine resolves. A finer
// positive value is refused by the dialog and raised to it when loaded.
inline constexpr double kMinJigTolerance = 0.0001;

struct PostSettingsRecord {
  Text CurrentMcf;      // NC system: .mcf file name without folder and extension
  Text McfFolder;       // folder of the .mcf files; from the registry only
  Text ExeFileName;     // viewer program for the code file
  int PickPath = 0;     // 0 pick paths, 1 post an existing tool-location file
  int LeavePmf = 0;     // keep the tool-location file beside the code file
  int FileNameID = 0;   // serial last used for automatic naming
  int UseJigCoord = 0;  // orientation milling: current system is the jig system
  int JigToolAxis = 2;  // retract axis 0 X, 1 Y, 2 Z
  int FixMillMode = 0;  // 0 five-axis mode, 1 tilted-plane mode
  double JigToolUpHeight = 500.0;
  double JigTolerance = 0.005;
  int UseCurrentGName = 0;         // keep the code-file name as typed
  Text PmfPathName;                // tool-location file for mode 1
  Text CodePathName;               // code file to be written; never empty after a load
  Text FileNameSuffix = "NC####";  // naming rule: each run of '#' is the serial
  Text ReadCode;                   // last G-code file read back
  int OptimizePath = 0;
  double OptimizeTol = 0.005;
  double MinSectionLine = 1e-7;
  double MaxArcRadius = 9999;
  double MinArcRadius = 0.01;
  Text FilePath;  // the settings file
};

// The one settings record of the process.
extern PostSettingsRecord PostSettings;

// What loading needs from outside the file: the registry's "PostPath", the
// host's base folder and the file system.
struct SettingsSources {
  // The folder of the .mcf files, or false when the registry has none.
  std::function<bool(Text& folder)> read_post_path;
  std::string home_folder;
  std::function<bool(const std::string& folder)> folder_missing;
  std::function<void(const std::string& folder)> make_folder;
};

// Reloads `settings` from the file at settings.FilePath: McfFolder from the
// registry, the folder Cut under the home folder made, then every known key
// of the file. Missing keys leave fields as they are; a file that cannot be
// opened or does not start with "[MCFINFO]" changes nothing but McfFolder and
// the default CodePathName. Lines longer than 1023 characters, keys or values
// longer than 255 and lines without '=' are skipped. A JigTolerance above zero
// but below kMinJigTolerance is raised to it.
void LoadSettingsFrom(PostSettingsRecord& settings, const SettingsSources& sources);

// Writes every field but McfFolder to settings.FilePath ("%d", "%g", "%s").
// A file that cannot be opened is skipped silently.
void SaveSettingsTo(const PostSettingsRecord& settings);

// LoadSettingsFrom and SaveSettingsTo on PostSettings with the platform's
// registry, host folder and file system (Windows build).
void LoadSettings();
void SaveSettings();

}  // namespace zu
