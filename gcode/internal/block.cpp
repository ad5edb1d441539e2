#include "gcode/internal/block.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace zu::gcode::internal {
namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool IsBlank(char c) {
  constexpr std::uint64_t kBlanks =
      std::uint64_t{1} << ' ' | 1u << '\t' | 1u << '\r' | 1u << '\f' | 1u << '\v';
  const auto byte = static_cast<unsigned char>(c);
  return byte <= ' ' && (kBlanks >> byte & 1) != 0;
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
bool IsNameChar(char c) {
  return IsLetter(c) || IsDigit(c) || c == '_';
}

std::string Printable(char c) {
  if (c >= 0x21 && c <= 0x7E)
    return std::string("'") + c + "'";
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned char>(c));
  return text;
}

// A cursor over a line.
struct Cursor {
  const char* p;
  const char* end;

  bool AtEnd() const { return p == end; }
  char Peek() const { return p == end ? '\0' : *p; }
  void SkipBlanks() {
    while (p != end && IsBlank(*p))
      ++p;
  }
};

// A number: optional sign, digits, optional point and digits (at least one
// digit in all). Exact to the last bit for up to 15 significant digits.
enum class NumberResult { kOk, kMissing, kOutOfRange };

// The common number: sign, at most 19 digits, one point at most. Reads it
// and returns true, `p` past it, with what the general reading below gives
// for it (every digit is kept in the mantissa, leading zeros adding
// nothing); false with `p` untouched for anything else.
inline bool ReadShortNumber(const char*& p, const char* end, double& value, bool& has_point) {
  const char* q = p;
  const bool negative = q != end && *q == '-';
  if (q != end && (*q == '+' || *q == '-'))
    ++q;
  std::uint64_t mantissa = 0;
  const char* const whole = q;
  for (unsigned digit; q != end && (digit = static_cast<unsigned char>(*q) - 48u) < 10; ++q)
    mantissa = mantissa * 10 + digit;
  long digits = q - whole;
  long fraction = 0;
  const bool point = q != end && *q == '.';
  if (point) {
    const char* const after = ++q;
    for (unsigned digit; q != end && (digit = static_cast<unsigned char>(*q) - 48u) < 10; ++q)
      mantissa = mantissa * 10 + digit;
    fraction = q - after;
    digits += fraction;
  }
  // 19 digits fit 64 bits; 2^53 and 22 places keep the quotient exact.
  if (digits == 0 || digits > 19 || mantissa > (std::uint64_t{1} << 53) || fraction > 22)
    return false;
  const double v = static_cast<double>(mantissa) / kPowersOfTen[fraction];
  if (v > kMaxMagnitude)
    return false;
  value = negative && v != 0 ? -v : v;
  has_point = point;
  p = q;
  return true;
}

// Any number; kept out of line so that the common one costs no more than
// ReadShortNumber.
[[gnu::noinline]] NumberResult ReadAnyNumber(Cursor& at, double& value, bool& has_point) {
  const char* const start = at.p;
  bool negative = false;
  if (at.p != at.end && (*at.p == '+' || *at.p == '-')) {
    negative = *at.p == '-';
    ++at.p;
  }
  std::uint64_t mantissa = 0;
  int digits = 0;    // significant digits kept in mantissa
  int fraction = 0;  // of them after the point
  int all_digits = 0;
  bool exact = true;
  has_point = false;
  for (; at.p != at.end; ++at.p) {
    const char c = *at.p;
    if (IsDigit(c)) {
      ++all_digits;
      if (mantissa == 0 && c == '0') {
        if (has_point)
          ++fraction;
        continue;
      }
      if (digits < 19) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        ++digits;
        if (has_point)
          ++fraction;
      } else {
        exact = false;
        if (!has_point)
          return NumberResult::kOutOfRange;
      }
    } else if (c == '.' && !has_point) {
      has_point = true;
    } else {
      break;
    }
  }
  if (all_digits == 0) {
    at.p = start;
    return NumberResult::kMissing;
  }
  if (exact && mantissa <= (std::uint64_t{1} << 53) && fraction <= 22) {
    value = static_cast<double>(mantissa) / kPowersOfTen[fraction];
  } else {
    // Rare: more digits than a double holds.
    const char* from = start;
    if (*from == '+')
      ++from;
    std::string text(from, at.p);
    if (text.back() == '.')
      text.pop_back();
    if (text.front() == '.' || (text.size() > 1 && text[0] == '-' && text[1] == '.'))
      text.insert(text.front() == '-' ? 1 : 0, "0");
    double parsed = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec != std::errc())
      return NumberResult::kOutOfRange;
    value = std::fabs(parsed);
  }
  if (value > kMaxMagnitude)
    return NumberResult::kOutOfRange;
  if (negative && value != 0)
    value = -value;
  return NumberResult::kOk;
}

