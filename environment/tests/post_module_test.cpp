// The post module's rules: registry value trimming, the process file's name
// and bytes, and the three command lines.
#include "environment/post_module.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "framework/testing/test_folder.h"
#include "environment/code_file_search.h"
#include "environment/post_settings.h"

namespace zu {
namespace {

TEST(PostModule, RegistryValuesLoseTrailingPathCharacters) {
  struct Case {
    const char* value;
    const char* trimmed;
  } const cases[] = {
      {"D:\\post\\\\", "D:\\post"},
      {"D:\\post/", "D:\\post"},
      {"D:\\Post\\", "D:\\Post"},
      {"C:\\a\\b", "C:\\a\\b"},
      {"\\\\\\", ""},
      {"x*?\"<>|/\\", "x"},
      {"C:\\a\\|*\\", "C:\\a"},
      {"", ""},
      {"C:\\a b ", "C:\\a b "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TrimPostRegValue(c.value), c.trimmed) << c.value;
}

TEST(PostModule, ProcessFileNames) {
  struct Case {
    const char* tool_location;
    const char* process;
  } const cases[] = {
      {"D:\\jobs\\part.pmf", "D:\\jobs\\part.pro"},
      {"D:\\jobs\\map", "D:\\jobs\\mapro"},
      {"C:\\temp\\zucl.pmf", "C:\\temp\\zucl.pro"},
      {"D:\\x.fmp", "D:\\x.pro"},
      {"pmf", "pro"},
      {"", "pro"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ProcessFileNameFor(c.tool_location), c.process);
}

TEST(PostModule, TheKeptToolLocationFileIsNamedInTheCodeFilesFolder) {
  struct Case {
    const char* code_file;
    const char* tool_location;
  } const cases[] = {
      {"D:\\jobs\\part.cut", "D:\\jobs\\part.pmf"},
      {"D:\\a.b\\NC0001.cut", "D:\\a.b\\NC0001.pmf"},  // a folder's '.' is not the extension
      {"D:\\a.b\\NC0001", "D:\\a.b\\NC0001.pmf"},
      {"D:\\jobs\\part.v2.nc", "D:\\jobs\\part.v2.pmf"},
      {"part", "part.pmf"},
      {".cut", ".pmf"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ToolLocationBesideCode(c.code_file), c.tool_location) << c.code_file;
}

TEST(PostModule, CodeFilesAreSearchedByTheirStemAndExtension) {
  struct Case {
    const char* code_file;
    const char* pattern;
    const char* folder;
  } const cases[] = {
      {"C:\\tmp\\x\\NC0001.cut", "C:\\tmp\\x\\NC0001*.cut", "C:\\tmp\\x\\"},
      {"C:\\tmp\\NC0001.part.nc", "C:\\tmp\\NC0001.part*.nc", "C:\\tmp\\"},
      {"C:\\tmp\\NC0001", "C:\\tmp\\NC0001*.cut", "C:\\tmp\\"},
      {"NC.", "NC*.", ""},
      // 淺 (B2 5C): its second byte is no separator
      {"C:\\t\\\xB2\x5C.cut", "C:\\t\\\xB2\x5C*.cut", "C:\\t\\"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CodeFilePattern(c.code_file), c.pattern) << c.code_file;
    EXPECT_EQ(PatternFolder(c.pattern), c.folder) << c.code_file;
  }
}

TEST(PostModule, CommandLines) {
  EXPECT_EQ(PostProcessorCommand("D:\\Post\\ORVOPost.exe ", "D:\\jobs\\part.pmf"),
            "D:\\Post\\ORVOPost.exe   *orvopost*pmf=D:\\jobs\\part.pmf");
  EXPECT_EQ(PostProcessorCommand("\\ORVOPost.exe ", "C:\\w\\temp\\zucl.pmf"),
            "\\ORVOPost.exe   *orvopost*pmf=C:\\w\\temp\\zucl.pmf");
  EXPECT_EQ(TextRoadCommand("D:\\Post", "C:\\zu.pmf", "D:\\Mcf", "FANUC", "C:\\t\\1\\NC.cut"),
            "D:\\Post\\ORVOPost.exe *posttc*C:\\zu.pmf*D:\\Mcf\\FANUC.mcf*C:\\t\\1\\NC.cut*");
  EXPECT_EQ(EditorCommand("D:\\Post", "D:\\Mcf"), "D:\\Post\\OrvoPostUI.exe *mcf*D:\\Mcf");
  EXPECT_EQ(EditorCommand("", ""), "\\OrvoPostUI.exe *mcf*");
}

class ProcessFile : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = PostSettings;
    test_folder_ = std::make_unique<TestFolder>();
    folder_ = test_folder_->path();
  }
  void TearDown() override {
    PostSettings = saved_;
    PostCodeName[0] = '\0';
    test_folder_.reset();
  }
  static std::string Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  PostSettingsRecord saved_;
  std::unique_ptr<TestFolder> test_folder_;
  std::filesystem::path folder_;
};

TEST_F(ProcessFile, HoldsTheMachineTheCodeFileAndTheViewer) {
  PostSettings.McfFolder = "D:\\Mcf";
  PostSettings.CurrentMcf = "FANUC-0i";
  PostSettings.ExeFileName = "C:\\windows\\notepad.exe";
  std::snprintf(PostCodeName, sizeof PostCodeName, "%s", "D:\\jobs\\NC0012.cut");
  const std::string pmf = (folder_ / "part.pmf").string();
  ASSERT_TRUE(WriteProcessFile(pmf.c_str()));
  EXPECT_EQ(Bytes(folder_ / "part.pro"),
            "[process]\r\n"
            "mcfname D:\\Mcf\\FANUC-0i.mcf\r\n"
            "gcodename D:\\jobs\\NC0012.cut\r\n"
            "exename C:\\windows\\notepad.exe\r\n"
            "[endprocess]\r\n"
            "[filetail]\r\n");
}

TEST_F(ProcessFile, AnEmptyMachineFolderStillGetsItsBackslash) {
  PostSettings.McfFolder = "";
  PostSettings.CurrentMcf = "HNC";
  const std::string pmf = (folder_ / "map").string();
  ASSERT_TRUE(WriteProcessFile(pmf.c_str()));
  const std::string text = Bytes(folder_ / "mapro");
  EXPECT_NE(text.find("mcfname \\HNC.mcf\r\n"), std::string::npos) << text;
}

TEST_F(ProcessFile, AFolderThatDoesNotExistFails) {
  const std::string pmf = (folder_ / "missing" / "part.pmf").string();
  EXPECT_FALSE(WriteProcessFile(pmf.c_str()));
}

#if !defined(_WIN32)
TEST_F(ProcessFile, AFailedCloseOnAFullDeviceIsAFailure) {
  // The process file opens, but what was written cannot be stored.
  std::filesystem::create_symlink("/dev/full", folder_ / "full.pro");
  const std::string pmf = (folder_ / "full.pmf").string();
  EXPECT_FALSE(WriteProcessFile(pmf.c_str()));
}
#endif

}  // namespace
}  // namespace zu
