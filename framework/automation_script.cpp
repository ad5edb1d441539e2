#include "framework/automation_script.h"

#include <array>
#include <charconv>
#include <utility>

namespace zu {
namespace {

struct Keyword {
  std::string_view word;
  StepKind kind;
};

constexpr std::array<Keyword, 10> kKeywords = {{
    {"dialog", StepKind::ExpectDialog},
    {"text", StepKind::SetText},
    {"click", StepKind::Click},
    {"list-click", StepKind::ListClick},
    {"list-dblclick", StepKind::ListDoubleClick},
    {"combo", StepKind::ComboChoose},
    {"file", StepKind::ChooseFile},
    {"ok", StepKind::Ok},
    {"cancel", StepKind::Cancel},
    {"answer", StepKind::Answer},
}};

constexpr std::array<std::string_view, 4> kAnswers = {"ok", "cancel", "yes", "no"};

// Reads the words of one line: bare words and quoted strings.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : rest_(line) {}

  bool AtEnd() {
    SkipBlanks();
    return rest_.empty();
  }

  // The next bare word; empty at the end of the line or before a quote.
  std::string_view Word() {
    SkipBlanks();
    if (rest_.empty() || rest_.front() == '"')
      return {};
    std::size_t n = 0;
    while (n < rest_.size() && rest_[n] != ' ' && rest_[n] != '\t')
      ++n;
    auto word = rest_.substr(0, n);
    rest_.remove_prefix(n);
    return word;
  }

  bool NextIsQuoted() {
    SkipBlanks();
    return !rest_.empty() && rest_.front() == '"';
  }

  // The next quoted string; false when it is missing or not closed.
  bool Quoted(std::string& out) {
    if (!NextIsQuoted())
      return false;
    out.clear();
    std::size_t i = 1;
    while (i < rest_.size()) {
      if (rest_[i] == '"') {
        if (i + 1 < rest_.size() && rest_[i + 1] == '"') {
          out += '"';
          i += 2;
          continue;
        }
        rest_.remove_prefix(i + 1);
        return true;
      }
      out += rest_[i++];
    }
    return false;
  }

 private:
  void SkipBlanks() {
    while (!rest_.empty() && (rest_.front() == ' ' || rest_.front() == '\t'))
      rest_.remove_prefix(1);
  }
  std::string_view rest_;
};

bool ParseNumber(std::string_view word, int& out) {
  if (word.empty())
    return false;
  const auto* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, out);
  return ec == std::errc() && ptr == end;
}

bool Needs(StepKind kind, bool control) {
  switch (kind) {
    case StepKind::ExpectDialog:
    case StepKind::SetText:
    case StepKind::Click:
    case StepKind::ListClick:
    case StepKind::ListDoubleClick:
    case StepKind::ComboChoose:
      return control;
    default:
      return false;
  }
}

bool IsItemStep(StepKind kind) {
  return kind == StepKind::ListClick || kind == StepKind::ListDoubleClick ||
         kind == StepKind::ComboChoose;
}

// Parses one non-blank line into `step`; returns an error text or "".
std::string ParseLine(std::string_view line, AutomationStep& step) {
  LineReader reader(line);
  const auto word = reader.Word();
  const Keyword* keyword = nullptr;
  for (const auto& k : kKeywords) {
    if (k.word == word)
      keyword = &k;
  }
  if (!keyword)
    return "unknown step '" + std::string(word) + "'";
  step.kind = keyword->kind;
  const std::string name(word);

  if (Needs(step.kind, true)) {
    if (!ParseNumber(reader.Word(), step.control))
      return name + " needs a control number";
  }
  if (step.kind == StepKind::SetText || step.kind == StepKind::ChooseFile) {
    if (!reader.Quoted(step.text))
      return name + " needs a quoted text";
  } else if (IsItemStep(step.kind)) {
    if (reader.NextIsQuoted()) {
      if (!reader.Quoted(step.text))
        return name + " has an unclosed quote";
    } else {
      int index = 0;
      if (!ParseNumber(reader.Word(), index) || index < 0) {
        return name + " needs an item index or a quoted item text";
      }
      step.index = index;
    }
  } else if (step.kind == StepKind::Answer) {
    step.text = std::string(reader.Word());
    bool known = false;
    for (auto answer : kAnswers)
      known = known || answer == step.text;
    if (!known)
      return "answer needs ok, cancel, yes or no";
  }
  if (!reader.AtEnd())
    return "unexpected text after " + name;
  return {};
}

}  // namespace

ScriptParseResult ParseAutomationScript(std::string_view script) {
  ScriptParseResult result;
  int line_number = 0;
  while (!script.empty()) {
    ++line_number;
    auto end = script.find('\n');
    auto line = script.substr(0, end);
    script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#')
      continue;

    AutomationStep step;
    step.line = line_number;
    if (auto error = ParseLine(line, step); !error.empty()) {
      result.steps.clear();
      result.error = std::move(error);
      result.error_line = line_number;
      return result;
    }
    result.steps.push_back(std::move(step));
  }
  return result;
}

std::string QuoteText(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') {
      out += "\"\"";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out + '"';
}

std::string DescribeStep(const AutomationStep& step) {
  std::string out;
  for (const auto& k : kKeywords) {
    if (k.kind == step.kind)
      out = std::string(k.word);
  }
  if (Needs(step.kind, true))
    out += ' ' + std::to_string(step.control);
  if (step.kind == StepKind::SetText || step.kind == StepKind::ChooseFile) {
    out += ' ' + QuoteText(step.text);
  } else if (IsItemStep(step.kind)) {
    out += ' ' + (step.index ? std::to_string(*step.index) : QuoteText(step.text));
  } else if (step.kind == StepKind::Answer) {
    out += ' ' + step.text;
  }
  return out;
}

}  // namespace zu
