// The settings file: a fresh installation, the round trip, the registry's
// say over McfFolder, hand-written and damaged files.
#include "environment/post_settings.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "framework/testing/test_folder.h"

namespace zu {
namespace {

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::make_unique<TestFolder>();
    home_ = folder_->path();
    file_ = (home_ / "ZuPost.ini").string();
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

  std::unique_ptr<TestFolder> folder_;
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

TEST_F(SettingsFile, EveryFieldSurvivesASaveAndALoad) {
  // Values other than the defaults, each exact in six significant digits.
  PostSettingsRecord s = Fresh();
  s.CurrentMcf = "SIEMENS-840D";
  s.ExeFileName = "C:\\v\\view.exe";
  s.PickPath = 1;
  s.LeavePmf = 1;
  s.PmfPathName = "D:\\p.pmf";
  s.CodePathName = "D:\\c\\O77.nc";
  s.FileNameID = 77;
  s.FileNameSuffix = "O##";
  s.ReadCode = "D:\\r.cut";
  s.OptimizePath = 1;
  s.OptimizeTol = 0.25;
  s.MaxArcRadius = 1234.5;
  s.MinArcRadius = 0.5;
  s.MinSectionLine = 2e-05;
  s.UseCurrentGName = 1;
  s.UseJigCoord = 1;
  s.JigToolAxis = 1;
  s.FixMillMode = 1;
  s.JigToolUpHeight = 321.25;
  s.JigTolerance = 0.125;
  SaveSettingsTo(s);
  PostSettingsRecord back = Fresh();
  LoadSettingsFrom(back, sources_);
  EXPECT_EQ(back.CurrentMcf, s.CurrentMcf);
  EXPECT_EQ(back.ExeFileName, s.ExeFileName);
  EXPECT_EQ(back.PickPath, s.PickPath);
  EXPECT_EQ(back.LeavePmf, s.LeavePmf);
  EXPECT_EQ(back.PmfPathName, s.PmfPathName);
  EXPECT_EQ(back.CodePathName, s.CodePathName);
  EXPECT_EQ(back.FileNameID, s.FileNameID);
  EXPECT_EQ(back.FileNameSuffix, s.FileNameSuffix);
  EXPECT_EQ(back.ReadCode, s.ReadCode);
  EXPECT_EQ(back.OptimizePath, s.OptimizePath);
  EXPECT_EQ(back.OptimizeTol, s.OptimizeTol);
  EXPECT_EQ(back.MaxArcRadius, s.MaxArcRadius);
  EXPECT_EQ(back.MinArcRadius, s.MinArcRadius);
  EXPECT_EQ(back.MinSectionLine, s.MinSectionLine);
  EXPECT_EQ(back.UseCurrentGName, s.UseCurrentGName);
  EXPECT_EQ(back.UseJigCoord, s.UseJigCoord);
  EXPECT_EQ(back.JigToolAxis, s.JigToolAxis);
  EXPECT_EQ(back.FixMillMode, s.FixMillMode);
  EXPECT_EQ(back.JigToolUpHeight, s.JigToolUpHeight);
  EXPECT_EQ(back.JigTolerance, s.JigTolerance);
}

TEST_F(SettingsFile, ValuesOfUpTo255CharactersAreRead) {
  const std::string longest(255, 'a');
  const std::string too_long(256, 'b');
  WriteFile("[MCFINFO]\r\nCurrentMcf=" + longest + "\r\nReadCode=" + too_long + "\r\n");
  PostSettingsRecord s = Fresh();
  s.ReadCode = "kept";
  LoadSettingsFrom(s, sources_);
  EXPECT_EQ(s.CurrentMcf, longest.c_str());
  EXPECT_EQ(s.ReadCode, "kept");
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

TEST_F(SettingsFile, AJigToleranceFinerThanTheBoundIsRaisedToIt) {
  struct Case {
    const char* value;
    double loaded;
  } const cases[] = {
      {"1e-17", kMinJigTolerance},
      {"0.000099", kMinJigTolerance},
      {"0.0001", 0.0001},
      {"0.002", 0.002},
      {"0", 0},  // not above zero: the chords take the default
      {"-1", -1},
  };
  for (const auto& c : cases) {
    WriteFile(std::string("[MCFINFO]\r\nJigTolerance=") + c.value + "\r\n");
    PostSettingsRecord s = Fresh();
    LoadSettingsFrom(s, sources_);
    EXPECT_EQ(s.JigTolerance, c.loaded) << c.value;
  }
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

#if !defined(_WIN32)
// Runs as a user without rights beyond a file's permissions: an ordinary
// user stays as it is, root acts as "nobody" until the guard goes.
class WithoutRootRights {
 public:
  WithoutRootRights() {
    if (geteuid() == 0) {
      dropped_ = seteuid(kNobody) == 0;
      EXPECT_TRUE(dropped_) << "cannot act as an ordinary user";
    }
  }
  ~WithoutRootRights() {
    if (dropped_) {
      EXPECT_EQ(seteuid(0), 0);
    }
  }

 private:
  static constexpr uid_t kNobody = 65534;
  bool dropped_ = false;
};

TEST_F(SettingsFile, AReadOnlyFileKeepsMemory) {
  WriteFile("[MCFINFO]\r\nFileNameID=5\r\n");
  std::filesystem::permissions(file_, std::filesystem::perms::owner_read |
                                          std::filesystem::perms::group_read |
                                          std::filesystem::perms::others_read);
  PostSettingsRecord s = Fresh();
  s.FileNameID = 2;
  s.CodePathName = "D:\\mine.cut";
  std::filesystem::create_directory(home_ / "Cut");  // the ordinary user may not make it
  {
    const WithoutRootRights ordinary_user;
    ASSERT_FALSE(std::ofstream(file_, std::ios::app)) << "the file is writable after all";
    LoadSettingsFrom(s, sources_);
    EXPECT_EQ(s.FileNameID, 2);
    EXPECT_EQ(s.CodePathName, (home_.string() + "\\Cut\\NC0001.cut").c_str());
    SaveSettingsTo(s);  // not writable: nothing happens
  }
  EXPECT_EQ(Bytes(), "[MCFINFO]\r\nFileNameID=5\r\n");
}
#endif

}  // namespace
}  // namespace zu
