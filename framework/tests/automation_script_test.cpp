#include "framework/automation_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace zu {
namespace {

TEST(AutomationScript, ParsesEveryStepKind) {
  const auto parsed = ParseAutomationScript(
      "# a comment\n"
      "dialog 1000\r\n"
      "text 1001 \"a \"\"quoted\"\" word\"\n"
      "\n"
      "  click 1002\n"
      "list-click 1003 2\n"
      "list-dblclick 1003 \"NC-System\"\n"
      "combo 1004 \"item\"\n"
      "file \"C:\\jobs\\part.cut\"\n"
      "answer yes\n"
      "ok\n"
      "cancel");
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  ASSERT_EQ(parsed.steps.size(), 10u);
  EXPECT_EQ(parsed.steps[0].kind, StepKind::ExpectDialog);
  EXPECT_EQ(parsed.steps[0].control, 1000);
  EXPECT_EQ(parsed.steps[0].line, 2);
  EXPECT_EQ(parsed.steps[1].text, "a \"quoted\" word");
  EXPECT_EQ(parsed.steps[2].line, 5);
  EXPECT_EQ(parsed.steps[3].index, 2);
  EXPECT_FALSE(parsed.steps[4].index.has_value());
  EXPECT_EQ(parsed.steps[4].text, "NC-System");
  EXPECT_EQ(parsed.steps[6].text, "C:\\jobs\\part.cut");
  EXPECT_EQ(parsed.steps[7].text, "yes");
  EXPECT_EQ(parsed.steps[9].kind, StepKind::Cancel);
}

TEST(AutomationScript, DescribeGivesBackTheScriptLine) {
  const char* lines[] = {
      "dialog 33",
      "text 9001 \"确定 \"\"x\"\"\"",
      "click 9002",
      "list-click 9001 0",
      "list-dblclick 9001 \"FANUC\"",
      "combo 12 3",
      "file \"D:\\a b\\c.cut\"",
      "answer no",
      "ok",
      "cancel",
  };
  for (const char* line : lines) {
    const auto parsed = ParseAutomationScript(line);
    ASSERT_TRUE(parsed.ok()) << line << ": " << parsed.error;
    ASSERT_EQ(parsed.steps.size(), 1u) << line;
    EXPECT_EQ(DescribeStep(parsed.steps[0]), line);
  }
}

TEST(AutomationScript, RefusesBadLinesWithTheirNumber) {
  struct Case {
    const char* script;
    int line;
    const char* error_part;
  } const cases[] = {
      {"press 1", 1, "unknown step 'press'"}, {"ok\nclick\n", 2, "control number"},
      {"click x1", 1, "control number"},      {"text 5 unquoted", 1, "quoted text"},
      {"text 5 \"open", 1, "quoted text"},    {"list-click 5", 1, "item index"},
      {"list-click 5 -1", 1, "item index"},   {"combo 5 \"x", 1, "unclosed quote"},
      {"answer maybe", 1, "answer needs"},    {"\n\nok now", 3, "unexpected text after ok"},
      {"click 5 6", 1, "unexpected text"},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseAutomationScript(c.script);
    EXPECT_FALSE(parsed.ok()) << c.script;
    EXPECT_TRUE(parsed.steps.empty()) << c.script;
    EXPECT_EQ(parsed.error_line, c.line) << c.script;
    EXPECT_NE(parsed.error.find(c.error_part), std::string::npos)
        << c.script << ": " << parsed.error;
  }
}

TEST(AutomationScript, EveryTruncationOfAValidScriptParsesOrFailsCleanly) {
  const std::string script = "dialog 7\ntext 1 \"ab\"\"c\"\nlist-click 2 \"x y\"\nok\n";
  const auto full = ParseAutomationScript(script);
  ASSERT_TRUE(full.ok()) << full.error;
  for (std::size_t n = 0; n <= script.size(); ++n) {
    const auto parsed = ParseAutomationScript(std::string_view(script).substr(0, n));
    if (!parsed.ok()) {
      EXPECT_GT(parsed.error_line, 0) << n;
      EXPECT_TRUE(parsed.steps.empty()) << n;
      continue;
    }
    // What parses is the full script's steps, but for the last one when the
    // cut falls inside its line ("ab" of "ab""c" is a valid text too).
    ASSERT_LE(parsed.steps.size(), full.steps.size()) << n;
    const bool whole_lines = n == 0 || script[n - 1] == '\n';
    const std::size_t same =
        whole_lines || parsed.steps.empty() ? parsed.steps.size() : parsed.steps.size() - 1;
    for (std::size_t i = 0; i < same; ++i)
      EXPECT_EQ(DescribeStep(parsed.steps[i]), DescribeStep(full.steps[i])) << n;
    if (whole_lines) {
      const auto lines =
          static_cast<std::size_t>(std::count(script.begin(), script.begin() + n, '\n'));
      EXPECT_EQ(parsed.steps.size(), lines) << n;
    }
  }
}

TEST(AutomationScript, ALineWhoseFirstNonBlankIsAHashIsAComment) {
  const auto parsed = ParseAutomationScript("  # indented comment\n\t#tabbed\nok # not a comment");
  EXPECT_FALSE(parsed.ok());
  EXPECT_EQ(parsed.error_line, 3);
  const auto only = ParseAutomationScript("   # ok\ncancel\n");
  ASSERT_TRUE(only.ok()) << only.error;
  ASSERT_EQ(only.steps.size(), 1u);
  EXPECT_EQ(only.steps[0].kind, StepKind::Cancel);
  EXPECT_EQ(only.steps[0].line, 2);
}

}  // namespace
}  // namespace zu
