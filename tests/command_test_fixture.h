// What the command-level tests share: the host program run with its dialogs
// driven by an automation script, the example documents and golden files
// of the source tree, and a fixture with a folder of the test's own.
// Windows only.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/run_program.h"

namespace zutest {

// examples/`document` of the source tree.
std::string ExampleDocument(const std::string& document);
// The bytes of tests/golden/`name` of the source tree.
std::string GoldenBytes(const std::string& name);

// Runs zuhost.exe of the build's bin folder with `arguments`, its dialogs
// driven by `script` (written to `script_file` first) and what it shows
// recorded in `record_file`.
ProgramRun RunHost(const std::string& arguments, const std::string& script,
                   const std::string& script_file, const std::string& record_file);

// A test of the plug-in's commands: a folder of its own in the Windows
// temporary folder (made afresh, removed afterwards) holding the host's
// automation script and record and the post module's record
// (ZU_POSTMODULE_RECORD), and the plug-in's settings file removed before
// and after.
class PluginCommandTest : public ::testing::Test {
 protected:
  // The folder's name starts with `prefix`, then the test's name and the
  // process id.
  explicit PluginCommandTest(std::string prefix) : prefix_(std::move(prefix)) {}

  void SetUp() override;
  void TearDown() override;

  // Runs the host with `arguments` and `script`, recording into record_.
  ProgramRun RunHost(const std::string& arguments, const std::string& script) const;
  // Writes the plug-in's settings file: its section and `keys` (CR LF lines).
  void Settings(const std::string& keys) const;

  std::string folder_;         // the test's folder
  std::string script_;         // the host's automation script
  std::string record_;         // what the host and the dialogs showed
  std::string module_record_;  // what the post module's programs received
  std::string settings_;       // the plug-in's settings file, ZuPost.ini

 private:
  std::string prefix_;
};

// Sets a value of the post module's registry key (HKLM\SOFTWARE\ORVO\ORVOPOST)
// for one test and puts the old one back afterwards (or removes it when
// there was none).
class PostModuleValue {
 public:
  PostModuleValue(const char* name, const std::string& data);
  ~PostModuleValue();
  PostModuleValue(const PostModuleValue&) = delete;
  PostModuleValue& operator=(const PostModuleValue&) = delete;

 private:
  void Set(const std::string& data);
  void* key_ = nullptr;  // HKEY
  std::string name_;
  std::string old_;
  bool had_ = false;
};

}  // namespace zutest
