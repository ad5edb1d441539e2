// zuhost plot: every example drawn in every view, paths picked by name or
// index, and what it refuses or cannot draw.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "framework/code_page.h"
#include "tests/command_test_fixture.h"
#include "tests/run_program.h"
#include "tests/test_text.h"

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using zutest::BinFolder;
using zutest::ExampleDocument;
using zutest::ReadBytes;
using zutest::RunProgram;
using zutest::U8;

class PlotCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    picture_ =
        std::string(folder) + "zuhost_plot_" + std::to_string(GetCurrentProcessId()) + ".svg";
    DeleteFileA(picture_.c_str());
  }
  void TearDown() override { DeleteFileA(picture_.c_str()); }

  zutest::ProgramRun Plot(const std::string& document, const std::string& options = "") const {
    return RunProgram("\"" + BinFolder() + "\\zuhost.exe\" plot " + document + " \"" + picture_ +
                      "\" " + options);
  }

  std::string picture_;
};

TEST_F(PlotCommand, DrawsEveryExampleInEveryView) {
  const char* documents[] = {"compensation.json", "drilling.json",     "dwell.json",
                             "five_axis.json",    "hand_written.json", "macro.json",
                             "milling_2d.json",   "milling_3d.json",   "sampled.json",
                             "tilted.json"};
  for (const char* document : documents) {
    for (const char* view : {"top", "front", "side", "iso"}) {
      const auto run = Plot(ExampleDocument(document), std::string("--view ") + view);
      EXPECT_EQ(run.exit_code, 0u) << document << " " << view << "\n" << run.output;
      EXPECT_THAT(run.output, HasSubstr(std::string(" from ") + view + " to ")) << document;
      const std::string svg = ReadBytes(picture_);
      EXPECT_THAT(svg, StartsWith("<?xml")) << document << " " << view;
      EXPECT_THAT(svg, HasSubstr(std::string("data-view=\"") + view + "\"")) << document;
    }
  }
}

// Names arrive in UTF-8 whatever the code page, and are drawn in UTF-8.
TEST_F(PlotCommand, DrawsThePathsNamedOrNumbered) {
  const auto run = Plot(ExampleDocument("drilling.json"),
                        zu::Utf8ToAnsi(U8(u8"--path \"钻孔2 无参数\" 0 --view iso")));
  EXPECT_EQ(run.exit_code, 0u) << run.output;
  EXPECT_THAT(run.output, HasSubstr("drew 2 paths"));
  const std::string svg = ReadBytes(picture_);
  EXPECT_THAT(svg, HasSubstr(U8(u8"class=\"legend-name\"")));
  EXPECT_THAT(svg, HasSubstr(U8(u8">钻孔2 无参数</text>")));
  EXPECT_THAT(svg, HasSubstr(U8(u8">钻孔1</text>")));
}

TEST_F(PlotCommand, RefusesUnknownPathsAndViews) {
  const auto path = Plot(ExampleDocument("milling_2d.json"), "--path 3");
  EXPECT_EQ(path.exit_code, 1u) << path.output;
  EXPECT_THAT(path.output, HasSubstr("no path is named or numbered \"3\""));
  const auto view = Plot(ExampleDocument("milling_2d.json"), "--view above");
  EXPECT_EQ(view.exit_code, 1u) << view.output;
  EXPECT_EQ(ReadBytes(picture_), "");
}

// A path without moves: the picture says there is nothing to draw, and the
// host says so with exit code 7.
TEST_F(PlotCommand, NothingToDrawIsSaidInThePicture) {
  const auto run = Plot(ExampleDocument("empty_path.json"));
  EXPECT_EQ(run.exit_code, 7u) << run.output;
  EXPECT_THAT(run.output, HasSubstr("nothing drawn: the paths have no moves"));
  EXPECT_THAT(ReadBytes(picture_), HasSubstr("class=\"message\""));
}

}  // namespace
