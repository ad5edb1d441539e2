#include "format_io/testing/read_checks.h"

#include <gtest/gtest.h>

namespace zu::fio_testing {
namespace {

TEST(IsRefusedAt, NeedsTheLineAndTheMessage) {
  const fio::ReadResult refused{false, 4, "line 4: expected a number, found \"x\""};
  EXPECT_TRUE(IsRefusedAt(refused, 4, "expected a number"));
  EXPECT_TRUE(IsRefusedAt(refused, 4, ""));
  EXPECT_FALSE(IsRefusedAt(refused, 5, "expected a number"));
  EXPECT_FALSE(IsRefusedAt(refused, 4, "expected an integer"));
  // The message is looked for after "line N: ".
  EXPECT_FALSE(IsRefusedAt(refused, 4, "line 4"));
  EXPECT_FALSE(IsRefusedAt({}, 0, ""));
  EXPECT_FALSE(IsRefusedAt({false, 4, "expected a number"}, 4, "expected a number"));
}

TEST(TextEnding, GivesTheSizeAndTheLastTwentyBytes) {
  EXPECT_EQ(TextEnding("abc"), "text of 3 bytes ending \"abc\"");
  EXPECT_EQ(TextEnding(std::string(30, 'x') + "0123456789"),
            "text of 40 bytes ending \"xxxxxxxxxx0123456789\"");
}

}  // namespace
}  // namespace zu::fio_testing
