// The optimisation step under Wine with OptimizePath set: entry point 1
// (the post-path file) with either optimiser the registry's "Kvt" chooses,
// what it writes read back and compared with what it writes for the same
// paths without the optimisation (every stretch that differs must be a run
// of straight cuts replaced by lines and arcs the fitter's checker
// accepts); and entry point 5, which keeps the step switched off.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/command_test_fixture.h"
#include "conditioning/testing/fitted_output.h"
#include "tests/run_program.h"
#include "tests/test_text.h"

namespace {

using zu::fitcheck::CompareFittedPaths;
using zu::fitcheck::PostPathSteps;
using zutest::ReadBytes;

constexpr double kTolerance = 0.01;
constexpr const char* kTextRoadFile = "C:\\zu.pmf";

class OptimisedRoads : public zutest::PluginCommandTest {
 public:
  OptimisedRoads() : PluginCommandTest("zu_optimised_") {}

  void SetUp() override {
    PluginCommandTest::SetUp();
    CreateDirectoryA((folder_ + "\\work").c_str(), nullptr);
  }

  // Entry point 5 on `document`: FANUC-0i, code file NC0001, the code
  // display closed. The bytes of the tool-location file it wrote.
  std::string TextRoad(const std::string& document, const std::string& settings) {
    Settings(settings);
    DeleteFileA(kTextRoadFile);
    const auto host = RunHost("run \"" + zutest::ExampleDocument(document) +
                                  "\" --command 5 --pick all --hook-temp \"" + folder_ + "\"",
                              "dialog 9001\n"
                              "list-click 1607 \"FANUC-0i\"\n"
                              "text 9006 \"NC0001\"\n"
                              "ok\n"
                              "dialog 9002\n"
                              "cancel\n");
    EXPECT_EQ(host.exit_code, 0u) << host.output;
    return ReadBytes(kTextRoadFile);
  }

  // Entry point 1 on `document`, the post-code dialog confirmed, the
  // post-path file kept beside the code file. Its bytes.
  std::string MainRoad(const std::string& document, const std::string& settings) {
    const std::string code = folder_ + "\\NC0001.cut";
    const std::string kept = folder_ + "\\NC0001.pmf";
    Settings("CurrentMcf=FANUC-0i\r\nLeavePmf=1\r\nUseCurrentGName=1\r\nCodePathName=" + code +
             "\r\n" + settings);
    DeleteFileA(kept.c_str());
    const auto host = RunHost("run \"" + zutest::ExampleDocument(document) + "\" --work \"" +
                                  folder_ + "\\work\" --command 1 --pick all",
                              "dialog 33\nok\n");
    EXPECT_EQ(host.exit_code, 0u) << host.output;
    return ReadBytes(kept);
  }
};

const std::string kOptimise = "OptimizePath=1\r\nOptimizeTol=0.01\r\n";

TEST_F(OptimisedRoads, TheMainRoadWritesFittedMovesWithinTheToleranceWithEitherOptimiser) {
  for (const char* document : {"sampled.json", "milling_2d.json", "compensation.json"}) {
    SCOPED_TRACE(document);
    std::string error;
    const auto plain = PostPathSteps(MainRoad(document, ""), error);
    ASSERT_FALSE(plain.empty()) << error;
    for (const char* kvt : {"0", "1"}) {
      SCOPED_TRACE(std::string("Kvt ") + kvt);
      const zutest::PostModuleValue selector("Kvt", kvt);
      // The line-run optimiser leaves its trace where ZU_TRACE says; the
      // optimiser object none: which one ran.
      const std::string trace = folder_ + "\\trace.log";
      DeleteFileA(trace.c_str());
      SetEnvironmentVariableA("ZU_TRACE", trace.c_str());
      const auto optimised = PostPathSteps(MainRoad(document, kOptimise), error);
      SetEnvironmentVariableA("ZU_TRACE", nullptr);
      EXPECT_EQ(ReadBytes(trace).find("Optimizepath2d_kvt,started.") != std::string::npos,
                std::string(kvt) == "0");
      ASSERT_FALSE(optimised.empty()) << error;
      const auto comparison = CompareFittedPaths(plain, optimised, kTolerance);
      EXPECT_EQ(comparison.problem, "");
      EXPECT_EQ(comparison.violations, 0u);
      if (std::string(document) == "sampled.json") {
        // The first row of each path is optimised: the contour's 1516 cuts
        // become four lines and four arcs, the first pass's 200 one arc.
        EXPECT_EQ(comparison.runs, 2u);
        EXPECT_GE(comparison.plain_moves - comparison.optimised_moves, 1716u - 9u);
        EXPECT_GE(comparison.fitted_arcs, 5u);
      }
    }
  }
}

// Entry point 5 hands its paths to the writer with the optimisation step
// switched off, whatever the settings say: the post processor's text road
// gets the paths as they were picked.
TEST_F(OptimisedRoads, EntryPointFiveWritesThePathsAsPickedWhateverTheSettingsSay) {
  const std::string plain = TextRoad("sampled.json", "");
  ASSERT_FALSE(plain.empty());
  for (const char* kvt : {"0", "1"}) {
    SCOPED_TRACE(std::string("Kvt ") + kvt);
    const zutest::PostModuleValue selector("Kvt", kvt);
    EXPECT_TRUE(TextRoad("sampled.json", kOptimise) == plain);
  }
}

}  // namespace
