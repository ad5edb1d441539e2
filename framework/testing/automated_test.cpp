#include "framework/testing/automated_test.h"

#include <windows.h>

#include <fstream>

#include "framework/automation.h"

namespace zu {

void AutomatedTest::SetUp() {
  folder_ = std::make_unique<TestFolder>();
  script_path_ = folder_->File("automation.script");
  record_path_ = folder_->File("automation.record");
}

void AutomatedTest::TearDown() {
  Automation::Stop();
  folder_.reset();
}

void AutomatedTest::Script(const std::string& utf8) {
  std::ofstream(script_path_, std::ios::binary) << utf8;
  Automation::Start(script_path_, record_path_);
}

std::vector<std::string> AutomatedTest::Record() const {
  std::ifstream in(record_path_, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

}  // namespace zu
