// For reader tests: what a refused file's ReadResult must say, and a short
// name for a text the test made.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "format_io/read_result.h"

namespace zu::fio_testing {

// Success when `result` is a refusal at `line` whose error is "line N: "
// and a message holding `message`; else what differs.
::testing::AssertionResult IsRefusedAt(const fio::ReadResult& result, int line,
                                       std::string_view message);

// "text of N bytes ending "...": the size and the last 20 bytes of `text`,
// to name an input in a failure message.
std::string TextEnding(std::string_view text);

}  // namespace zu::fio_testing
