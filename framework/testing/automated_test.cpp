#include "framework/testing/automated_test.h"

#include <windows.h>

#include <algorithm>
#include <fstream>

#include "framework/automation.h"

namespace zu {

void AutomatedTest::SetUp() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string base =
      std::string(folder) + "zu_" + test->test_suite_name() + "_" + test->name();
  script_path_ = base + ".script";
  record_path_ = base + ".record";
  DeleteFileA(record_path_.c_str());
}

void AutomatedTest::TearDown() {
  Automation::Stop();
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

bool AutomatedTest::Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string AutomatedTest::Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const auto& line : lines)
    all += line + "\n";
  return all;
}

}  // namespace zu
