#include "framework/text_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "framework/testing/test_folder.h"

namespace zu {
namespace {

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(TextFile, LinesEndInCrLfOnDiskAndReadBackWithout) {
  const TestFolder folder;
  const std::string path = folder.File("lines.txt");
  {
    TextFile out(path.c_str(), "w+");
    ASSERT_TRUE(out.is_open());
    EXPECT_TRUE(out.Printf("[MCFINFO]\nA=%d\n", 5));
    EXPECT_TRUE(out.Write("B=100%\nlast"));
  }
  EXPECT_EQ(Bytes(path), "[MCFINFO]\r\nA=5\r\nB=100%\r\nlast");
  TextFile in(path.c_str(), "r+");
  std::string line;
  bool too_long = false;
  bool ended = false;
  const char* expected[] = {"[MCFINFO]", "A=5", "B=100%"};
  for (const char* want : expected) {
    ASSERT_TRUE(in.ReadLine(line, 1023, too_long, ended));
    EXPECT_EQ(line, want);
    EXPECT_TRUE(ended);
  }
  ASSERT_TRUE(in.ReadLine(line, 1023, too_long, ended));
  EXPECT_EQ(line, "last");
  EXPECT_FALSE(ended);
  EXPECT_FALSE(in.ReadLine(line, 1023, too_long, ended));
  in.Close();
}

TEST(TextFile, OverlongLinesAreCutAndFlagged) {
  const TestFolder folder;
  const std::string path = folder.File("long.txt");
  std::ofstream(path, std::ios::binary) << std::string(3000, 'x') << "\r\nshort\r\n";
  TextFile in(path.c_str(), "r");
  std::string line;
  bool too_long = false;
  bool ended = false;
  ASSERT_TRUE(in.ReadLine(line, 1023, too_long, ended));
  EXPECT_TRUE(too_long);
  EXPECT_EQ(line.size(), 1023u);
  ASSERT_TRUE(in.ReadLine(line, 1023, too_long, ended));
  EXPECT_FALSE(too_long);
  EXPECT_EQ(line, "short");
  in.Close();
}

TEST(TextFile, AFileThatCannotBeOpenedReadsAndWritesNothing) {
  TextFile missing("/nonexistent-folder/x.txt", "r+");
  EXPECT_FALSE(missing.is_open());
  std::string line;
  bool too_long = false, ended = false;
  EXPECT_FALSE(missing.ReadLine(line, 10, too_long, ended));
  EXPECT_FALSE(missing.Write("x"));
}

}  // namespace
}  // namespace zu