NumberResult ReadNumber(Cursor& at, double& value, bool& has_point) {
  if (ReadShortNumber(at.p, at.end, value, has_point))
    return NumberResult::kOk;
  return ReadAnyNumber(at, value, has_point);
}

std::string NumberError(NumberResult result, std::string_view what) {
  return result == NumberResult::kMissing
             ? "missing value after " + std::string(what)
             : "the value of " + std::string(what) + " is out of range";
}

// A word of a letter and a digit and '=' ("I1=", "A3="), at `at` just past
// the letter: false where the text there is no such word (`at` is left
// as it was). Else its value goes to values[index], its bit into
// `present`, and `error` says what was wrong, if anything.
bool ReadIndexedWord(Cursor& at, char letter, char digit, int index, std::array<double, 3>& values,
                     std::uint8_t& present, std::string& error) {
  if (at.Peek() != digit)
    return false;
  Cursor after{at.p + 1, at.end};
  after.SkipBlanks();
  if (after.Peek() != '=')
    return false;
  ++after.p;
  after.SkipBlanks();
  at = after;
  const std::string name = std::string(1, letter) + digit;
  if ((present >> index & 1) != 0) {
    error = name + " given twice";
    return true;
  }
  bool has_point = false;
  const NumberResult result = ReadNumber(at, values[static_cast<std::size_t>(index)], has_point);
  if (result != NumberResult::kOk) {
    error = NumberError(result, name + "=");
    return true;
  }
  present |= static_cast<std::uint8_t>(1 << index);
  return true;
}

// A comment in parentheses, from just after '('. Without ')' it runs to the
// end of the line.
std::string_view ReadParenthesisComment(Cursor& at) {
  const char* const begin = at.p;
  while (at.p != at.end && *at.p != ')')
    ++at.p;
  std::string_view text(begin, static_cast<std::size_t>(at.p - begin));
  if (at.p != at.end)
    ++at.p;
  return text;
}

std::string ReadName(Cursor& at) {
  std::string name;
  while (at.p != at.end && IsNameChar(*at.p) && name.size() < 64)
    name += Upper(*at.p++);
  return name;
}

bool Matches(const std::string& name, std::string_view keyword) {
  return name == keyword;
}

// A string from its opening '"' to just after its closing one.
std::string SkipString(Cursor& at) {
  ++at.p;
  while (at.p != at.end && *at.p != '"')
    ++at.p;
  if (at.AtEnd())
    return "unclosed '\"'";
  ++at.p;
  return {};
}

// The argument of an ignored keyword: "(...)" with nested parentheses and
// strings, or "=" and one value or string.
std::string SkipArgument(Cursor& at) {
  at.SkipBlanks();
  if (at.Peek() == '(') {
    int depth = 0;
    bool in_string = false;
    for (; at.p != at.end; ++at.p) {
      const char c = *at.p;
      if (c == '"')
        in_string = !in_string;
      else if (!in_string && c == '(')
        ++depth;
      else if (!in_string && c == ')' && --depth == 0) {
        ++at.p;
        return {};
      }
    }
    return "unclosed '('";
  }
  if (at.Peek() == '=') {
    ++at.p;
    at.SkipBlanks();
    if (at.Peek() == '"')
      return SkipString(at);
    while (at.p != at.end && !IsBlank(*at.p) && *at.p != ';')
      ++at.p;
  }
  return {};
}

