#include "ui/temp_code_path.h"

#include <gtest/gtest.h>

namespace zu {
namespace {

TEST(TempCodePathNaming, FolderNames) {
  struct Case {
    TempFolderNameParts parts;
    const char* name;
  } const cases[] = {
      {{5, 3, 14, 5, 9, 42, 41, "NC0001", 1}, "zu2006r3-53145942-41NC00011"},
      {{5, 3, 14, 5, 9, 42, 41, "NC0001", 2}, "zu2006r3-53145942-41NC00012"},
      {{1, 1, 0, 0, 0, 0, 0, "a", 1}, "zu2006r3-110000-0a1"},
      {{12, 31, 23, 59, 59, 999, 32767, "P.nc", 1000}, "zu2006r3-1231235959999-32767P.nc1000"},
      {{10, 10, 10, 10, 10, 100, 7, "", 3}, "zu2006r3-1010101010100-73"},
      // The typed name goes in as it is, '%' and all.
      {{2, 9, 8, 7, 6, 5, 4, "%d%s", 9}, "zu2006r3-298765-4%d%s9"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TempCodeFolderName(c.parts), c.name) << c.name;
}

TEST(TempCodePathNaming, TheFileGoesInsideTheFolder) {
  struct Case {
    const char* folder;
    const char* path;
  } const cases[] = {
      {"D:\\t", "D:\\t\\NC0001.cut"},
      {"D:\\t\\", "D:\\t\\NC0001.cut"},
      {"", "C:\\NC0001.cut"},
      {"D:/t/", "D:/t/\\NC0001.cut"},  // only '\\' ends a folder
      {"\\\\server\\share", "\\\\server\\share\\NC0001.cut"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CodePathIn(c.folder, "NC0001.cut"), c.path) << c.folder;
}

}  // namespace
}  // namespace zu
