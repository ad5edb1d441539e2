// The settings file: a fresh installation, the round trip, the registry's
// say over McfFolder, hand-written and damaged files.
#include "shell/post_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace zu {
namespace {

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = std::filesystem::temp_directory_path() / "zu_settings_test";
    file_ = (home_ / "ZuPost.ini").string();
    RemoveHome();
    std::filesystem::create_directories(home_);
    sources_.home_folder = home_.string();
    sources_.read_post_path = [this](Text& folder) {
      if (registry_post_path_.empty())
        return false;
      folder = registry_post_path_;
      return true;
    };
    sources_.folder_missing = [this](const std::string& folder) {
      made_checked_.push_back(folder);
      return !std::filesystem::exists(Native(folder));
    };
    sources_.make_folder = [](const std::string& folder) {
      std::filesystem::create_directory(Native(folder));
    };
  }
  void TearDown() override { RemoveHome(); }

  // The read-only test leaves a file that must be made writable first.
  void RemoveHome() const {
    std::error_code ignored;
    std::filesystem::permissions(file_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(home_, ignored);
  }

  // The store joins folders with '\\'; the native file system wants '/'.
  static std::string Native(std::string path) {
    for (char& c : path) {
      if (c == '\\')
        c = '/';
    }
    return path;
  }

  PostSettingsRecord Fresh() const {
    PostSettingsRecord s;
    s.FilePath = file_;
    return s;
  }
  void WriteFile(const std::string& bytes) const {
    std::ofstream(file_, std::ios::binary) << bytes;
  }
  std::string Bytes() const {
    std::ifstream in(file_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::filesystem::path home_;
  std::string file_;
  std::string registry_post_path_;
  std::vector<std::string> made_checked_;
  SettingsSources sources_;
};

TEST_F(SettingsFile, AFreshInstallationGetsTheDefaults) {
  PostSettingsRecord s = Fresh();
  LoadSettingsFrom(s, sources_);
  EXPECT_EQ(s.CodePathName, (home_.string() + "\\Cut\\NC0001.cut").c_str());
  EXPECT_EQ(s.FileNameSuffix, "NC####");
  EXPECT_EQ(s.JigToolAxis, 2);
  EXPECT_EQ(s.JigToolUpHeight, 500.0);
  EXPECT_EQ(s.MinSectionLine, 1e-7);
  EXPECT_TRUE(std::filesystem::is_directory(home_ / "Cut"));
}

TEST_F(SettingsFile, SavedBytesAndTheRoundTrip) {
  PostSettingsRecord s = Fresh();
  s.CurrentMcf = "FANUC";
  s.McfFolder = "D:\\never written";
  s.ExeFileName = "C:\\Program Files\\100% Edit\\edit.exe";
  s.PickPath = 1;
  s.LeavePmf = 1;
  s.PmfPathName = "D:\\jobs\\part.pmf";
  s.CodePathName = "D:\\jobs\\NC0012.cut";
  s.FileNameID = 12;
  s.ReadCode = "D:\\jobs\\old.cut";
  s.OptimizePath = 1;
  s.OptimizeTol = 0.0012345678;
  s.UseJigCoord = 1;
  s.JigToolAxis = 0;
  s.FixMillMode = 1;
  s.JigToolUpHeight = 250.5;
  SaveSettingsTo(s);
  EXPECT_EQ(Bytes(),
            "[MCFINFO]\r\n"
            "CurrentMcf=FANUC\r\n"
            "ExeFileName=C:\\Program Files\\100% Edit\\edit.exe\r\n"
            "PickPath=1\r\n"
            "LeavePmf=1\r\n"
            "PmfPathName=D:\\jobs\\part.pmf\r\n"
            "CodePathName=D:\\jobs\\NC0012.cut\r\n"
            "FileNameID=12\r\n"
            "FileNameSuffix=NC####\r\n"
            "ReadCode=D:\\jobs\\old.cut\r\n"
            "OptimizePath=1\r\n"
            "OptimizeTol=0.00123457\r\n"
            "MaxArcRadius=9999\r\n"
            "MinArcRadius=0.01\r\n"
            "MinSectionLine=1e-07\r\n"
            "UseCurrentGName=0\r\n"
            "UseJigCoord=1\r\n"
            "JigToolAxis=0\r\n"
            "FixMillMode=1\r\n"
            "JigToolUpHeight=250.5\r\n"
            "JigTolerance=0.005\r\n");
  PostSettingsRecord back = Fresh();
  LoadSettingsFrom(back, sources_);
  EXPECT_EQ(back.ExeFileName, s.ExeFileName);  // the percent sign is kept
  EXPECT_EQ(back.CodePathName, s.CodePathName);
  EXPECT_EQ(back.FileNameID, 12);
  EXPECT_EQ(back.OptimizeTol, 0.00123457);  // "%g" keeps six digits
  EXPECT_EQ(back.JigToolAxis, 0);
  EXPECT_EQ(back.McfFolder, "");  // never read from the file
}

TEST_F(SettingsFile, McfFolderFollowsTheRegistryOnly) {
  WriteFile("[MCFINFO]\r\nMcfFolder=D:\\from file\r\nNoRedisplay=1\r\n");
  PostSettingsRecord s = Fresh();
  LoadSettingsFrom(s, sources_);
  EXPECT_EQ(s.McfFolder, "");
  registry_post_path_ = "D:\\Mcf";
  LoadSettingsFrom(s, sources_);
  EXPECT_EQ(s.McfFolder, "D:\\Mcf");
  registry_post_path_.clear();  // a failed registry read keeps the last value
  LoadSettingsFrom(s, sources_);
  EXPECT_EQ(s.McfFolder, "D:\\Mcf");
}

TEST_F(SettingsFile, MissingKeysLeaveFieldsAsTheyWere) {
  WriteFile("[MCFINFO]\r\nCurrentMcf=HNC\r\nFileNameID=3\r\n");
  PostSettingsRecord s = Fresh();
  s.JigToolAxis = 1;
  s.JigToolUpHeight = 42;
  s.UseJigCoord = 1;
  LoadSettingsFrom(s, sources_);
  EXPECT_EQ(s.CurrentMcf, "HNC");
  EXPECT_EQ(s.FileNameID, 3);
  EXPECT_EQ(s.JigToolAxis, 1);
  EXPECT_EQ(s.JigToolUpHeight, 42);
  EXPECT_EQ(s.UseJigCoord, 1);
}

TEST_F(SettingsFile, LastValueWinsAndOddLinesAreSkipped) {
  const std::string long_value(300, 'v');
  const std::string long_line(2000, 'x');
  WriteFile(
      "[MCFINFO]\r\n"
      "FileNameID=1\r\n"
      "no equals sign\r\n"
      "CodePathName=" +
      long_value + "\r\n" + long_line +
      "=5\r\n"
      "FileNameID=7\r\n"
      "OptimizeTol=abc\r\n"
      "PickPath=\r\n"
      "Unknown=9\r\n"
      "CurrentMcf=LAST");  // no line end: the whole value counts
  PostSettingsRecord s = Fresh();
  s.PickPath = 1;
  LoadSettingsFrom(s, sources_);
  EXPECT_EQ(s.FileNameID, 7);
  EXPECT_EQ(s.OptimizeTol, 0.0);  // a non-number gives 0
  EXPECT_EQ(s.PickPath, 0);       // an empty value gives 0
  EXPECT_EQ(s.CurrentMcf, "LAST");
  EXPECT_EQ(s.CodePathName, (home_.string() + "\\Cut\\NC0001.cut").c_str());
}

TEST_F(SettingsFile, AFileWithoutItsHeaderIsNotRead) {
  WriteFile("[OTHER]\r\nFileNameID=5\r\nCodePathName=D:\\x.cut\r\n");
  PostSettingsRecord s = Fresh();
  LoadSettingsFrom(s, sources_);
  EXPECT_EQ(s.FileNameID, 0);
  EXPECT_EQ(s.CodePathName, (home_.string() + "\\Cut\\NC0001.cut").c_str());
}

TEST_F(SettingsFile, ASettingsPathThatCannotBeOpenedKeepsMemory) {
  std::filesystem::create_directory(file_);  // a folder where the file should be
  PostSettingsRecord s = Fresh();
  s.FileNameID = 2;
  s.CodePathName = "D:\\mine.cut";
  LoadSettingsFrom(s, sources_);
  EXPECT_EQ(s.FileNameID, 2);
  EXPECT_EQ(s.CodePathName, (home_.string() + "\\Cut\\NC0001.cut").c_str());
  SaveSettingsTo(s);  // nothing to write to: nothing happens
  EXPECT_TRUE(std::filesystem::is_directory(file_));
}

TEST_F(SettingsFile, AReadOnlyFileKeepsMemory) {
  WriteFile("[MCFINFO]\r\nFileNameID=5\r\n");
  std::filesystem::permissions(file_, std::filesystem::perms::owner_read);
  PostSettingsRecord s = Fresh();
  s.FileNameID = 2;
  s.CodePathName = "D:\\mine.cut";
  LoadSettingsFrom(s, sources_);
  if (std::ofstream(file_, std::ios::app))
    GTEST_SKIP() << "running as a user who may write anyway";
  EXPECT_EQ(s.FileNameID, 2);
  EXPECT_EQ(s.CodePathName, (home_.string() + "\\Cut\\NC0001.cut").c_str());
  SaveSettingsTo(s);  // not writable: nothing happens
  EXPECT_EQ(Bytes(), "[MCFINFO]\r\nFileNameID=5\r\n");
}

}  // namespace
}  // namespace zu