// The arguments of a SIEMENS cycle call, from just after '('. Each may be
// empty ("CYCLE81(10,0,2,,5)"). Those whose bit is in `strings` may be a
// string ("TC1"), read as present with the value 0.
std::string ReadArguments(Cursor& at, Block& block, std::uint32_t strings = 0) {
  block.argument_count = 0;
  block.arguments_present = 0;
  while (true) {
    at.SkipBlanks();
    if (block.argument_count == kMaxArguments)
      return "more than 16 arguments";
    const int index = block.argument_count++;
    if ((strings >> index & 1) != 0 && at.Peek() == '"') {
      if (std::string error = SkipString(at); !error.empty())
        return error;
      block.arguments[index] = 0;
      block.arguments_present |= 1u << index;
      at.SkipBlanks();
    } else if (at.Peek() != ',' && at.Peek() != ')') {
      bool has_point = false;
      const NumberResult result = ReadNumber(at, block.arguments[index], has_point);
      if (result != NumberResult::kOk)
        return result == NumberResult::kMissing
                   ? "argument " + std::to_string(index + 1) + " is not a number"
                   : "argument " + std::to_string(index + 1) + " is out of range";
      block.arguments_present |= 1u << index;
      at.SkipBlanks();
    }
    if (at.Peek() == ',') {
      ++at.p;
      continue;
    }
    if (at.Peek() == ')') {
      ++at.p;
      return {};
    }
    return at.AtEnd() ? "unclosed '('" : "unexpected " + Printable(at.Peek()) + " in the arguments";
  }
}

// A word that is more than one letter (SIEMENS), its name read.
std::string ReadKeyword(const NcSystem& system, Cursor& at, std::string& name, Block& block) {
  if (name == "CIP" && system.intermediate_point) {
    block.cip = true;
    return {};
  }
  if (name == "CT" && system.tangential) {
    block.ct = true;
    return {};
  }
  if (name == "CR" && system.radius_keyword) {
    at.SkipBlanks();
    if (at.Peek() != '=')
      return "CR needs '='";
    ++at.p;
    at.SkipBlanks();
    if (block.has_cr)
      return "CR given twice";
    bool has_point = false;
    const NumberResult result = ReadNumber(at, block.cr, has_point);
    if (result != NumberResult::kOk)
      return NumberError(result, "CR=");
    block.has_cr = true;
    return {};
  }
  if (name == "RET") {
    block.ret = true;
    return {};
  }
  if (!system.tcp_on_keyword.empty() &&
      (name == system.tcp_on_keyword || name == system.tcp_off_keyword)) {
    bool& flag = name == system.tcp_on_keyword ? block.tcp_on : block.tcp_off;
    if (flag)
      return name + " given twice";
    flag = true;
    // TRAORI(1) names the transformation and its base orientation: the one
    // of the machine is meant either way.
    at.SkipBlanks();
    return at.Peek() == '(' ? SkipArgument(at) : std::string();
  }
  if (name == "CYCLE800" && system.swivel_cycle) {
    at.SkipBlanks();
    if (at.Peek() != '(')
      return name + " needs its arguments in parentheses";
    ++at.p;
    if (block.cycle != 0 || block.swivel)
      return "two cycle calls in one block";
    block.swivel = true;
    return ReadArguments(at, block, 1u << 1);  // _TC, the swivel data set, may be a name
  }
  if (system.cycle_form == CycleForm::kCalls) {
    if (name == "MCALL") {
      block.mcall = true;
      return {};
    }
    if (name.size() == 7 && name.compare(0, 5, "CYCLE") == 0 && name[5] == '8' &&
        IsDigit(name[6])) {
      at.SkipBlanks();
      if (at.Peek() != '(')
        return name + " needs its arguments in parentheses";
      ++at.p;
      if (block.cycle != 0 || block.swivel)
        return "two cycle calls in one block";
      block.cycle = 80 + (name[6] - '0');
      return ReadArguments(at, block);
    }
  }
  for (const std::string& ignored : system.ignored_keywords) {
    if (Matches(name, ignored))
      return SkipArgument(at);
  }
  if (system.call_form == CallForm::kNamed) {
    at.SkipBlanks();
    if (at.Peek() == '(' || at.Peek() == '=')
      return "unknown word " + name;
    if (!block.call.empty())
      return "two subprogram calls in one block";
    block.call = std::move(name);
    return {};
  }
  return "unknown word " + name;
}

}  // namespace

