// The texts the reader shows when a code file was not read whole.
#include "reader/read_problems.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "gcode/line_source.h"
#include "reader/tests/null_receiver.h"

namespace zureader {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

zu::gcode::ProgramRead WithErrors(std::uint64_t count) {
  zu::gcode::ProgramRead read;
  read.error_count = count;
  read.left_out = count;
  for (std::uint64_t i = 0; i < count && i < 1000; ++i)
    read.errors.push_back({i + 10, "G99.7 X" + std::to_string(i), "unknown code G99.7"});
  return read;
}

TEST(ReadProblems, AWholeProgramHasNothingToSay) {
  EXPECT_EQ(ProgramProblemsText("C:\\a.cut", zu::gcode::ProgramRead{}), "");
}

TEST(ReadProblems, ErrorsAreListedUpToTheLimitAndTheRestCounted) {
  const std::string all = ProgramProblemsText("C:\\a.cut", WithErrors(kListedErrors));
  EXPECT_THAT(all, HasSubstr("C:\\a.cut"));
  EXPECT_THAT(all, HasSubstr("10 "));
  EXPECT_THAT(all, HasSubstr("G99.7 X11\n    未知代码 G99.7"));
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

TEST(ReadProblems, BytesThatAreNoTextAreShownEscapedAndNothingIsCut) {
  zu::gcode::ProgramRead read;
  read.error_count = read.left_out = 1;
  read.errors.push_back({1,
                         std::string("\x7F"
                                     "ELF\x01\0\0X\xB5\xB6\tY",
                                     12),
                         "unexpected 0x7F"});
  const std::string text = ProgramProblemsText("C:\\a.bin", read);
  EXPECT_EQ(text.find('\0'), std::string::npos);
  EXPECT_THAT(text, HasSubstr("\\x7FELF\\x01\\x00\\x00X\xB5\xB6\\x09Y\n    意外的字符 0x7F"));
}

TEST(ReadProblems, BlocksReadInSpiteOfAnAlarmAreNotCountedAsLeftOut) {
  zu::gcode::ProgramRead read;
  read.error_count = 3;
  read.left_out = 1;
  read.errors.push_back({2, "G1 X1.",
                         "a feed move with no feed rate in force (a control raises an alarm)",
                         zu::gcode::Outcome::kRead});
  read.errors.push_back({3, "G1 X2. Q#1", "missing value after Q"});
  read.errors.push_back({4, "O100 REPEAT [3]",
                         "an O word this reader does not know: reading ends here",
                         zu::gcode::Outcome::kEnded});
  const std::string text = ProgramProblemsText("a.nc", read);
  EXPECT_THAT(text, HasSubstr("代码文件中有 3 处错误，其中 1 个程序段无法识别，已跳过："));
  EXPECT_THAT(text, HasSubstr("第 2 行 G1 X1.\n    进给移动没有指定进给速度"));
  EXPECT_THAT(text, HasSubstr("第 4 行 O100 REPEAT [3]\n    无法识别的 O 指令，读到此处为止"));
}

TEST(ReadProblems, TheFileOrDescriptionIsNamed) {
  EXPECT_THAT(SystemNotLoadedText("C:\\S\\X.xml", "C:\\S\\X.xml:3: bad"),
              HasSubstr("C:\\S\\X.xml\nC:\\S\\X.xml:3: bad"));
  EXPECT_THAT(CodeFileNotReadText("D:\\p.cut", false), HasSubstr("D:\\p.cut"));
  EXPECT_NE(CodeFileNotReadText("D:\\p.cut", false), CodeFileNotReadText("D:\\p.cut", true));
}

// A five-axis program: what the paths cannot hold is said once, before the
// problems, and only for a program that has it.
TEST(ReadProblems, AFiveAxisProgramIsSaidOnce) {
  zu::gcode::ProgramRead read;
  EXPECT_EQ(MultiAxisText(read), "");
  EXPECT_EQ(ReadingMessage("a.nc", read), "");
  read.rotary_axes = zu::gcode::kAxisA | zu::gcode::kAxisC;
  read.tool_centre_point = true;
  read.inverse_time = true;
  const std::string text = ReadingMessage("C:\\p\\wall.nc", read);
  EXPECT_THAT(text, HasSubstr("代码文件是多轴程序（旋转轴 A C）"));
  EXPECT_THAT(text, HasSubstr("旋转轴位置和刀轴方向没有保存"));
  EXPECT_THAT(text, HasSubstr("刀具中心点控制下 X Y Z 是刀尖位置"));
  EXPECT_THAT(text, HasSubstr("反比时间进给（G93）已换算为每分钟进给"));
  EXPECT_THAT(text, HasSubstr("\nC:\\p\\wall.nc"));

  zu::gcode::ProgramRead machine_axes;
  machine_axes.rotary_axes = zu::gcode::kAxisB;
  EXPECT_THAT(MultiAxisText(machine_axes), HasSubstr("（旋转轴 B）"));
  EXPECT_THAT(MultiAxisText(machine_axes), HasSubstr("X Y Z 是机床直线轴位置，不是刀尖位置"));
  EXPECT_THAT(MultiAxisText(machine_axes), Not(HasSubstr("G93")));

  zu::gcode::ProgramRead vectors;
  vectors.tool_vectors = vectors.tool_centre_point = true;
  EXPECT_THAT(MultiAxisText(vectors), HasSubstr("（刀轴矢量 A3= B3= C3=）"));

  // With problems: the note first, then the list as without it.
  zu::gcode::ProgramRead both = WithErrors(2);
  both.rotary_axes = zu::gcode::kAxisC;
  const std::string problems = ProgramProblemsText("a.nc", both);
  EXPECT_EQ(ReadingMessage("a.nc", both), MultiAxisText(both) + "\n\n" + problems);
  EXPECT_EQ(ReadingMessage("a.nc", WithErrors(2)), ProgramProblemsText("a.nc", WithErrors(2)));
}

// Read as its machine's description, the five-axis sample gives the note and
// no error; read as the three-axis FANUC-0i, every rotary word is an error.
TEST(ReadProblems, TheFiveAxisSampleReadsWithTheNoteAlone) {
  const std::string root = ZU_SOURCE_DIR;
  auto five = zu::gcode::LoadNcSystemFile(root + "/gcode/tests/ncsystems/FANUC-0i-AC.xml");
  ASSERT_TRUE(five.ok) << five.error;
  std::FILE* file = std::fopen((root + "/gcode/samples/fanuc_5axis.nc").c_str(), "rb");
  ASSERT_NE(file, nullptr);
  zu::gcode::FileByteReader bytes(file);
  zu::gcode::StreamLineSource lines(bytes);
  NullReceiver receiver;
  const auto read = zu::gcode::ReadProgram(five.system, lines, receiver);
  std::fclose(file);
  const std::string text = ReadingMessage("wall.nc", read);
  EXPECT_EQ(text, MultiAxisText(read) + "\nwall.nc");
  EXPECT_THAT(text, HasSubstr("（旋转轴 A C）"));
  EXPECT_THAT(text, Not(HasSubstr("未知")));
}

}  // namespace
}  // namespace zureader
