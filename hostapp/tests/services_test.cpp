// The host's services on its session: picking outcomes, prompts and
// messages, the document, folders and the post hook.
#include "host/services.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "framework/testing/test_folder.h"
#include "host/row_ops.h"
#include "hostapp/host_session.h"

namespace {

using zuhost::HostSession;
using zuhost::PickPlan;

class ServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto document = std::make_unique<zuhost::PartDocument>();
    PathFactory* factory = nullptr;
    HostGetPathFactory(factory);
    for (const char* name : {"a", "b"}) {
      OrvoPath* path = factory->CreatePath(7);
      path->name = name;
      document->paths.emplace_back(path);
    }
    OrvoPath* five = factory->CreateFiveAxisPath();
    five->name = "five";
    document->paths.emplace_back(five);
    session().SetDocument(std::move(document));
    session().pick_plan = {};
    session().post_hook.reset();
    session().work_folder.clear();
    session().on_event = [this](const std::string& line) { events_.push_back(line); };
  }
  void TearDown() override { session().on_event = nullptr; }

  static HostSession& session() { return HostSession::Current(); }
  std::vector<std::string> events_;
};

TEST_F(ServicesTest, PickedPathsComeInPickOrderWithTheirKinds) {
  session().pick_plan = {PickPlan::Outcome::Paths, {2, 0}};
  EXPECT_EQ(HostHasPicked(), 0);
  HostSetPickState(235, 0, 0);
  HostBeginPick(kPickToolPaths);
  EXPECT_TRUE(session().picking());
  PickNode* first = nullptr;
  ASSERT_EQ(HostGetPicked(first), kPickDelivered);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->kind, kPickKindFiveAxisPath);
  EXPECT_STREQ(static_cast<OrvoPath*>(first->object)->GetPathNameInTree(), "five");
  ASSERT_NE(first->next, nullptr);
  EXPECT_EQ(first->next->kind, kPickKindPath);
  EXPECT_STREQ(static_cast<OrvoPath*>(first->next->object)->GetPathNameInTree(), "a");
  EXPECT_EQ(first->next->next, nullptr);
  EXPECT_EQ(HostHasPicked(), 1);
  HostEndPick();
  HostClearPick();
  EXPECT_FALSE(session().picking());
  EXPECT_EQ(HostHasPicked(), 0);
  const std::vector<std::string> expected = {"pick state 235", "picking paths (mask 0x6000000)",
                                             "picked 2 paths: \"five\" \"a\"", "picking ended",
                                             "pick cleared"};
  EXPECT_EQ(events_, expected);
}

TEST_F(ServicesTest, CancelledAndEmptyPicksGiveTheirCodes) {
  PickNode* first = reinterpret_cast<PickNode*>(1);
  session().pick_plan.outcome = PickPlan::Outcome::Cancelled;
  EXPECT_EQ(HostGetPicked(first), kPickCancelled);
  EXPECT_EQ(first, nullptr);
  session().pick_plan.outcome = PickPlan::Outcome::NoList;
  EXPECT_EQ(HostGetPicked(first), kPickNoList);
  session().pick_plan = {PickPlan::Outcome::Paths, {1}};
  session().Preselect();
  EXPECT_EQ(HostHasPicked(), 1);
}

TEST_F(ServicesTest, PromptsAndMessagesUseTheHostsTexts) {
  HostShowPrompt("生成刀位文件...");
  HostShowPromptId(kPromptPickPaths);
  HostShowPromptId(12345);
  std::string shown;
  session().show_message = [&](const std::string& text) { shown = text; };
  HostShowMessageId(kMessagePathWithoutMoves);
  session().show_message = nullptr;
  HostEndCommand();
  ASSERT_EQ(events_.size(), 5u);
  EXPECT_EQ(events_[0], "prompt \"生成刀位文件...\"");
  EXPECT_EQ(events_[1], std::string("prompt 34667 \"") + HostPromptText(34667) + "\"");
  EXPECT_EQ(events_[2], "prompt 12345 \"\"");
  EXPECT_EQ(shown, HostPromptText(kMessagePathWithoutMoves));
  EXPECT_FALSE(shown.empty());
  EXPECT_EQ(events_[4], "command ended");
  EXPECT_TRUE(session().command_ended());
  for (int id : {kPromptPickPaths, kPromptPickMore, kPromptCommandEnded, kPromptReadBackStarts,
                 kMessagePathWithoutMoves}) {
    EXPECT_STRNE(HostPromptText(id), "") << id;
  }
}

TEST_F(ServicesTest, AddedPathsJoinTheDocument) {
  PathFactory* factory = nullptr;
  HostGetPathFactory(factory);
  OrvoPath* path = factory->CreatePath(7);
  path->name = "read back";
  HostAddObject(path, 0);
  HostShowObject(path);
  EXPECT_EQ(session().document()->paths.size(), 4u);
  EXPECT_EQ(session().document()->paths.back().get(), path);
  EXPECT_EQ(session().TakeAddedPaths(), std::vector<OrvoPath*>{path});
  EXPECT_TRUE(session().TakeAddedPaths().empty());
  EXPECT_EQ(events_.back(), "path shown: \"read back\", 0 moves");
}

TEST_F(ServicesTest, CurrentCoordinateSystemComesFromTheDocument) {
  std::snprintf(session().document()->current_system.name, 16, "%s", "fixture");
  session().document()->current_system.origin = {1, 2, 3};
  ncworkcoordinate system;
  HostGetCurrentCoordSys(system);
  EXPECT_STREQ(system.name, "fixture");
  EXPECT_EQ(system.origin.z, 3);
}

TEST_F(ServicesTest, FoldersAndThePostHook) {
  const zu::TestFolder test_folder;
  const auto& base = test_folder.path();
  base.string().copy(HostHomeFolder, sizeof HostHomeFolder - 1);
  HostHomeFolder[base.string().size()] = '\0';
  zu::Text work;
  HostGetWorkFolder(work);
  EXPECT_EQ(work, base.string().c_str());
  session().work_folder = "elsewhere";
  HostGetWorkFolder(work);
  EXPECT_EQ(work, "elsewhere");
  HostMakeFolder((base / "temp").string().c_str(), 1);
  HostFileMgrMakeFolder((base / "para").string().c_str(), 1);
  HostMakeFolder((base / "temp").string().c_str(), 1);  // existing: nothing happens
  EXPECT_TRUE(std::filesystem::is_directory(base / "temp"));
  EXPECT_TRUE(std::filesystem::is_directory(base / "para"));

  EXPECT_EQ(HostGetPostHook(), nullptr);
  session().post_hook = std::make_unique<zuhost::ConfiguredPostHook>();
  session().post_hook->code_file_list_wanted = true;
  session().post_hook->temp_folder = "T";
  PostHook* hook = HostGetPostHook();
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(hook->IsCodeFileListWanted(), 1);
  zu::Text folder;
  hook->GetTempFolder(folder);
  EXPECT_EQ(folder, "T");
  zu::Text dump = "x";
  hook->GetPickDumpFile(dump);
  EXPECT_EQ(dump, "");
  zu::TextArray files;
  files.Add("C:\\a.cut");
  hook->TakeCodeFiles(&files);
  EXPECT_EQ(session().post_hook->received, std::vector<std::string>{"C:\\a.cut"});
  EXPECT_EQ(events_.back(), "code file \"C:\\a.cut\"");
}

}  // namespace
