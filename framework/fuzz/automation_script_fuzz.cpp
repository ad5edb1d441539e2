// libFuzzer target: the automation script parser on any bytes. Each step it
// accepts reads back from its description as the same step (unless its text
// holds a line break, which the description shows escaped).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "framework/automation_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view script(reinterpret_cast<const char*>(data), size);
  const zu::ScriptParseResult parsed = zu::ParseAutomationScript(script);
  if (!parsed.ok())
    return 0;
  for (const zu::AutomationStep& step : parsed.steps) {
    if (step.text.find_first_of("\r\n") != std::string::npos)
      continue;
    const zu::ScriptParseResult again = zu::ParseAutomationScript(zu::DescribeStep(step));
    if (!again.ok() || again.steps.size() != 1)
      std::abort();
    const zu::AutomationStep& back = again.steps[0];
    if (back.kind != step.kind || back.control != step.control || back.text != step.text ||
        back.index != step.index)
      std::abort();
  }
  return 0;
}
