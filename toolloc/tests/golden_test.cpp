// The text road's files for every example document, byte for byte: the
// golden files of tests/golden/ are what the plug-in writes under Wine too
// (the command-level tests compare C:\zu.pmf with them). Texts are in the
// host's code page, GBK, as on Windows. Every golden file also reads back
// and writes again to the same bytes.
//
// ZU_UPDATE_GOLDEN=1 writes the golden files anew instead of comparing.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "format_io/testing/memory_sink.h"
#include "framework/testing/test_folder.h"
#include "hostapp/testing/example_session.h"
#include "hostapp/testing/golden_file.h"
#include "toolloc/text_road.h"
#include "toolloc_file/file_reader.h"
#include "toolloc_file/file_writer.h"

namespace zu {
namespace {

using zuhost::testing::GoldenPath;
using zuhost::testing::MatchesGolden;
using zuhost::testing::ReadFile;
using zuhost::testing::UpdateGolden;

// The options entry point 5 gives the writer with the test's settings, the
// NC system FANUC-0i and the host hook's temporary folder C:\zu_golden.
TextRoadOptions GoldenOptions(int use_jig_coord) {
  TextRoadOptions options;
  options.code_file = "C:\\zu_golden\\NC0001.cut";
  options.mcf_path = "C:\\ORVO\\NCSystems\\FANUC-0i.mcf";
  options.use_jig_coord = use_jig_coord;
  options.jig_tool_axis = 2;
  options.jig_tool_up_height = 500;
  return options;
}

struct GoldenCase {
  const char* document;
  const char* golden;
  int use_jig_coord;
};
constexpr GoldenCase kCases[] = {
    {"drilling.json", "drilling.pmf", 0},   {"milling_2d.json", "milling_2d.pmf", 0},
    {"dwell.json", "dwell.pmf", 0},         {"compensation.json", "compensation.pmf", 0},
    {"macro.json", "macro.pmf", 0},         {"milling_3d.json", "milling_3d.pmf", 0},
    {"tilted.json", "tilted.pmf", 0},       {"tilted.json", "tilted_jig.pmf", 1},
    {"five_axis.json", "five_axis.pmf", 0},
};

void PrintTo(const GoldenCase& c, std::ostream* out) {
  *out << c.golden;
}

class GoldenFiles : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenFiles, TheTextRoadWritesEachExampleByteForByte) {
  const GoldenCase& c = GetParam();
  PickNode* first = zuhost::testing::LoadAndPickAll(ZU_SOURCE_DIR, c.document);
  ASSERT_NE(first, nullptr);

  const TestFolder folder;
  const std::string written = folder.File("zu.pmf");
  const WriteResult result = WriteToolLocationFile(first, GoldenOptions(c.use_jig_coord), written);
  ASSERT_TRUE(result.ok) << result.error;
  const std::string bytes = ReadFile(written);
  if (UpdateGolden(ZU_SOURCE_DIR, c.golden, bytes))
    GTEST_SKIP() << "wrote " << GoldenPath(ZU_SOURCE_DIR, c.golden);
  EXPECT_TRUE(MatchesGolden(ZU_SOURCE_DIR, c.golden, bytes)) << "from what the text road writes";
}

// What the reader takes from a golden file, the writer gives back unchanged.
TEST_P(GoldenFiles, EachGoldenFileReadsBackAndWritesAgainTheSame) {
  const std::string golden = ReadFile(GoldenPath(ZU_SOURCE_DIR, GetParam().golden));
  ASSERT_FALSE(golden.empty());
  fio_testing::MemorySink sink;
  ToolLocationFileWriter writer(sink);
  const ReadResult read = ReadToolLocationFile(golden, writer);
  ASSERT_TRUE(read.ok) << "line " << read.line << ": " << read.error;
  ASSERT_TRUE(writer.Finish().ok);
  EXPECT_TRUE(sink.bytes == golden);
}

INSTANTIATE_TEST_SUITE_P(Examples, GoldenFiles, ::testing::ValuesIn(kCases), [](const auto& info) {
  std::string name = info.param.golden;
  return name.substr(0, name.find('.'));
});

}  // namespace
}  // namespace zu
