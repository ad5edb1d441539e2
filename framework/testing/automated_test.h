// A GoogleTest fixture for tests that drive dialogs by an automation script:
// a script and a record file of the test's own, the record read back as
// lines. Windows only; for test programs.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zu {

class AutomatedTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes `utf8` as the script and starts automation on it.
  void Script(const std::string& utf8);
  // The record's lines so far.
  std::vector<std::string> Record() const;

  static bool Has(const std::vector<std::string>& lines, const std::string& line);
  // The lines, each ended by '\n', for failure messages.
  static std::string Joined(const std::vector<std::string>& lines);

  std::string script_path_;
  std::string record_path_;
};

}  // namespace zu
