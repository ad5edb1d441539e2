// The host program loads the real plug-in, finds its six entry points by
// ordinal, calls them, and reports a refused load.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/run_program.h"

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

using zutest::BinFolder;
using zutest::RunProgram;

std::string Host() {
  return "\"" + BinFolder() + "\\zuhost.exe\"";
}

// The commands open dialogs and start the editor: an empty script cancels
// every dialog, the editor's as well.
class HostLoadsPlugin : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    script_ = std::string(folder) + "zu_entry_points.script";
    std::ofstream(script_) << "";
    SetEnvironmentVariableA("ZU_POSTUI_SCRIPT", script_.c_str());
  }
  void TearDown() override { SetEnvironmentVariableA("ZU_POSTUI_SCRIPT", nullptr); }
  std::string Automated() const { return Host() + " --automation \"" + script_ + "\""; }
  std::string script_;
};

TEST_F(HostLoadsPlugin, FindsAndCallsEveryOrdinal) {
  const auto run = RunProgram(
      Automated() + " entry-points --call 1 --call 2 --call 3 --call 4 --call 5 --call 6");
  ASSERT_TRUE(run.started);
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  for (int ordinal = 1; ordinal <= 6; ++ordinal) {
    EXPECT_THAT(run.output, HasSubstr("entry point " + std::to_string(ordinal) + " found"));
  }
  // Each command has ended (entry point 1 with its dialog cancelled).
  const char* results[] = {"entry point 1 returned 0", "entry point 2 returned 0",
                           "entry point 3 returned 0", "entry point 4 returned 1",
                           "entry point 5 returned 0", "entry point 6 returned 1"};
  for (const char* line : results)
    EXPECT_THAT(run.output, HasSubstr(line));
  EXPECT_THAT(run.output, HasSubstr("unloaded the plug-in"));
}

TEST_F(HostLoadsPlugin, TheHostsBaseFolderIsItsOwnFolderForEverySubcommand) {
  // The settings dialog is cancelled; the settings are written all the same,
  // with the default code file under the host's base folder.
  const std::string settings =
      BinFolder().substr(0, BinFolder().find_last_of('\\')) + "\\para\\ZuPost.ini";
  DeleteFileA(settings.c_str());
  const auto run = RunProgram(Automated() + " entry-points --call 2");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  std::ifstream in(settings, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  EXPECT_THAT(lines, Contains("CodePathName=" + BinFolder() + "\\Cut\\NC0001.cut\r"));
  DeleteFileA(settings.c_str());
}

TEST_F(HostLoadsPlugin, EntryPointOneAnswersOtherCallStatesWithOne) {
  const auto run = RunProgram(Automated() + " entry-points --call 1 --state 2");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  EXPECT_THAT(run.output, HasSubstr("entry point 1 returned 1"));
}

TEST_F(HostLoadsPlugin, ARefusedRegistrationFailsTheLoadAndTheHostSaysSo) {
  SetEnvironmentVariableA("ZU_TEST_REFUSE_EXTENSION_MODULE", "1");
  const auto run = RunProgram(Host() + " entry-points --call 1");
  SetEnvironmentVariableA("ZU_TEST_REFUSE_EXTENSION_MODULE", nullptr);
  EXPECT_EQ(run.exit_code, 2u) << run.output;
  EXPECT_THAT(run.output,
              HasSubstr("zupost.dll: its initialisation refused the load (error 1114)"));
  EXPECT_THAT(run.output, Not(HasSubstr("returned")));
}

TEST_F(HostLoadsPlugin, AMissingLibraryIsReported) {
  const auto run = RunProgram(Host() + " --plugin C:\\nowhere\\zupost.dll entry-points");
  EXPECT_EQ(run.exit_code, 2u) << run.output;
  EXPECT_THAT(run.output, HasSubstr("cannot load C:\\nowhere\\zupost.dll"));
}

TEST_F(HostLoadsPlugin, ALibraryThatIsNotThePluginIsRefusedUnloaded) {
  // zuhost.dll exports ordinals 1 to 6 too; calling them would crash.
  const auto run =
      RunProgram(Host() + " --plugin " + BinFolder() + "\\zuhost.dll entry-points --call 2");
  EXPECT_EQ(run.exit_code, 2u) << run.output;
  EXPECT_THAT(run.output, HasSubstr(BinFolder() +
                                    "\\zuhost.dll is not the post-processing plug-in: "
                                    "it has no version resource naming it (expected \"zupost\")"));
  EXPECT_THAT(run.output, Not(HasSubstr("returned")));
}

TEST_F(HostLoadsPlugin, ALibraryWithoutTheOrdinalsIsReported) {
  // The plug-in's name in its version resource, but none of its entry points.
  const auto run =
      RunProgram(Host() + " --plugin " + BinFolder() + "\\not_the_plugin.dll entry-points");
  EXPECT_EQ(run.exit_code, 3u) << run.output;
  EXPECT_THAT(run.output, HasSubstr("has no entry point 1, 2, 3, 4, 5, 6"));
}

}  // namespace