std::string ProgramKey(std::uint64_t number) {
  return "O" + std::to_string(number);
}

LineKind ClassifyLine(const NcSystem& system, std::string_view line, std::string& key,
                      std::string_view& rest) {
  rest = {};
  Cursor at{line.data(), line.data() + line.size()};
  at.SkipBlanks();
  const char first = Upper(at.Peek());
  if (first == '%') {
    ++at.p;
    if (system.percent_marks) {
      Cursor rest = at;
      rest.SkipBlanks();
      if (rest.AtEnd() || (system.parenthesis_comments && rest.Peek() == '(') ||
          (system.semicolon_comments && rest.Peek() == ';'))
        return LineKind::kTapeMark;
    }
    if (system.percent_numbers && IsDigit(at.Peek())) {
      std::uint64_t number = 0;
      for (int digits = 0; IsDigit(at.Peek()) && digits < 9; ++digits)
        number = number * 10 + static_cast<std::uint64_t>(*at.p++ - '0');
      key = ProgramKey(number);
      rest = std::string_view(at.p, static_cast<std::size_t>(at.end - at.p));
      return LineKind::kMainHeader;
    }
    if (system.file_headers && line.end() - at.p > 3 && at.p[0] == '_' && Upper(at.p[1]) == 'N' &&
        at.p[2] == '_') {
      at.p += 3;
      std::string name = ReadName(at);
      const bool sub = name.size() > 4 && name.compare(name.size() - 4, 4, "_SPF") == 0;
      const bool main = name.size() > 4 && name.compare(name.size() - 4, 4, "_MPF") == 0;
      if (sub || main)
        name.resize(name.size() - 4);
      key = name;
      return main ? LineKind::kMainHeader : LineKind::kSubprogramHeader;
    }
    return LineKind::kBlock;
  }
  if (system.program_address != '\0' && first == system.program_address) {
    Cursor number_at{at.p + 1, at.end};
    if (IsDigit(number_at.Peek())) {
      std::uint64_t number = 0;
      for (int digits = 0; IsDigit(number_at.Peek()) && digits < 9; ++digits)
        number = number * 10 + static_cast<std::uint64_t>(*number_at.p++ - '0');
      if (!IsDigit(number_at.Peek())) {
        key = ProgramKey(number);
        rest = std::string_view(number_at.p, static_cast<std::size_t>(number_at.end - number_at.p));
        return LineKind::kMainHeader;
      }
    }
    return LineKind::kBlock;
  }
  if (system.proc_headers && first == 'P' && line.end() - at.p > 5 && Upper(at.p[1]) == 'R' &&
      Upper(at.p[2]) == 'O' && Upper(at.p[3]) == 'C' && IsBlank(at.p[4])) {
    at.p += 4;
    at.SkipBlanks();
    key = ReadName(at);
    if (!key.empty())
      return LineKind::kSubprogramHeader;
  }
  return LineKind::kBlock;
}

