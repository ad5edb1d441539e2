// The external post module: its folders in the registry, the process file
// that tells the post processor what to do, and the command lines of the
// post processor ("ORVOPost.exe") and the machine-configuration editor
// ("OrvoPostUI.exe").
#pragma once

#include <string>
#include <string_view>

#include "framework/text.h"

namespace zu {

// The code-file name of the current post command (at most 259 characters),
// kept between the two calls of entry point 1.
inline constexpr std::size_t kPostCodeNameSize = 260;
extern char PostCodeName[kPostCodeNameSize];

// Registry key of the post module, under HKEY_LOCAL_MACHINE.
inline constexpr const char* kPostModuleKey = "SOFTWARE\\ORVO\\ORVOPOST";

// Status codes of FindPostRegValue and ReadPostRegValue.
enum PostRegStatus { kRegFound = 0, kRegNoKey = 1, kRegNoValue = 2, kRegNoFolder = 3 };

// A registry value with its trailing '\\', '/', '*', '?', '"', '<', '>' and
// '|' characters removed (runs of them, in any mix).
std::string TrimPostRegValue(std::string_view value);

// Reads value `name` of the post module's key, trims it, and hands it back in
// `out` when it names something that exists. On any other status `out` is
// left as it was. Windows only.
int FindPostRegValue(const char* name, Text& out);
// Reads value `name` unchanged into `out`. Windows only.
int ReadPostRegValue(const char* name, Text& out);

// The process file beside a tool-location file: every trailing 'p', 'm' and
// 'f' removed, then "pro" appended (part.pmf gives part.pro, map gives mapro).
std::string ProcessFileNameFor(std::string_view tool_location_file);

// Writes the process file for `tool_location_file` from PostSettings and
// PostCodeName. False when the file cannot be created.
bool WriteProcessFile(const char* tool_location_file);

// Command lines. `prefix` is the "PostModule" folder followed by
// "\\ORVOPost.exe "; `module_folder` is the "PostModule" folder.
std::string PostProcessorCommand(std::string_view prefix, std::string_view tool_location_file);
std::string TextRoadCommand(std::string_view module_folder, std::string_view tool_location_file,
                            std::string_view post_path, std::string_view nc_system,
                            std::string_view code_file);
std::string EditorCommand(std::string_view module_folder, std::string_view mcf_folder);

// How a started program is shown: SW_SHOWNORMAL (1), or SW_HIDE (0).
struct ProgramStart {
  int show = 1;
};
// Starts `command_line` as the whole command line and goes on without
// waiting; true when a process was created. Its handles are closed before
// returning. A program that cannot be started is reported in a message box
// with the stop icon. Windows only.
bool StartProgram(const std::string& command_line, const ProgramStart& start);

// How a program that was waited for ended.
struct ProgramRun {
  bool started = false;         // false: reported in a message box
  unsigned long exit_code = 0;  // when started: the code it ended with
};
// Starts `command_line` like StartProgram and waits for it to end, without
// time limit. Windows only.
ProgramRun RunProgram(const std::string& command_line, const ProgramStart& start);

// What entry point 1's launch came to.
enum class Launch {
  Started,        // the post processor runs
  NotStarted,     // it could not be started (reported in a message box)
  NoProcessFile,  // the process file could not be created; nothing was started
};
// Entry point 1's launch: the process file, then the post processor.
Launch LaunchPostProcessor(std::string_view prefix, const char* tool_location_file);

// The tool-location file that is kept beside the code file `code_file`: the
// file name's extension replaced by ".pmf" (appended when it has none), in
// the code file's own folder.
std::string ToolLocationBesideCode(std::string_view code_file);

// The Windows folder followed by "\\notepad.exe"; empty, after a message with
// the stop icon, when the Windows folder cannot be obtained.
Text DefaultViewer();

}  // namespace zu
