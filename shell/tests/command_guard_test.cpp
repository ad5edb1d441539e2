// A command whose body throws is reported and ended, and nothing reaches
// the caller.
#include "shell/command_guard.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace zu {
namespace {

std::vector<std::string> events;

const CommandFailure kRecorded{[](const std::string& message) { events.push_back(message); },
                               [] { events.push_back("end"); }};

TEST(CommandGuard, AThrowingBodyIsReportedEndedAndGivesTheFailedResult) {
  struct Case {
    void (*body)();
    const char* detail;  // what the message adds to the plain text
  } const cases[] = {
      {[] { throw std::length_error("vector::reserve"); }, "\nvector::reserve"},
      {[] { throw std::bad_alloc(); }, "\nstd::bad_alloc"},
      {[] { throw 7; }, ""},  // not a std::exception: no text of its own
  };
  for (const Case& c : cases) {
    events.clear();
    const int result = RunGuarded(
        [&] {
          c.body();
          return 1;
        },
        kRecorded, -5);
    EXPECT_EQ(result, -5);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], CommandFailureMessage(nullptr) + c.detail);
    EXPECT_EQ(events[1], "end");
  }
}

TEST(CommandGuard, ABodyThatReturnsIsLeftAlone) {
  events.clear();
  EXPECT_EQ(RunGuarded([] { return 3; }, kRecorded, -5), 3);
  EXPECT_TRUE(events.empty());
}

TEST(CommandGuard, AReportThatThrowsStillEndsTheCommand) {
  events.clear();
  const CommandFailure failing{[](const std::string&) { throw std::bad_alloc(); },
                               [] { events.push_back("end"); }};
  EXPECT_EQ(RunGuarded([]() -> int { throw std::runtime_error("x"); }, failing, 0), 0);
  EXPECT_EQ(events, std::vector<std::string>{"end"});
}

}  // namespace
}  // namespace zu
