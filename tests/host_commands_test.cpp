// The host program with the real plug-in: documents listed, entry point 1's
// two calls with the picking in between, the refusals, and the hook road,
// checked through the record of everything the host and the dialogs showed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/code_page.h"
#include "tests/command_test_fixture.h"
#include "tests/run_program.h"
#include "tests/test_text.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using zutest::BinFolder;
using zutest::RunProgram;

using zutest::U8;

using zutest::ExampleDocument;

class HostCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string base = std::string(folder) + "zuhost_" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                             std::to_string(GetCurrentProcessId());
    temp_ = folder;
    script_ = base + ".script";
    record_ = base + ".record";
    std::ofstream(script_, std::ios::binary) << "";
    DeleteFileA(record_.c_str());
  }

  // Runs zuhost with `arguments`, its dialogs automated by `script` (by
  // default the post-code dialog is confirmed as it opens).
  zutest::ProgramRun Run(const std::string& arguments,
                         const std::string& script = "dialog 33\nok\n") {
    return zutest::RunHost(arguments, script, script_, record_);
  }

  // The record's lines; with `host_only`, only the host's events and the
  // message boxes.
  std::vector<std::string> Record(bool host_only = true) const {
    std::ifstream in(record_, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      if (!host_only || line.rfind("host ", 0) == 0 || line.rfind("message ", 0) == 0) {
        lines.push_back(line);
      }
    }
    return lines;
  }

  std::string temp_;
  std::string script_;
  std::string record_;
};

TEST_F(HostCommands, ListsTheExamplesPaths) {
  struct Case {
    const char* file;
    std::string line;
  } const cases[] = {
      {"drilling.json", U8(u8"  1 \"钻孔2 无参数\" drilling kind 67 class 2300, 1 move, 2 holes,")},
      {"milling_2d.json", U8(u8"  0 \"轮廓铣\" 2-axis kind 7 class 2300, 18 moves")},
      {"dwell.json", "2 paths"},
      {"macro.json", U8(u8"\"宏加工\" 2-axis kind 90")},
      {"milling_3d.json", "3-axis kind 7 class 2301, 43 moves"},
      {"tilted.json", U8(u8"work system \"斜面45\"")},
      {"five_axis.json", U8(u8"  0 \"五轴侧铣\" five-axis kind 7 class 2302, 36 points")},
      {"empty_path.json", "2-axis kind 7 class 2300, 0 moves"},
  };
  for (const auto& c : cases) {
    const auto run =
        RunProgram("\"" + BinFolder() + "\\zuhost.exe\" list " + ExampleDocument(c.file));
    EXPECT_EQ(run.exit_code, 0u) << c.file << "\n" << run.output;
    EXPECT_THAT(run.output, HasSubstr(c.line)) << c.file << "\n" << run.output;
  }
}

TEST_F(HostCommands, EntryPointOneWalksThePickingExchange) {
  const auto run = Run("run " + ExampleDocument("milling_2d.json") + " --command 1 --pick all");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const std::vector<std::string> expected = {
      U8(u8"host prompt \"进行后置处理\""),
      "host pick state 235",
      "host picking paths (mask 0x6000000)",
      U8(u8"host prompt 34667 \"请拾取刀具轨迹\""),
      U8(u8"host picked 1 paths: \"轮廓铣\""),
      U8(u8"host prompt \"生成刀位文件...\""),
      "host optimiser max arc radius 9999",
      "host optimiser min arc radius 0.01",
      "host optimiser min section line 1e-07",
      U8(u8"host prompt \"生成刀位文件 1/0\""),
      U8(u8"host prompt \"生成刀位文件 18/0\""),
      U8(u8"host prompt \"生成代码文件...\""),
      "host pick state 0",
      "host picking ended",
      "host pick cleared",
      "host command ended",
  };
  EXPECT_EQ(Record(), expected) << ::testing::PrintToString(Record(false));
  // The host's console shows the same, in UTF-8, and the two calls.
  EXPECT_THAT(run.output, HasSubstr("entry point 1 returned 1"));
  EXPECT_THAT(run.output, HasSubstr(U8(u8"host: prompt 34667 \"请拾取刀具轨迹\"")));
  EXPECT_THAT(run.output, HasSubstr("entry point 1 (call state 1) returned 0"));
}

