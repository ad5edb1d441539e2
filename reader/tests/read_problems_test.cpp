// The texts the reader shows when a code file was not read whole.
#include "reader/read_problems.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zureader {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

zu::gcode::ProgramRead WithErrors(std::uint64_t count) {
  zu::gcode::ProgramRead read;
  read.error_count = count;
  for (std::uint64_t i = 0; i < count && i < 1000; ++i)
    read.errors.push_back({i + 10, "G99.7 X" + std::to_string(i), "unknown G code 99.7"});
  return read;
}

TEST(ReadProblems, AWholeProgramHasNothingToSay) {
  EXPECT_EQ(ProgramProblemsText("C:\\a.cut", zu::gcode::ProgramRead{}), "");
}

TEST(ReadProblems, ErrorsAreListedUpToTheLimitAndTheRestCounted) {
  const std::string all = ProgramProblemsText("C:\\a.cut", WithErrors(kListedErrors));
  EXPECT_THAT(all, HasSubstr("C:\\a.cut"));
  EXPECT_THAT(all, HasSubstr("10 "));
  EXPECT_THAT(all, HasSubstr("G99.7 X11\n    unknown G code 99.7"));
  EXPECT_THAT(all, Not(HasSubstr("……")));

  const std::string more = ProgramProblemsText("C:\\a.cut", WithErrors(kListedErrors + 1));
  EXPECT_THAT(more, HasSubstr("G99.7 X11"));
  EXPECT_THAT(more, Not(HasSubstr("G99.7 X12")));
  EXPECT_THAT(more, HasSubstr("……另有 1 处"));

  // Errors beyond those the interpreter kept are counted too.
  zu::gcode::ProgramRead many = WithErrors(5000);
  EXPECT_THAT(ProgramProblemsText("C:\\a.cut", many), HasSubstr("5000"));
  EXPECT_THAT(ProgramProblemsText("C:\\a.cut", many),
              HasSubstr("另有 " + std::to_string(5000 - kListedErrors) + " 处"));
}

TEST(ReadProblems, TheFileOrDescriptionIsNamed) {
  EXPECT_THAT(SystemNotLoadedText("C:\\S\\X.xml", "C:\\S\\X.xml:3: bad"),
              HasSubstr("C:\\S\\X.xml\nC:\\S\\X.xml:3: bad"));
  EXPECT_THAT(CodeFileNotReadText("D:\\p.cut", false), HasSubstr("D:\\p.cut"));
  EXPECT_NE(CodeFileNotReadText("D:\\p.cut", false), CodeFileNotReadText("D:\\p.cut", true));
}

}  // namespace
}  // namespace zureader
