// The main road's post-path files for the example documents, byte for byte:
// the golden files main_*.pmf of tests/golden/ are what entry point 1 writes
// under Wine too (the command-level tests compare them). The orientation
// cases hold no arcs, so no trigonometry of the C library enters them.
//
// ZU_UPDATE_GOLDEN=1 writes the golden files anew instead of comparing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "format_io/testing/memory_sink.h"
#include "framework/testing/test_folder.h"
#include "hostapp/testing/example_session.h"
#include "hostapp/testing/golden_file.h"
#include "postpath/post_path_output.h"
#include "postpath_file/file_model.h"
#include "postpath_file/file_reader.h"
#include "postpath_file/file_writer.h"

namespace zu {
namespace {

using zuhost::testing::GoldenPath;
using zuhost::testing::MatchesGolden;
using zuhost::testing::ReadFile;
using zuhost::testing::UpdateGolden;

struct GoldenCase {
  const char* document;
  const char* golden;
  int use_jig_coord;
  int fix_mill_mode;
};
constexpr GoldenCase kCases[] = {
    {"drilling.json", "main_drilling.pmf", 0, 0},
    {"milling_2d.json", "main_milling_2d.pmf", 0, 0},
    {"dwell.json", "main_dwell.pmf", 0, 0},
    {"compensation.json", "main_compensation.pmf", 0, 0},
    {"macro.json", "main_macro.pmf", 0, 0},
    {"milling_3d.json", "main_milling_3d.pmf", 0, 0},
    {"tilted.json", "main_tilted.pmf", 0, 0},
    {"tilted.json", "main_tilted_plane.pmf", 1, 1},
    {"milling_3d.json", "main_milling_3d_orientation.pmf", 1, 0},
    {"five_axis.json", "main_five_axis.pmf", 0, 0},
};

void PrintTo(const GoldenCase& c, std::ostream* out) {
  *out << c.golden;
}

class MainRoadGoldenFiles : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(MainRoadGoldenFiles, TheMainRoadWritesEachExampleByteForByte) {
  const GoldenCase& c = GetParam();
  PickNode* first = zuhost::testing::LoadAndPickAll(ZU_SOURCE_DIR, c.document);
  ASSERT_NE(first, nullptr);
  MainRoadOptions options;
  options.use_jig_coord = c.use_jig_coord;
  options.fix_mill_mode = c.fix_mill_mode;
  options.jig_tool_up_height = 500;
  const TestFolder folder;
  const std::string written = folder.File("zucl.pmf");
  const PostPathResult result =
      WritePostPathFile(first, "C:\\zu_golden\\NC0001.cut", written.c_str(), options);
  ASSERT_TRUE(result.ok) << result.error;
  const std::string bytes = ReadFile(written);
  if (UpdateGolden(ZU_SOURCE_DIR, c.golden, bytes))
    GTEST_SKIP() << "wrote " << GoldenPath(ZU_SOURCE_DIR, c.golden);
  EXPECT_TRUE(MatchesGolden(ZU_SOURCE_DIR, c.golden, bytes)) << "from what the main road writes";

  // The post module's reader takes the whole file, and writing what it read
  // gives the same bytes: nothing the plug-in handed the host was lost.
  const std::string golden = ReadFile(GoldenPath(ZU_SOURCE_DIR, c.golden));
  ASSERT_FALSE(golden.empty());
  ppf::PostPathFile model;
  ppf::PostPathFileBuilder builder(model);
  const ppf::ReadResult read = ppf::ReadPostPathFile(golden, builder);
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_TRUE(builder.complete()) << builder.error();
  EXPECT_FALSE(model.paths.empty());
  // The file holds CR LF where the writer gives LF.
  fio_testing::MemorySink sink;
  ppf::PostPathFileWriter rewriter(sink);
  ppf::SendPostPathFile(model, rewriter);
  ASSERT_TRUE(rewriter.Finish().ok) << rewriter.error();
  EXPECT_TRUE(sink.bytes == golden) << c.golden << " is not written back as it was read";
}

INSTANTIATE_TEST_SUITE_P(Examples, MainRoadGoldenFiles, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string name = info.param.golden;
                           return name.substr(0, name.find('.'));
                         });

TEST(MainRoad, AFileThatCannotBeWrittenOutGivesTheWritersReason) {
  PickNode* first = zuhost::testing::LoadAndPickAll(ZU_SOURCE_DIR, "milling_2d.json");
  ASSERT_NE(first, nullptr);
  const TestFolder folder;
  const std::string full = folder.File("full.pmf");
  std::filesystem::create_symlink("/dev/full", full);  // every write fails: no space
  const PostPathResult result = WritePostPathFile(first, "C:\\NC0001.cut", full.c_str(), {});
  EXPECT_FALSE(result.ok);
  EXPECT_THAT(result.error, ::testing::HasSubstr("could not be written out"));
  const PostPathResult missing =
      WritePostPathFile(first, "C:\\NC0001.cut", folder.File("no/such/folder.pmf").c_str(), {});
  EXPECT_THAT(missing.error, ::testing::HasSubstr("cannot be created"));
}

}  // namespace
}  // namespace zu
