// The automation of dialogs, message boxes and file dialogs in this process.
// A program (the host, or a test) names a script with the environment
// variable ZU_AUTOMATION_SCRIPT and a record file with ZU_AUTOMATION_RECORD;
// every module of the process then takes its steps from that script in turn
// (the position is kept in ZU_AUTOMATION_CURSOR, which every module sees) and
// appends what it saw to the record, in UTF-8, one line at a time, so that a
// crash loses nothing already recorded. Windows only; docs/automation.md.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/automation_script.h"

namespace zu {

class Automation {
 public:
  // The automation of this process, or null when no script is named. A
  // script that does not parse is recorded as an error and has no steps.
  static Automation* Get();

  // Names the script and the record for this process and starts at its first
  // step. For programs that drive the plug-in and for tests.
  static void Start(const std::string& script_path, const std::string& record_path);
  // Ends automation for this process.
  static void Stop();

  // The next step, or null when the script is used up.
  const AutomationStep* Peek() const;
  // Consumes the step that Peek returned.
  void Advance();

  // Appends one line to the record.
  void Record(std::string_view line) const;
  // Records a step that could not be carried out.
  void RecordError(const AutomationStep& step, std::string_view why) const;

 private:
  Automation(std::string script_path, std::string record_path);
  static std::size_t Cursor();

  std::string script_path_;
  std::string record_path_;
  std::vector<AutomationStep> steps_;
};

}  // namespace zu
