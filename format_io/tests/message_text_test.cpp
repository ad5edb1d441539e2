// The texts readers and order checkers put into their messages.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "format_io/out_of_place.h"
#include "format_io/quoted.h"
#include "format_io/split_fields.h"

namespace zu::fio {
namespace {

TEST(Quoted, ShowsControlBytesAsHexAndCutsLongTexts) {
  EXPECT_EQ(Quoted("abc", 40), "\"abc\"");
  EXPECT_EQ(Quoted("", 40), "\"\"");
  EXPECT_EQ(Quoted(std::string("a\r\n\0\x7f\x1b", 6), 40), R"("a\x0D\x0A\x00\x7F\x1B")");
  EXPECT_EQ(Quoted("abcdef", 4), "\"abcd...\"");
  EXPECT_EQ(Quoted("abcd", 4), "\"abcd\"");
  // Bytes above 0x7F are the file's own text (GBK): kept.
  EXPECT_EQ(Quoted("\xd6\xd0", 40), "\"\xd6\xd0\"");
}

TEST(SplitFields, CountsEveryFieldAndKeepsTheFirstN) {
  std::array<std::string_view, 3> f;
  EXPECT_EQ(SplitFields("1,2,3", ',', f), 3u);
  EXPECT_EQ(f[0], "1");
  EXPECT_EQ(f[1], "2");
  EXPECT_EQ(f[2], "3");
  EXPECT_EQ(SplitFields("a b c d e", ' ', f), 5u);
  EXPECT_EQ(f[2], "c");
  EXPECT_EQ(SplitFields("", ',', f), 1u);
  EXPECT_EQ(f[0], "");
  EXPECT_EQ(SplitFields(",", ',', f), 2u);
  EXPECT_EQ(f[1], "");
}

TEST(OutOfPlaceMessage, NamesTheRecordAndWhatTheFileExpects) {
  EXPECT_EQ(OutOfPlaceMessage("a block", "\"[pathpara]\""),
            "a block cannot come here: the file expects \"[pathpara]\" next");
}

}  // namespace
}  // namespace zu::fio