std::string ParseBlock(const NcSystem& system, std::string_view line, Block& block, bool& deleted) {
  block.present = 0;
  block.point = 0;
  block.g_count = 0;
  block.m_count = 0;
  block.comment = {};
  block.cip = block.ct = block.has_cr = block.mcall = block.ret = false;
  block.point1_present = 0;
  block.cycle = 0;
  block.swivel = false;
  block.call.clear();
  block.has_tool_name = false;
  block.vector_present = 0;
  block.tcp_on = block.tcp_off = false;
  deleted = false;

  Cursor at{line.data(), line.data() + line.size()};
  at.SkipBlanks();
  if (at.Peek() == '/') {
    ++at.p;
    if (IsDigit(at.Peek()) && at.Peek() != '0')
      ++at.p;
    if (system.skip_deleted_blocks) {
      deleted = true;
      return {};
    }
  }
  bool first_word = true;
  while (true) {
    at.SkipBlanks();
    if (at.AtEnd())
      return {};
    const char c = Upper(*at.p);
    if (c == '(' && system.parenthesis_comments) {
      ++at.p;
      const std::string_view text = ReadParenthesisComment(at);
      if (block.comment.empty())
        block.comment = text;
      continue;
    }
    if (c == ';' && system.semicolon_comments) {
      if (block.comment.empty())
        block.comment = std::string_view(at.p + 1, static_cast<std::size_t>(at.end - at.p - 1));
      return {};
    }
    if (!IsLetter(c))
      return "unexpected " + Printable(*at.p);
    const bool was_first = first_word;
    first_word = false;

    if (system.keywords) {
      // A run of two letters or more is a keyword or a name.
      if (at.end - at.p > 1 && IsLetter(at.p[1])) {
        std::string name = ReadName(at);
        at.SkipBlanks();
        if (was_first && at.Peek() == ':') {  // a label
          ++at.p;
          continue;
        }
        const std::string error = ReadKeyword(system, at, name, block);
        if (!error.empty())
          return error;
        continue;
      }
      ++at.p;
      // I1=, J1=, K1= (CIP's intermediate point); A3=, B3=, C3= (the
      // tool-axis vector).
      if ((c == 'I' || c == 'J' || c == 'K') && system.intermediate_point) {
        std::string error;
        if (ReadIndexedWord(at, c, '1', c - 'I', block.point1, block.point1_present, error)) {
          if (!error.empty())
            return error;
          continue;
        }
      }
      if ((c == 'A' || c == 'B' || c == 'C') && system.tool_vectors) {
        std::string error;
        if (ReadIndexedWord(at, c, '3', c - 'A', block.vector, block.vector_present, error)) {
          if (!error.empty())
            return error;
          continue;
        }
      }
      if (c == 'T' && system.name_from_string) {
        Cursor after = at;
        after.SkipBlanks();
        if (after.Peek() == '=') {
          ++after.p;
          after.SkipBlanks();
          if (after.Peek() == '"') {
            ++after.p;
            const char* const begin = after.p;
            while (after.p != after.end && *after.p != '"')
              ++after.p;
            if (after.AtEnd())
              return "unclosed '\"'";
            if (block.has_tool_name || block.Has('T'))
              return "T given twice";
            block.tool_name.assign(begin, after.p);
            if (block.tool_name.empty() || block.tool_name.size() > 64)
              return "a tool name of 1 to 64 characters";
            block.has_tool_name = true;
            at.p = after.p + 1;
            continue;
          }
        }
      }
      if (c == 'L' && system.call_form == CallForm::kNamed && IsDigit(at.Peek())) {
        if (!block.call.empty())
          return "two subprogram calls in one block";
        block.call = "L";
        while (IsDigit(at.Peek()) && block.call.size() < 12)
          block.call += *at.p++;
        if (IsDigit(at.Peek()))
          return "subprogram number too long";
        continue;
      }
      at.SkipBlanks();
      if (at.Peek() == '=') {
        ++at.p;
        at.SkipBlanks();
      }
    } else {
      ++at.p;
      at.SkipBlanks();
    }

    if (!system.Accepts(c))
      return "unknown word " + std::string(1, c);
    double value = 0;
    bool has_point = false;
    if (!ReadShortNumber(at.p, at.end, value, has_point)) {
      const NumberResult result = ReadAnyNumber(at, value, has_point);
      if (result != NumberResult::kOk)
        return NumberError(result, std::string(1, c));
    }
    if (c == 'G' || c == 'M') {
      if (c == 'G') {
        const double key = value * 10;
        const double rounded = std::round(key);
        if (value < 0 || key >= kGCodeKeys || std::fabs(key - rounded) > 1e-6)
          return "no such G code";
        if (block.g_count == kMaxCodes)
          return "too many G codes in one block";
        block.g[static_cast<std::size_t>(block.g_count++)] = static_cast<int>(rounded);
      } else {
        if (value < 0 || value >= kMCodes || has_point)
          return "no such M code";
        if (block.m_count == kMaxCodes)
          return "too many M codes in one block";
        block.m[static_cast<std::size_t>(block.m_count++)] = static_cast<int>(value);
      }
      continue;
    }
    if (block.Has(c) || (c == 'T' && block.has_tool_name))
      return std::string(1, c) + " given twice";
    block.present |= Bit(c);
    if (has_point)
      block.point |= Bit(c);
    block.value[static_cast<std::size_t>(c - 'A')] = value;
  }
}

}  // namespace zu::gcode::internal
