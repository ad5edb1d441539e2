#include "format_io/read_result.h"

#include <gtest/gtest.h>

#include "format_io/crlf_lines.h"

namespace zu::fio {
namespace {

TEST(ReadFault, BecomesAResultNamingItsLine) {
  const ReadResult result = ReadFault{7, "expected a number"}.Result();
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.line, 7);
  EXPECT_EQ(result.error, "line 7: expected a number");
}

TEST(ReadUntilFault, IsOkUnlessTheReaderThrowsAFault) {
  const ReadResult whole = ReadUntilFault([] {});
  EXPECT_TRUE(whole.ok);
  EXPECT_EQ(whole.line, 0);
  EXPECT_EQ(whole.error, "");
  const ReadResult stopped = ReadUntilFault([] { CrLfLines("a\n").Take(""); });
  EXPECT_FALSE(stopped.ok);
  EXPECT_EQ(stopped.line, 1);
  EXPECT_EQ(stopped.error, "line 1: the line ends in LF alone, expected CR LF");
}

}  // namespace
}  // namespace zu::fio
