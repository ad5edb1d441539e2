#include "postmodule/command_line.h"

#include <gtest/gtest.h>

namespace postmodule {
namespace {

TEST(PostModuleCommandLine, BothFormsOfThePostProcessor) {
  auto parsed = ParsePostRequest(
      ArgumentsOf("C:\\ORVO\\Post\\ORVOPost.exe   *orvopost*pmf=D:\\a b\\part.pmf"));
  ASSERT_TRUE(parsed.request) << parsed.error;
  EXPECT_EQ(parsed.request->form, PostRequest::Form::OrvoPost);
  EXPECT_EQ(parsed.request->tool_location_file, "D:\\a b\\part.pmf");

  // A tab separates the program from its arguments as a blank does.
  parsed = ParsePostRequest(ArgumentsOf("C:\\ORVO\\Post\\ORVOPost.exe\t*orvopost*pmf=C:\\x.pmf"));
  ASSERT_TRUE(parsed.request) << parsed.error;
  EXPECT_EQ(parsed.request->tool_location_file, "C:\\x.pmf");

  parsed = ParsePostRequest(ArgumentsOf(
      "\"C:\\O P\\ORVOPost.exe\" *posttc*C:\\zu.pmf*D:\\Mcf\\FANUC.mcf*C:\\t\\NC.cut*"));
  ASSERT_TRUE(parsed.request) << parsed.error;
  EXPECT_EQ(parsed.request->form, PostRequest::Form::PostTc);
  EXPECT_EQ(parsed.request->tool_location_file, "C:\\zu.pmf");
  EXPECT_EQ(parsed.request->machine_file, "D:\\Mcf\\FANUC.mcf");
  EXPECT_EQ(parsed.request->code_file, "C:\\t\\NC.cut");
}

TEST(PostModuleCommandLine, MalformedCommandLinesSayWhy) {
  const char* bad[] = {
      "ORVOPost.exe",
      "ORVOPost.exe *orvopost*pmf=",
      "ORVOPost.exe *posttc*a*b*",
      "ORVOPost.exe *posttc*a*b*c",
      "ORVOPost.exe *posttc*a**c*",
      "ORVOPost.exe *posttc*a*b*c*d*",
      "ORVOPost.exe -pmf x",
  };
  for (const char* line : bad) {
    const auto parsed = ParsePostRequest(ArgumentsOf(line));
    EXPECT_FALSE(parsed.request) << line;
    EXPECT_FALSE(parsed.error.empty()) << line;
  }
}

TEST(PostModuleCommandLine, ProcessFileAndEditorArguments) {
  EXPECT_EQ(ProcessFileFor("D:\\jobs\\part.pmf"), "D:\\jobs\\part.pro");
  const auto file = ParseProcessFile(
      "[process]\r\nmcfname D:\\Mcf\\F.mcf\r\ngcodename D:\\a b.cut\r\nexename C:\\n.exe\r\n"
      "[endprocess]\r\n[filetail]\r\n");
  EXPECT_EQ(file.error, "");
  EXPECT_EQ(file.entries.at("gcodename"), "D:\\a b.cut");
  EXPECT_EQ(ParseProcessFile("[process]\nmcfname x\n").error,
            "no [process] ... [endprocess] section");
  // An end before the section opens closes nothing.
  EXPECT_EQ(ParseProcessFile("[endprocess]\n[process]\nmcfname a\ngcodename b\nexename c\n").error,
            "no [process] ... [endprocess] section");
  EXPECT_EQ(ParseProcessFile("[process]\nmcfname x\nexename y\n[endprocess]\n").error,
            "no gcodename entry");
  EXPECT_EQ(ParseEditorArguments(ArgumentsOf("C:\\Post\\OrvoPostUI.exe *mcf*D:\\Mcf")), "D:\\Mcf");
  EXPECT_EQ(ParseEditorArguments(ArgumentsOf("OrvoPostUI.exe *mcf*")), "");
  EXPECT_FALSE(ParseEditorArguments(ArgumentsOf("OrvoPostUI.exe D:\\Mcf")));
}

}  // namespace
}  // namespace postmodule
