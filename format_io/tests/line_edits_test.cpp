#include "format_io/testing/line_edits.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zu::fio_testing {
namespace {

using ::testing::ElementsAre;

constexpr std::string_view kText = "one\r\ntwo\r\nthree\r\n";

TEST(LineEdits, CutsAndJoinsLines) {
  EXPECT_THAT(CrLfLinesOf(kText), ElementsAre("one", "two", "three"));
  EXPECT_EQ(JoinedWithCrLf(CrLfLinesOf(kText)), kText);
  EXPECT_THAT(CrLfLinesOf("a\r\nb"), ElementsAre("a", "b"));
}

TEST(LineEdits, ReplacesInsertsAndRemovesOneLine) {
  EXPECT_EQ(Edited(kText, 2, Edit::Replace, "2"), "one\r\n2\r\nthree\r\n");
  EXPECT_EQ(Edited(kText, 2, Edit::Replace, "2a\n2b"), "one\r\n2a\r\n2b\r\nthree\r\n");
  EXPECT_EQ(Edited(kText, 1, Edit::InsertBefore, "zero"), "zero\r\none\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(Edited(kText, 3, Edit::InsertBefore, ""), "one\r\ntwo\r\n\r\nthree\r\n");
  EXPECT_EQ(Edited(kText, 3, Edit::Remove), "one\r\ntwo\r\n");
}

}  // namespace
}  // namespace zu::fio_testing
