#include "machine/internal/non_ascii.h"

#include <gtest/gtest.h>

namespace zu::machine::internal {
namespace {

struct Case {
  const char* text;
  int line;  // of the first byte above 0x7F outside a comment; 0: none
};

// "\xC3\xA9" is e with an acute accent in UTF-8.
constexpr Case kCases[] = {
    {"", 0},
    {"a = 1 # \xC3\xA9\n", 0},
    {"\xC3\xA9", 1},
    {"\xEF\xBB\xBF"
     "a = 1\n",
     0},                         // a byte order mark
    {"a = 1\n\xEF\xBB\xBF", 2},  // elsewhere it is no mark
    {"a = \"\xC3\xA9\"\n", 1},
    {"a = '\xC3\xA9'\n", 1},
    {"a = \"#\" \xC3\xA9\n", 1},  // '#' in a string starts no comment
    {"a = '#' \xC3\xA9\n", 1},
    {"a = \"\\\"#\" \xC3\xA9\n", 1},  // nor after an escaped quote
    // An escaped backslash ends no string; an escape hides no byte.
    {"a = \"\\\\\" # \xC3\xA9\n", 0},
    {"a = \"\\\xC3\xA9\"\n", 1},
    {"a = '\\' # \xC3\xA9\n", 0},  // a literal string has no escapes
    {"a = \"\"\"\n#\n\"\"\" # \xC3\xA9\n", 0},
    {"a = \"\"\"\n# \xC3\xA9\n\"\"\"\n", 2},  // inside a multi-line string
    {"a = '''\n# \xC3\xA9\n'''\n", 2},
    {"a = \"\"\"x\"\"\"\"\" # \xC3\xA9\n", 0},  // closed by the last three of five quotes
    {"a = '''x''''' # \xC3\xA9\n", 0},
    {"a = \"\"\"x\\\n  \xC3\xA9\"\"\"\n", 2},  // after a line-ending backslash
    {"a = \"open\n\xC3\xA9\n", 2},             // a string left open ends with its line
    {"# \xC3\xA9\n\xC3\xA9", 2},
};

TEST(NonAsciiTest, FindsTheFirstByteOutsideComments) {
  for (const Case& c : kCases)
    EXPECT_EQ(NonAsciiLine(c.text), c.line) << c.text;
}

}  // namespace
}  // namespace zu::machine::internal
