// The state behind the host's services: the open document, the picking, the
// post hook and where the host's prompts and messages go. One session per
// process; the host program sets it up before it runs a command. Portable.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/automation_script.h"
#include "framework/text_array.h"
#include "host/host_api.h"
#include "host/services.h"
#include "hostapp/part_document.h"

namespace zuhost {

// What the person picks when a command asks for paths.
struct PickPlan {
  enum class Outcome { Paths, NoList, Cancelled };
  Outcome outcome = Outcome::NoList;
  std::vector<int> path_indices;  // into the document's paths, in pick order
};

// A post hook whose answers the host program sets from its command line.
class ZUHOST_API ConfiguredPostHook final : public PostHook {
 public:
  std::string temp_folder;     // ANSI
  std::string pick_dump_file;  // ANSI
  bool code_file_list_wanted = false;
  std::vector<std::string> received;  // code files handed over (ANSI)

  void GetTempFolder(zu::Text& folder) override;
  void TakeCodeFiles(zu::TextArray* files) override;
  int IsCodeFileListWanted() override;
  void GetPickDumpFile(zu::Text& file) override;
};

class ZUHOST_API HostSession {
 public:
  static HostSession& Current();

  // The document; the session owns it.
  PartDocument* document() { return document_.get(); }
  void SetDocument(std::unique_ptr<PartDocument> document);

  // Where events go: one UTF-8 line each ("prompt ...", "message ...",
  // "end command", ...). Every event is also kept in events().
  std::function<void(const std::string&)> on_event;
  // Shows a host message (UTF-8) to the person; by default only the event.
  std::function<void(const std::string&)> show_message;
  // ANSI code page to UTF-8, for the plug-in's texts.
  std::function<std::string(std::string_view)> ansi_to_utf8 = [](std::string_view s) {
    return std::string(s);
  };

  void Event(const std::string& utf8_line);
  const std::vector<std::string>& events() const { return events_; }

  // Picking.
  PickPlan pick_plan;
  bool picking() const { return picking_; }
  void BeginPick(std::uint32_t mask);
  bool HasPicked() const { return !picked_.empty(); }
  int GetPicked(PickNode*& first);
  void EndPick();
  void ClearPick();
  // Picks the plan's paths at once, as if the person had picked them before
  // the command started.
  void Preselect();

  // Folders and the post hook.
  std::string work_folder;                        // ANSI; empty: the home folder
  std::unique_ptr<ConfiguredPostHook> post_hook;  // null: the host has none

  bool command_ended() const { return command_ended_; }
  void EndCommand();
  void ResetCommand() { command_ended_ = false; }

  // Paths the plug-in added to the document since the last call.
  std::vector<OrvoPath*> TakeAddedPaths();
  void AddPath(OrvoPath* path);

 private:
  void BuildPickList();

  std::unique_ptr<PartDocument> document_ = std::make_unique<PartDocument>();
  std::vector<std::string> events_;
  std::vector<PickNode> picked_;
  bool picking_ = false;
  bool command_ended_ = false;
  std::vector<OrvoPath*> added_;
};

}  // namespace zuhost