TEST_F(HostCommands, PathsPickedBeforeTheCommandChangeThePrompt) {
  const auto run = Run("run " + ExampleDocument("dwell.json") +
                       zu::Utf8ToAnsi(U8(u8" --command 1 --pick 1 \"槽加工 63\" --preselect")));
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const auto record = Record();
  ASSERT_GE(record.size(), 5u) << ::testing::PrintToString(record);
  EXPECT_EQ(record[3].rfind("host prompt 40253 ", 0), 0u) << ::testing::PrintToString(record);
  EXPECT_EQ(record[4], U8(u8"host picked 2 paths: \"孔口倒角 65\" \"槽加工 63\""));
}

TEST_F(HostCommands, PickingThatEndsWithoutAListOrIsCancelledPostsNothing) {
  Run("run " + ExampleDocument("milling_2d.json") + " --command 1 --pick-none");
  auto record = Record();
  ASSERT_GE(record.size(), 3u) << ::testing::PrintToString(record);
  std::vector<std::string> tail(record.end() - 3, record.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"host pick gave no list", "host pick state 0",
                                            U8(u8"host prompt 34685 \"命令结束\"")}))
      << ::testing::PrintToString(record);

  DeleteFileA(record_.c_str());
  Run("run " + ExampleDocument("milling_2d.json") + " --command 1 --pick-cancel");
  record = Record();
  ASSERT_GE(record.size(), 4u) << ::testing::PrintToString(record);
  tail.assign(record.end() - 4, record.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"host pick cancelled", "host pick state 0",
                                            U8(u8"host prompt 34685 \"命令结束\""),
                                            "host command ended"}))
      << ::testing::PrintToString(record);
}

TEST_F(HostCommands, APathWithoutMovesIsRefusedWithTheHostsMessage) {
  const auto run = Run("run " + ExampleDocument("empty_path.json") + " --command 1 --pick all");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  const auto record = Record();
  ASSERT_GE(record.size(), 7u) << ::testing::PrintToString(record);
  const std::vector<std::string> tail(record.end() - 7, record.end());
  const std::string text = U8(u8"所选轨迹没有刀位数据，无法后置处理！");
  const std::vector<std::string> expected = {
      U8(u8"host picked 1 paths: \"空轨迹\""),
      "host message 40216 \"" + text + "\"",
      "message \"zuhost\" \"" + text + "\" none -> ok",
      "host pick cleared",
      "host pick state 0",
      U8(u8"host prompt 34685 \"命令结束\""),
      "host command ended",
  };
  EXPECT_EQ(tail, expected) << ::testing::PrintToString(record);
}

TEST_F(HostCommands, AHookThatWantsTheCodeFileListTakesTheTextRoad) {
  const auto run =
      Run("run " + ExampleDocument("milling_2d.json") + " --command 1 --hook-wants-list");
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  // Entry point 5 runs with its own dialog (cancelled here: the script has
  // no step for it), then the hook gets the list, empty.
  EXPECT_EQ(Record(),
            (std::vector<std::string>{U8(u8"host prompt \"进行后置处理\""), "host prompt \"\"",
                                      "host command ended", "host post hook took 0 code files"}));
}

TEST_F(HostCommands, ABadDocumentIsRefusedBeforeAnythingRuns) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string bad = std::string(folder) + "zuhost_bad.json";
  std::ofstream(bad) << R"({"format": "zuhost part document", "version": 1})";
  const auto run = Run("run \"" + bad + "\" --command 1 --pick all");
  EXPECT_EQ(run.exit_code, 4u) << run.output;
  EXPECT_THAT(run.output, HasSubstr("refused: " + bad + ": document: missing field \"stock\""));
  EXPECT_TRUE(Record().empty());
}

