#include "format_io/crlf_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "format_io/read_result.h"

namespace zu::fio {
namespace {

// The fault that taking lines until the end of `text` throws.
ReadFault FaultOf(std::string_view text) {
  CrLfLines lines(text);
  try {
    for (;;)
      lines.Take("before its last line");
  } catch (const ReadFault& fault) {
    return fault;
  }
}

TEST(CrLfLines, TakesEachLineWithoutItsLineEnd) {
  CrLfLines lines("first\r\n\r\nthird\r\n");
  EXPECT_EQ(lines.line(), 0);
  EXPECT_EQ(lines.Take(""), "first");
  EXPECT_EQ(lines.line(), 1);
  EXPECT_EQ(lines.position(), 7u);
  EXPECT_EQ(lines.rest(), "\r\nthird\r\n");
  EXPECT_EQ(lines.Take(""), "");
  EXPECT_EQ(lines.Take(""), "third");
  EXPECT_EQ(lines.line(), 3);
  EXPECT_TRUE(lines.at_end());
  lines.ExpectEnd("the last line");
}

TEST(CrLfLines, ALineMustEndInCrLf) {
  const ReadFault lf = FaultOf("a\r\nb\n");
  EXPECT_EQ(lf.line, 2);
  EXPECT_EQ(lf.message, "the line ends in LF alone, expected CR LF");
  const ReadFault cut = FaultOf("a\r\nb\r");
  EXPECT_EQ(cut.line, 2);
  EXPECT_EQ(cut.message, "the file ends inside this line, before its CR LF");
  EXPECT_EQ(FaultOf("\n").line, 1);
  // A CR alone is part of the line.
  CrLfLines lines("a\rb\r\n");
  EXPECT_EQ(lines.Take(""), "a\rb");
}

TEST(CrLfLines, TakingPastTheEndFaultsOnTheLineAfterTheLast) {
  const ReadFault fault = FaultOf("a\r\nb\r\n");
  EXPECT_EQ(fault.line, 3);
  EXPECT_EQ(fault.message, "the file ends before its last line");
  EXPECT_EQ(FaultOf("").line, 1);
}

TEST(CrLfLines, TextAfterTheLastLineIsAFault) {
  CrLfLines lines("END\r\nmore");
  lines.Take("");
  try {
    lines.ExpectEnd("END");
    FAIL() << "no fault";
  } catch (const ReadFault& fault) {
    EXPECT_EQ(fault.line, 2);
    EXPECT_EQ(fault.message, "text after END");
  }
}

}  // namespace
}  // namespace zu::fio
