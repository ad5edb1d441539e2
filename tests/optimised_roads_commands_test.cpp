// Both roads under Wine with OptimizePath set: entry point 5 (the text
// tool-location file) and entry point 1 (the post-path file), each with
// either optimiser the registry's "Kvt" chooses. What they write is read
// back and compared with what they write for the same paths without the
// optimisation: every stretch that differs must be a run of straight cuts
// replaced by lines and arcs the fitter's checker accepts.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/command_test_fixture.h"
#include "tests/fitted_output.h"
#include "tests/run_program.h"
#include "tests/test_text.h"

namespace {

using zutest::CompareFittedPaths;
using zutest::ReadBytes;
using zutest::WrittenPath;

constexpr double kTolerance = 0.01;
constexpr const char* kTextRoadFile = "C:\\zu.pmf";
constexpr const char* kPostKey = "SOFTWARE\\ORVO\\ORVOPOST";

// The registry's "Kvt" for the test's time; "0" again afterwards, as the
// prefix script leaves it.
class KvtValue {
 public:
  explicit KvtValue(const char* value) { Set(value); }
  ~KvtValue() { Set("0"); }
  KvtValue(const KvtValue&) = delete;
  KvtValue& operator=(const KvtValue&) = delete;

 private:
  static void Set(const char* value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPostKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, "Kvt", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                             static_cast<DWORD>(strlen(value) + 1)),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
};

class OptimisedRoads : public zutest::PluginCommandTest {
 protected:
  OptimisedRoads() : PluginCommandTest("zu_optimised_") {}

  void SetUp() override {
    PluginCommandTest::SetUp();
    CreateDirectoryA((folder_ + "\\work").c_str(), nullptr);
  }

  void Settings(const std::string& keys) {
    std::ofstream(settings_, std::ios::binary) << "[MCFINFO]\r\n" << keys;
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

struct Road {
  const char* name;
  std::string (OptimisedRoads::*post)(const std::string&, const std::string&);
  std::vector<WrittenPath> (*read)(const std::string&, std::string&);
};

TEST_F(OptimisedRoads, BothRoadsWriteFittedMovesWithinTheToleranceWithEitherOptimiser) {
  const Road roads[] = {{"text road", &OptimisedRoads::TextRoad, zutest::ToolLocationSteps},
                        {"main road", &OptimisedRoads::MainRoad, zutest::PostPathSteps}};
  const std::string optimise = "OptimizePath=1\r\nOptimizeTol=0.01\r\n";
  for (const Road& road : roads) {
    for (const char* document : {"sampled.json", "milling_2d.json", "compensation.json"}) {
      SCOPED_TRACE(std::string(road.name) + ", " + document);
      std::string error;
      const auto plain = road.read((this->*road.post)(document, ""), error);
      ASSERT_FALSE(plain.empty()) << error;
      for (const char* kvt : {"0", "1"}) {
        SCOPED_TRACE(std::string("Kvt ") + kvt);
        const KvtValue selector(kvt);
        const auto optimised = road.read((this->*road.post)(document, optimise), error);
        ASSERT_FALSE(optimised.empty()) << error;
        const auto comparison = CompareFittedPaths(plain, optimised, kTolerance);
        EXPECT_EQ(comparison.problem, "");
        EXPECT_EQ(comparison.violations, 0u);
        if (std::string(document) == "sampled.json") {
          // Two contours of 1,600 cuts and three passes of 200: a few lines
          // and arcs each.
          EXPECT_EQ(comparison.runs, 5u);
          EXPECT_GT(comparison.run_lines, 3500u);
          EXPECT_LT(comparison.fitted_moves, 60u);
          EXPECT_GE(comparison.fitted_arcs, 11u);
        }
      }
    }
  }
}

}  // namespace
