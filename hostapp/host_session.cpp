#include "hostapp/host_session.h"

#include <cstdio>
#include <utility>

namespace zuhost {

void ConfiguredPostHook::GetTempFolder(zu::Text& folder) {
  folder = temp_folder;
}

void ConfiguredPostHook::TakeCodeFiles(zu::TextArray* files) {
  auto& session = HostSession::Current();
  const int count = files ? files->GetSize() : 0;
  session.Event("post hook took " + std::to_string(count) + " code files");
  for (int i = 0; i < count; ++i) {
    received.push_back(files->GetAt(i).str());
    session.Event("code file " + zu::QuoteText(session.ansi_to_utf8(files->GetAt(i).str())));
  }
}

int ConfiguredPostHook::IsCodeFileListWanted() {
  return code_file_list_wanted ? 1 : 0;
}

void ConfiguredPostHook::GetPickDumpFile(zu::Text& file) {
  file = pick_dump_file;
}

HostSession& HostSession::Current() {
  static HostSession session;
  return session;
}

void HostSession::SetDocument(std::unique_ptr<PartDocument> document) {
  document_ = std::move(document);
  picked_.clear();
  added_.clear();
}

void HostSession::Event(const std::string& utf8_line) {
  events_.push_back(utf8_line);
  if (on_event)
    on_event(utf8_line);
}

void HostSession::BeginPick(std::uint32_t mask) {
  picking_ = true;
  char text[32];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(mask));
  Event(std::string("picking paths (mask ") + text + ")");
}

void HostSession::BuildPickList() {
  picked_.clear();
  for (int index : pick_plan.path_indices) {
    if (index < 0 || index >= static_cast<int>(document_->paths.size()))
      continue;
    OrvoPath* path = document_->paths[static_cast<std::size_t>(index)].get();
    PickNode node;
    node.kind = path->MultiAxisKind == kFiveAxis ? kPickKindFiveAxisPath : kPickKindPath;
    node.object = path;
    picked_.push_back(node);
  }
  for (std::size_t i = 0; i + 1 < picked_.size(); ++i)
    picked_[i].next = &picked_[i + 1];
}

void HostSession::Preselect() {
  if (pick_plan.outcome == PickPlan::Outcome::Paths)
    BuildPickList();
}

int HostSession::GetPicked(PickNode*& first) {
  first = nullptr;
  switch (pick_plan.outcome) {
    case PickPlan::Outcome::Cancelled:
      Event("pick cancelled");
      return kPickCancelled;
    case PickPlan::Outcome::NoList:
      Event("pick gave no list");
      return kPickNoList;
    case PickPlan::Outcome::Paths:
      break;
  }
  BuildPickList();
  std::string names;
  for (const auto& node : picked_) {
    const auto* path = static_cast<const OrvoPath*>(node.object);
    names += " " + zu::QuoteText(ansi_to_utf8(path->name.str()));
  }
  Event("picked " + std::to_string(picked_.size()) + " paths:" + names);
  first = picked_.empty() ? nullptr : &picked_.front();
  return kPickDelivered;
}

void HostSession::EndPick() {
  picking_ = false;
  Event("picking ended");
}

void HostSession::ClearPick() {
  picked_.clear();
  Event("pick cleared");
}

void HostSession::EndCommand() {
  command_ended_ = true;
  Event("command ended");
}

void HostSession::AddPath(OrvoPath* path) {
  document_->paths.emplace_back(path);
  added_.push_back(path);
  Event("path added: " + zu::QuoteText(ansi_to_utf8(path->name.str())));
}

std::vector<OrvoPath*> HostSession::TakeAddedPaths() {
  return std::exchange(added_, {});
}

}  // namespace zuhost
