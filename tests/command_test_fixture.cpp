#include "tests/command_test_fixture.h"

#include <windows.h>

#include <fstream>

#include "tests/test_text.h"

namespace zutest {

std::string ExampleDocument(const std::string& document) {
  return std::string(ZU_SOURCE_DIR) + "/examples/" + document;
}

std::string GoldenBytes(const std::string& name) {
  return ReadBytes(std::string(ZU_SOURCE_DIR) + "/tests/golden/" + name);
}

ProgramRun RunHost(const std::string& arguments, const std::string& script,
                   const std::string& script_file, const std::string& record_file) {
  std::ofstream(script_file, std::ios::binary) << script;
  return RunProgram("\"" + BinFolder() + "\\zuhost.exe\" " + arguments + " --automation \"" +
                    script_file + "\" --record \"" + record_file + "\"");
}

void PluginCommandTest::SetUp() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  folder_ = std::string(temp) + prefix_ +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
            std::to_string(GetCurrentProcessId());
  RunProgram("cmd /c rmdir /s /q \"" + folder_ + "\"");
  CreateDirectoryA(folder_.c_str(), nullptr);
  script_ = folder_ + "\\script.txt";
  record_ = folder_ + "\\record.txt";
  module_record_ = folder_ + "\\postmodule.txt";
  SetEnvironmentVariableA("ZU_POSTMODULE_RECORD", module_record_.c_str());
  // The plug-in's settings file: para beside the host's folder, made when
  // the plug-in is first loaded (perhaps not yet in a fresh build).
  const std::string para = BinFolder().substr(0, BinFolder().find_last_of('\\')) + "\\para";
  CreateDirectoryA(para.c_str(), nullptr);
  settings_ = para + "\\ZuPost.ini";
  DeleteFileA(settings_.c_str());
}

void PluginCommandTest::TearDown() {
  SetEnvironmentVariableA("ZU_POSTMODULE_RECORD", nullptr);
  DeleteFileA(settings_.c_str());
  RunProgram("cmd /c rmdir /s /q \"" + folder_ + "\"");
}

ProgramRun PluginCommandTest::RunHost(const std::string& arguments,
                                      const std::string& script) const {
  return zutest::RunHost(arguments, script, script_, record_);
}

void PluginCommandTest::Settings(const std::string& keys) const {
  std::ofstream(settings_, std::ios::binary) << "[MCFINFO]\r\n" << keys;
}

PostModuleValue::PostModuleValue(const char* name, const std::string& data) : name_(name) {
  HKEY key = nullptr;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ORVO\\ORVOPOST", 0, KEY_READ | KEY_SET_VALUE, &key);
  key_ = key;
  char old[2048] = {};
  DWORD size = sizeof old;
  had_ = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) ==
         ERROR_SUCCESS;
  old_ = old;
  Set(data);
}

PostModuleValue::~PostModuleValue() {
  if (had_)
    Set(old_);
  else
    RegDeleteValueA(static_cast<HKEY>(key_), name_.c_str());
  RegCloseKey(static_cast<HKEY>(key_));
}

void PostModuleValue::Set(const std::string& data) {
  RegSetValueExA(static_cast<HKEY>(key_), name_.c_str(), 0, REG_SZ,
                 reinterpret_cast<const BYTE*>(data.c_str()), static_cast<DWORD>(data.size() + 1));
}

}  // namespace zutest
