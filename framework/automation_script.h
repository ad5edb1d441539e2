// Automation scripts: the steps that drive dialogs, message boxes and file
// dialogs without a person, one step a line (docs/automation.md). Parsing is
// portable; applying the steps to windows is automation.h's job.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zu {

enum class StepKind {
  ExpectDialog,     // dialog ID: the next dialog to appear must be resource ID
  SetText,          // text ID "value"
  Click,            // click ID: button, check box or radio button
  ListClick,        // list-click ID INDEX|"TEXT"
  ListDoubleClick,  // list-dblclick ID INDEX|"TEXT"
  ComboChoose,      // combo ID INDEX|"TEXT"
  ChooseFile,       // file "PATH": answers a file dialog
  Ok,               // ok
  Cancel,           // cancel: a dialog or a file dialog
  Answer,           // answer BUTTON: answers a message box (ok, cancel, yes, no)
};

struct AutomationStep {
  StepKind kind = StepKind::Ok;
  int control = 0;           // control or resource number, where the step has one
  std::string text;          // UTF-8 text, file path, item text or button name
  std::optional<int> index;  // item index for list and combo steps chosen by index
  int line = 0;              // line of the script, counted from 1
};

// The outcome of parsing: the steps, or the first error with its line.
struct [[nodiscard]] ScriptParseResult {
  std::vector<AutomationStep> steps;
  std::string error;  // empty on success
  int error_line = 0;
  bool ok() const { return error.empty(); }
};

// Parses a whole script (UTF-8). Blank lines and comments, lines whose first
// character other than blanks and tabs is '#', are skipped; a '#' after a
// step is not a comment. Strings are quoted with '"'; a doubled quote stands for one.
ScriptParseResult ParseAutomationScript(std::string_view script);

// The step in script syntax, as the record shows it.
std::string DescribeStep(const AutomationStep& step);

// A text quoted for the script or the record: "a""b" for a"b. Line breaks
// become the two characters \n (and \r), so that a record line stays one
// line.
std::string QuoteText(std::string_view text);

}  // namespace zu
