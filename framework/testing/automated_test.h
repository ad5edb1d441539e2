// A GoogleTest fixture for tests that drive dialogs by an automation script:
// a folder of the test's own (folder_) with its script and record file, the
// record read back as lines. Windows only; for test programs.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/testing/test_folder.h"

namespace zu {

class AutomatedTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes `utf8` as the script and starts automation on it.
  void Script(const std::string& utf8);
  // The record's lines so far.
  std::vector<std::string> Record() const;

  std::unique_ptr<TestFolder> folder_;
  std::string script_path_;
  std::string record_path_;
};

}  // namespace zu
