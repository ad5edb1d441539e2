// The host program loads the real plug-in, finds its six entry points by
// ordinal, calls them, and reports a refused load.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>

#include "tests/run_program.h"

namespace {

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
    EXPECT_NE(run.output.find("entry point " + std::to_string(ordinal) + " found"),
              std::string::npos)
        << run.output;
  }
  // Each command has ended (entry point 1 with its dialog cancelled).
  const char* results[] = {"entry point 1 returned 0", "entry point 2 returned 0",
                           "entry point 3 returned 0", "entry point 4 returned 1",
                           "entry point 5 returned 0", "entry point 6 returned 1"};
  for (const char* line : results)
    EXPECT_NE(run.output.find(line), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("unloaded the plug-in"), std::string::npos);
}

TEST_F(HostLoadsPlugin, EntryPointOneAnswersOtherCallStatesWithOne) {
  const auto run = RunProgram(Automated() + " entry-points --call 1 --state 2");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  EXPECT_NE(run.output.find("entry point 1 returned 1"), std::string::npos) << run.output;
}

TEST_F(HostLoadsPlugin, ARefusedRegistrationFailsTheLoadAndTheHostSaysSo) {
  SetEnvironmentVariableA("ZU_TEST_REFUSE_EXTENSION_MODULE", "1");
  const auto run = RunProgram(Host() + " entry-points --call 1");
  SetEnvironmentVariableA("ZU_TEST_REFUSE_EXTENSION_MODULE", nullptr);
  EXPECT_EQ(run.exit_code, 2u) << run.output;
  EXPECT_NE(run.output.find("zupost.dll: its initialisation refused the load (error 1114)"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(run.output.find("returned"), std::string::npos) << run.output;
}

TEST_F(HostLoadsPlugin, AMissingLibraryIsReported) {
  const auto run = RunProgram(Host() + " --plugin C:\\nowhere\\zupost.dll entry-points");
  EXPECT_EQ(run.exit_code, 2u) << run.output;
  EXPECT_NE(run.output.find("cannot load C:\\nowhere\\zupost.dll"), std::string::npos)
      << run.output;
}

TEST_F(HostLoadsPlugin, ALibraryWithoutTheOrdinalsIsReported) {
  // Any system library lacks ordinals 1 to 6 of ours, or some of them.
  const auto run = RunProgram(Host() + " --plugin " + BinFolder() + "\\zuhost.exe entry-points");
  EXPECT_EQ(run.exit_code, 3u) << run.output;
  EXPECT_NE(run.output.find("has no entry point 1, 2, 3, 4, 5, 6"), std::string::npos)
      << run.output;
}

}  // namespace
