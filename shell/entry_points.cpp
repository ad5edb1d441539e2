#include "shell/entry_points.h"

#include "host/path_model.h"
#include "host/services.h"

namespace {

// Whether a picked path has no moves to post.
bool HasNoRows(const PickNode& node) {
  const auto* path = static_cast<const OrvoPath*>(node.object);
  if (!path)
    return true;
  return path->MultiAxisKind == kFiveAxis ? path->rows5 == nullptr : path->rows == nullptr;
}

// Ends the command after picking without posting anything.
void EndWithoutPosting(bool end_command) {
  HostSetPickState(0, 0, 0);
  HostShowPromptId(kPromptCommandEnded);
  if (end_command)
    HostEndCommand();
}

// First call: the host starts picking paths; the command goes on with the
// second call when picking ends.
int StartPicking() {
  HostShowPrompt("进行后置处理");
  HostSetPickState(235, 0, 0);
  HostBeginPick(kPickToolPaths);
  HostShowPromptId(HostHasPicked() ? kPromptPickMore : kPromptPickPaths);
  return 1;
}

// Second call: takes the picked paths; refuses paths without moves.
int PostPickedPaths() {
  PickNode* first = nullptr;
  const int status = HostGetPicked(first);
  if (status == kPickNoList) {
    EndWithoutPosting(false);
    return 0;
  }
  if (status == kPickCancelled || status == kPickAborted) {
    EndWithoutPosting(true);
    return 0;
  }
  for (const PickNode* node = first; node; node = node->next) {
    if ((node->kind == kPickKindPath || node->kind == kPickKindFiveAxisPath) && HasNoRows(*node)) {
      HostShowMessageId(kMessagePathWithoutMoves);
      HostClearPick();
      EndWithoutPosting(true);
      return 0;
    }
  }
  HostShowPrompt("生成刀位文件...");
  HostSetPickState(0, 0, 0);
  HostEndPick();
  HostClearPick();
  HostEndCommand();
  return 0;
}

}  // namespace

int CmdGeneratePostCode(int* call_state) {
  if (PostHook* hook = HostGetPostHook(); hook && hook->IsCodeFileListWanted()) {
    zu::TextArray code_files;
    CmdPostToCode(&code_files);
    hook->TakeCodeFiles(&code_files);
    return 0;
  }
  const int state = call_state ? *call_state : -1;
  if (state == 0)
    return StartPicking();
  if (state == 1)
    return PostPickedPaths();
  return 1;
}

// The commands below end at once until their roads are built; the results
// are the ones each command gives when it has ended.

int CmdPostSettings() {
  return 0;
}

int CmdEditMachineConfig() {
  return 0;
}

int CmdVerifyCode() {
  return 1;
}

int CmdPostToCode(zu::TextArray*) {
  return 0;
}

int CmdReadBackCode(const char*) {
  return 1;
}