TEST_F(HostCommands, TextsTheCodePageCannotHoldAndOverflowingNumbersAreRefused) {
  struct Case {
    std::string from;
    std::string to;
    std::string error;
  } const cases[] = {
      {U8(u8"\"name\":\"轮廓铣\""), U8(u8"\"name\":\"轮廓铣😀\""),
       U8(u8"document.paths[0].name: the character \"😀\" (U+1F600) cannot be held in the host's "
          u8"code page")},
      {"\"size\":[140.0,", "\"size\":[1e999,", "document.stock.size[0]: a number out of range"},
  };
  std::ifstream in(ExampleDocument("milling_2d.json"), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  for (const auto& c : cases) {
    std::string document = text.str();
    const auto at = document.find(c.from);
    ASSERT_NE(at, std::string::npos) << c.from;
    document.replace(at, c.from.size(), c.to);
    const std::string path =
        temp_ + "zuhost_refused_" + std::to_string(GetCurrentProcessId()) + ".json";
    std::ofstream(path, std::ios::binary) << document;
    const auto run = Run("run \"" + path + "\" --command 1 --pick all");
    EXPECT_EQ(run.exit_code, 4u) << run.output;
    EXPECT_THAT(run.output, HasSubstr("refused: " + path + ": " + c.error));
    EXPECT_THAT(run.output, Not(HasSubstr("running entry point")));
    DeleteFileA(path.c_str());
  }
}

TEST_F(HostCommands, EveryBadCommandLineExitsWithOne) {
  const std::string doc = ExampleDocument("milling_2d.json");
  struct Case {
    std::string arguments;
    std::string says;
  } const cases[] = {
      {"run " + doc + " --command 1 --pick 99999999999999999999",
       "no path is named or numbered \"99999999999999999999\""},
      {"run " + doc + " --command 1 --pick 1", "no path is named or numbered \"1\""},
      {"run " + doc + " --command 7", "--command"},
      {"run " + doc + " --command 99999999999999999999", "--command"},
      {"run " + doc, "--command is required"},
      {"run " + doc + " --command 1 --bogus", "--bogus"},
      {"entry-points --state 99999999999999999999", "--state"},
      {"entry-points --call x", "--call"},
      {"", "A subcommand is required"},
  };
  for (const auto& c : cases) {
    const auto run = RunProgram("\"" + BinFolder() + "\\zuhost.exe\" " + c.arguments);
    EXPECT_EQ(run.exit_code, 1u) << c.arguments << "\n" << run.output;
    EXPECT_THAT(run.output, HasSubstr(c.says)) << c.arguments;
    EXPECT_THAT(run.output, Not(HasSubstr("running entry point"))) << c.arguments;
  }
}

TEST_F(HostCommands, ARecordThatCannotBeWrittenIsRefusedBeforeAnythingRuns) {
  const std::string record = "C:\\no such folder\\record.txt";
  const auto run = RunProgram(
      "\"" + BinFolder() + "\\zuhost.exe\" run " + ExampleDocument("milling_2d.json") +
      " --command 1 --pick all --automation \"" + script_ + "\" --record \"" + record + "\"");
  EXPECT_EQ(run.exit_code, 1u) << run.output;
  EXPECT_THAT(run.output, HasSubstr("the record file " + record + " cannot be written"));
  EXPECT_THAT(run.output, Not(HasSubstr("loaded")));
}

TEST_F(HostCommands, UnknownPathNamesAreRefused) {
  const auto run = Run("run " + ExampleDocument("milling_2d.json") + " --command 1 --pick nothing");
  EXPECT_EQ(run.exit_code, 1u) << run.output;
  EXPECT_THAT(run.output, HasSubstr("no path is named or numbered \"nothing\""));
}

}  // namespace
