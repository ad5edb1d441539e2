#include "framework/automation.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

namespace zu {
namespace {

constexpr const char* kScriptVariable = "ZU_AUTOMATION_SCRIPT";
constexpr const char* kRecordVariable = "ZU_AUTOMATION_RECORD";
constexpr const char* kCursorVariable = "ZU_AUTOMATION_CURSOR";

// Environment variables through the Windows API: they are the process's own,
// shared by every module whatever C runtime copy it carries.
std::string Variable(const char* name) {
  char buffer[1024];
  const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

std::unique_ptr<Automation>& Current() {
  static std::unique_ptr<Automation> current;
  return current;
}

}  // namespace

Automation::Automation(std::string script_path, std::string record_path)
    : script_path_(std::move(script_path)), record_path_(std::move(record_path)) {
  std::ifstream in(script_path_, std::ios::binary);
  if (!in) {
    Record("error: cannot read the automation script " + QuoteText(script_path_));
    return;
  }
  std::ostringstream text;
  text << in.rdbuf();
  auto parsed = ParseAutomationScript(text.str());
  if (!parsed.ok()) {
    Record("error: script line " + std::to_string(parsed.error_line) + ": " + parsed.error);
    return;
  }
  steps_ = std::move(parsed.steps);
}

Automation* Automation::Get() {
  const std::string script = Variable(kScriptVariable);
  auto& current = Current();
  if (script.empty()) {
    current.reset();
    return nullptr;
  }
  const std::string record = Variable(kRecordVariable);
  if (!current || current->script_path_ != script || current->record_path_ != record) {
    current.reset(new Automation(script, record));
  }
  return current.get();
}

void Automation::Start(const std::string& script_path, const std::string& record_path) {
  SetEnvironmentVariableA(kScriptVariable, script_path.c_str());
  SetEnvironmentVariableA(kRecordVariable, record_path.c_str());
  SetEnvironmentVariableA(kCursorVariable, "0");
  Current().reset();
}

void Automation::Stop() {
  SetEnvironmentVariableA(kScriptVariable, nullptr);
  SetEnvironmentVariableA(kRecordVariable, nullptr);
  SetEnvironmentVariableA(kCursorVariable, nullptr);
  Current().reset();
}

std::size_t Automation::Cursor() {
  const std::string value = Variable(kCursorVariable);
  return value.empty() ? 0 : std::strtoul(value.c_str(), nullptr, 10);
}

const AutomationStep* Automation::Peek() const {
  const std::size_t cursor = Cursor();
  return cursor < steps_.size() ? &steps_[cursor] : nullptr;
}

void Automation::Advance() {
  SetEnvironmentVariableA(kCursorVariable, std::to_string(Cursor() + 1).c_str());
}

void Automation::Record(std::string_view line) const {
  if (record_path_.empty())
    return;
  if (FILE* file = std::fopen(record_path_.c_str(), "ab")) {
    std::fwrite(line.data(), 1, line.size(), file);
    std::fputc('\n', file);
    std::fclose(file);
  }
}

void Automation::RecordError(const AutomationStep& step, std::string_view why) const {
  Record("error: script line " + std::to_string(step.line) + " (" + DescribeStep(step) +
         "): " + std::string(why));
}

}  // namespace zu
