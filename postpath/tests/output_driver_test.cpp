// The main road's driver: which conditioning and which conversion each path
// gets, seen in the file it writes, read back with the post module's reader.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/testing/test_folder.h"
#include "hostapp/host_session.h"
#include "hostapp/testing/example_session.h"
#include "hostapp/testing/test_paths.h"
#include "postpath/post_path_output.h"
#include "postpath_file/file_model.h"
#include "postpath_file/file_reader.h"

namespace zu {
namespace {

using zuhost::testing::LineMove;

constexpr int kClassMill3d = 2301;
constexpr int kClassFiveAxis = 2303;
const std::string kOptimisingPrompt = "prompt \"进行优化处理...\"";

// A three-axis path of `count` moves of 1 along X: one straight line to an
// optimiser.
std::unique_ptr<OrvoPath2d> StraightPath(int count) {
  std::vector<tool_block*> moves;
  for (int i = 0; i < count; ++i)
    moves.push_back(LineMove({1.0 * i, 0, 0}, {i + 1.0, 0, 0}));
  auto path = zuhost::testing::MillRowsPath(7, {moves});
  path->PathClassCode = kClassMill3d;
  return path;
}

class OutputDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    session().SetDocument(std::make_unique<zuhost::PartDocument>());
    g_roughblock = CRoughBlock{};
  }
  static zuhost::HostSession& session() { return zuhost::HostSession::Current(); }

  // The file written for `paths`, as the post module reads it.
  ppf::PostPathFile Written(const std::vector<OrvoPath*>& paths) {
    std::vector<PickNode> nodes(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
      nodes[i].object = paths[i];
      nodes[i].next = i + 1 < paths.size() ? &nodes[i + 1] : nullptr;
    }
    const TestFolder folder;
    const std::string file = folder.File("zucl.pmf");
    const PostPathResult result =
        WritePostPathFile(nodes.data(), "NC0001.cut", file.c_str(), options_);
    EXPECT_TRUE(result.ok) << result.error;
    ppf::PostPathFile model;
    ppf::PostPathFileBuilder builder(model);
    const ppf::ReadResult read = ppf::ReadPostPathFile(zuhost::testing::ReadFile(file), builder);
    EXPECT_TRUE(read.ok) << read.error;
    return model;
  }

  // Whether the optimisation prompt was shown since `from` events.
  bool Optimised(std::size_t from) const {
    const auto& events = session().events();
    return std::find(events.begin() + static_cast<std::ptrdiff_t>(from), events.end(),
                     kOptimisingPrompt) != events.end();
  }

  MainRoadOptions options_;
};

TEST_F(OutputDriver, PathsAreOptimisedOnlyWhenAskedTo) {
  auto straight = StraightPath(20);
  auto five = zuhost::testing::FiveAxisRowsPath({{0, 1, 1, 1, 1, 0}});
  five->PathClassCode = kClassFiveAxis;
  std::size_t events = session().events().size();
  const auto as_they_are = Written({straight.get(), five.get()});
  EXPECT_FALSE(Optimised(events));
  ASSERT_EQ(as_they_are.paths.size(), 2u);
  EXPECT_EQ(as_they_are.paths[0].blocks.size(), 21u);  // the approach and every move
  EXPECT_EQ(as_they_are.paths[1].blocks.size(), 8u);

  options_.optimize = 1;
  events = session().events().size();
  const auto optimised = Written({straight.get(), five.get()});
  EXPECT_TRUE(Optimised(events));
  ASSERT_EQ(optimised.paths.size(), 2u);
  EXPECT_EQ(optimised.paths[0].blocks.size(), 2u);                    // the approach and one line
  EXPECT_EQ(optimised.paths[1].blocks, as_they_are.paths[1].blocks);  // never optimised
}

TEST_F(OutputDriver, TheFixtureModeChoosesTheConversion) {
  auto path = StraightPath(2);
  const struct Case {
    int use_jig_coord;
    int fix_mill_mode;
    std::vector<int> bracket_types;  // none: nothing written for the path
    int use_jig_retract;
  } cases[] = {
      {0, 0, {ppf::kPathMill}, 0},
      {0, 2, {ppf::kPathMill}, 0},
      {1, 0, {ppf::kPathFiveAxis}, 0},
      {1, 1, {ppf::kPathMill}, 1},
      {1, 2, {}, 0},
      {1, -1, {}, 0},
  };
  for (const Case& c : cases) {
    options_.use_jig_coord = c.use_jig_coord;
    options_.fix_mill_mode = c.fix_mill_mode;
    options_.jig_tool_up_height = 321;
    const auto file = Written({path.get()});
    std::vector<int> types;
    for (const auto& bracket : file.paths)
      types.push_back(bracket.head.type);
    EXPECT_EQ(types, c.bracket_types) << c.use_jig_coord << " " << c.fix_mill_mode;
    EXPECT_EQ(file.process.use_jig_retract, c.use_jig_retract) << c.fix_mill_mode;
    if (c.use_jig_retract) {
      EXPECT_EQ(file.process.jig_retract_height, 321);
    }
  }
}

}  // namespace
}  // namespace zu
