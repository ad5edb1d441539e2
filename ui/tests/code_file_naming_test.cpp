#include "ui/code_file_naming.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zu {
namespace {

TEST(CodeFileNaming, RulesAndSerials) {
  struct Case {
    const char* path;
    const char* rule;
    int serial;
    const char* result;
  } const cases[] = {
      {"D:\\out\\old.cut", "NC####", 12, "D:\\out\\NC0012.cut"},
      {"D:\\out\\old.cut", "P#-##", 5, "D:\\out\\P5-05.cut"},
      {"D:\\out\\old.cut", "A###", 12345, "D:\\out\\A12345.cut"},
      {"D:\\out\\old.cut", "", 7, "D:\\out\\NC0007.cut"},
      {"D:\\out\\file", "NC####", 1, "D:\\out\\NC0001.cut"},
      {"D:\\out\\old.txt", "O####", 42, "D:\\out\\O0042.txt"},
      {"D:\\out\\a.b.nc", "#", 3, "D:\\out\\3.nc"},
      {"old.cut", "NC####", 9, "old.cut"},
      {"", "NC####", 9, ""},
      {"D:\\a.b\\file", "NC##", 4, "D:\\a.b\\NC04.cut"},  // a '.' in a folder is no extension
      {"D:\\out\\", "X", 1, "D:\\out\\X.cut"},
      {"D:\\out\\old.cut", "no marks", 1, "D:\\out\\no marks.cut"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BuildCodeFileName(c.path, c.rule, c.serial, 0), c.result)
        << c.path << " " << c.rule << " " << c.serial;
  }
}

TEST(CodeFileNaming, KeepingTheTypedNameChangesNothing) {
  EXPECT_EQ(BuildCodeFileName("D:\\out\\mine.cut", "NC####", 12, 1), "D:\\out\\mine.cut");
}

TEST(CodeFileNaming, VeryLongRunsOfMarksDoNotOverflow) {
  const std::string rule(5000, '#');
  const std::string name = BuildCodeFileName("D:\\out\\x.cut", rule, 12, 0);
  EXPECT_EQ(name.size(), std::string("D:\\out\\").size() + 5000 + 4);
  EXPECT_EQ(name.substr(name.size() - 6), "12.cut");
}

TEST(CodeFileNaming, TheFolderThatIsTested) {
  struct Case {
    const char* path;
    const char* folder;
  } const cases[] = {
      {"D:\\jobs\\part.cut", "D:\\jobs"},
      {"D:\\jobs\\part", "D:\\jobs\\part"},
      {"part.cut", "part.cut"},
      {"D:\\a.b\\part", "D:\\a.b\\part"},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CodeFolderOf(c.path), c.folder) << c.path;
  EXPECT_EQ(CodeFolderMissing(""), -1);
  const std::string here = std::filesystem::temp_directory_path().string();
  EXPECT_EQ(CodeFolderMissing((here + "\\x.cut").c_str()), 0);
  EXPECT_EQ(CodeFolderMissing((here + "/no such folder\\x.cut").c_str()), 1);
}

TEST(CodeFileNaming, MachineConfigurationListNames) {
  EXPECT_EQ(McfListName("FANUC-0i.mcf"), "FANUC-0i");
  EXPECT_EQ(McfListName("x.mcf  "), "x");
  EXPECT_EQ(McfListName("calc.mcf"), "calc");
  EXPECT_EQ(McfListName("fmc.mcf"), "fmc");  // the trimmed set stops at the dot
  EXPECT_EQ(McfListName("a..mcf"), "a");
  EXPECT_EQ(McfListName("FM.MCF"), "FM");  // extensions are compared without case
  EXPECT_EQ(McfListName("Fm.McF"), "Fm");
}

}  // namespace
}  // namespace zu
