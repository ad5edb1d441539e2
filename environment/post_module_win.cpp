// The post module's Windows edge: registry values, starting programs and the
// Windows folder.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "framework/message_box.h"
#include "environment/path_tests.h"
#include "environment/post_module.h"

namespace zu {
namespace {

constexpr DWORD kValueBufferSize = 2048;

int ReadValue(const char* name, std::string& value) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPostModuleKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return kRegNoKey;
  }
  char buffer[kValueBufferSize] = {};
  DWORD size = sizeof buffer - 1;
  DWORD type = REG_SZ;
  const LONG result =
      RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS)
    return kRegNoValue;
  value = buffer;
  return kRegFound;
}

}  // namespace

int FindPostRegValue(const char* name, Text& out) {
  std::string value;
  if (const int status = ReadValue(name, value); status != kRegFound)
    return status;
  value = TrimPostRegValue(value);
  if (value.empty() || FolderMissing(value.c_str()))
    return kRegNoFolder;
  out = value;
  return kRegFound;
}

int ReadPostRegValue(const char* name, Text& out) {
  std::string value;
  const int status = ReadValue(name, value);
  if (status == kRegFound)
    out = value;
  return status;
}

namespace {

// Creates the process of `command_line`; null handles, after a message box
// with the stop icon, when it cannot be started. The caller closes both.
PROCESS_INFORMATION CreateProgram(const std::string& command_line, const ProgramStart& start) {
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(start.show);
  PROCESS_INFORMATION process;
  ZeroMemory(&process, sizeof process);
  std::vector<char> line(command_line.begin(), command_line.end());
  line.push_back('\0');
  CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                 nullptr, &startup, &process);
  if (!process.hProcess) {
    const std::string message = "无法启动程序：\n" + command_line;
    ShowMessage(message.c_str(), MessageIcon::Stop);
  }
  return process;
}

}  // namespace

bool StartProgram(const std::string& command_line, const ProgramStart& start) {
  const PROCESS_INFORMATION process = CreateProgram(command_line, start);
  if (!process.hProcess)
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

ProgramRun RunProgram(const std::string& command_line, const ProgramStart& start) {
  const PROCESS_INFORMATION process = CreateProgram(command_line, start);
  ProgramRun run;
  if (!process.hProcess)
    return run;
  run.started = true;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  run.exit_code = GetExitCodeProcess(process.hProcess, &code) ? code : ~0UL;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return run;
}

Launch LaunchPostProcessor(std::string_view prefix, const char* tool_location_file) {
  if (!WriteProcessFile(tool_location_file)) {
    const std::string name = ProcessFileNameFor(tool_location_file);
    std::printf("Failed to Create file: %s.\n", name.c_str());
    std::fflush(stdout);
    const std::string message = "无法创建工艺文件，没有生成代码：\n" + name;
    ShowMessage(message.c_str(), MessageIcon::Stop);
    return Launch::NoProcessFile;
  }
  return StartProgram(PostProcessorCommand(prefix, tool_location_file), ProgramStart{SW_SHOWNORMAL})
             ? Launch::Started
             : Launch::NotStarted;
}

Text DefaultViewer() {
  char folder[260] = {};
  if (GetWindowsDirectoryA(folder, sizeof folder) == 0) {
    ShowMessage("无法找到 Window 目录！", MessageIcon::Stop);
    return Text();
  }
  Text viewer;
  viewer.Format("%s%s", folder, "\\notepad.exe");
  return viewer;
}

}  // namespace zu
