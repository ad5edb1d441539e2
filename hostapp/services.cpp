// The host services of host/services.h, on the process's HostSession.
#include "host/services.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "hostapp/host_session.h"

using zuhost::HostSession;

char HostHomeFolder[260] = "";

namespace {

struct HostText {
  int id;
  const char* utf8;
};

// The host's own prompt and message texts.
constexpr HostText kHostTexts[] = {
    {kPromptPickPaths, "请拾取刀具轨迹"},
    {kPromptPickMore, "已拾取对象，请继续拾取刀具轨迹，按右键结束"},
    {kPromptCommandEnded, "命令结束"},
    {kPromptReadBackStarts, "代码反读：请选择代码文件和数控系统"},
    {kMessagePathWithoutMoves, "所选轨迹没有刀位数据，无法后置处理！"},
};

}  // namespace

const char* HostPromptText(int id) {
  for (const auto& text : kHostTexts) {
    if (text.id == id)
      return text.utf8;
  }
  return "";
}

void HostShowPrompt(const char* text) {
  auto& session = HostSession::Current();
  session.Event("prompt " + zu::QuoteText(session.ansi_to_utf8(text ? text : "")));
}

void HostShowPromptId(int id) {
  HostSession::Current().Event("prompt " + std::to_string(id) + " " +
                               zu::QuoteText(HostPromptText(id)));
}

void HostShowMessageId(int id) {
  auto& session = HostSession::Current();
  const std::string text = HostPromptText(id);
  session.Event("message " + std::to_string(id) + " " + zu::QuoteText(text));
  if (session.show_message)
    session.show_message(text);
}

void HostEndCommand() {
  HostSession::Current().EndCommand();
}

void HostSetPickState(int code, int, int) {
  auto& session = HostSession::Current();
  session.Event("pick state " + std::to_string(code));
}

void HostBeginPick(std::uint32_t mask) {
  HostSession::Current().BeginPick(mask);
}

int HostHasPicked() {
  return HostSession::Current().HasPicked() ? 1 : 0;
}

int HostGetPicked(PickNode*& first) {
  return HostSession::Current().GetPicked(first);
}

void HostEndPick() {
  HostSession::Current().EndPick();
}

void HostClearPick() {
  HostSession::Current().ClearPick();
}

void HostGetCurrentCoordSys(ncworkcoordinate& system) {
  system = HostSession::Current().document()->current_system;
}

void HostAddObject(OrvoPath* path, int) {
  if (path)
    HostSession::Current().AddPath(path);
}

void HostShowObject(OrvoPath* path) {
  if (!path)
    return;
  auto& session = HostSession::Current();
  session.Event("path shown: " + zu::QuoteText(session.ansi_to_utf8(path->name.str())) + ", " +
                std::to_string(path->MoveCount()) + " moves");
}

void HostGetWorkFolder(zu::Text& folder) {
  const auto& work = HostSession::Current().work_folder;
  folder = work.empty() ? zu::Text(HostHomeFolder) : zu::Text(work);
}

void HostMakeFolder(const char* folder, int) {
  std::error_code ignored;
  if (folder && *folder)
    std::filesystem::create_directory(folder, ignored);
}

void HostFileMgrMakeFolder(const char* folder, int levels) {
  HostMakeFolder(folder, levels);
}

PostHook* HostGetPostHook() {
  return HostSession::Current().post_hook.get();
}
