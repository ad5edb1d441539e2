// zuhost: the CAM host program. It holds a part document, lists its paths,
// runs the plug-in's six commands against it with the paths to pick given on
// the command line, and saves the paths that a command added.
//
//   zuhost list DOC
//   zuhost run DOC --command N [--pick NAME|INDEX|all ...] [--pick-none]
//              [--pick-cancel] [--preselect] [--automation SCRIPT --record FILE]
//              [--hook-wants-list] [--hook-temp DIR] [--hook-dump FILE]
//              [--code-file FILE] [--save OUT]
//   zuhost convert DOC OUT          (load and save: checks and times a document)
//   zuhost entry-points              (load the plug-in and find its entry points)
#include <windows.h>

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/automation.h"
#include "framework/code_page.h"
#include "framework/message_box.h"
#include "framework/program_path.h"
#include "framework/text_array.h"
#include "hostapp/host_session.h"
#include "hostapp/part_document.h"
#include "hostapp/plugin_module.h"

namespace {

enum ExitCode {
  kOk = 0,
  kUsage = 1,
  kLoadFailed = 2,
  kEntryMissing = 3,
  kBadDocument = 4,
  kSaveFailed = 5
};

// The host's own lines are UTF-8 already.
void Say(const std::string& utf8) {
  std::printf("%s\n", utf8.c_str());
  std::fflush(stdout);
}

zuhost::TextCodec Codec() {
  zuhost::TextCodec codec;
  codec.to_ansi = [](std::string_view s) { return zu::Utf8ToAnsi(s); };
  codec.to_utf8 = [](std::string_view s) { return zu::AnsiToUtf8(s); };
  return codec;
}

// Prints the host's events and records them beside the dialogs' record.
void ConnectSession() {
  auto& session = zuhost::HostSession::Current();
  session.ansi_to_utf8 = [](std::string_view s) { return zu::AnsiToUtf8(s); };
  session.on_event = [](const std::string& line) {
    Say("host: " + line);
    if (zu::Automation* automation = zu::Automation::Get())
      automation->Record("host " + line);
  };
  session.show_message = [](const std::string& utf8) {
    zu::ShowMessage(zu::Utf8ToAnsi(utf8).c_str(), zu::MessageIcon::None);
  };
}

std::unique_ptr<zuhost::PartDocument> Load(const std::string& path) {
  auto loaded = zuhost::LoadPartDocument(path, Codec());
  if (!loaded.document)
    Say("refused: " + loaded.error);
  return std::move(loaded.document);
}

const char* ClassOf(const OrvoPath& path) {
  if (path.MultiAxisKind == kFiveAxis)
    return "five-axis";
  if (dynamic_cast<const OrvoDrillPath*>(&path))
    return "drilling";
  if (dynamic_cast<const OrvoPath3d*>(&path))
    return "3-axis";
  return "2-axis";
}

void ListPaths(const zuhost::PartDocument& document) {
  Say(std::to_string(document.paths.size()) + " paths");
  for (std::size_t i = 0; i < document.paths.size(); ++i) {
    const OrvoPath& path = *document.paths[i];
    Say("  " + std::to_string(i) + " " + zu::QuoteText(zu::AnsiToUtf8(path.name.str())) + " " +
        ClassOf(path) + " kind " + std::to_string(path.PathKind) + " class " +
        std::to_string(path.PathClassCode) + ", " + std::to_string(path.MoveCount()) +
        (path.MultiAxisKind == kFiveAxis ? " points" : " moves") + ", work system " +
        zu::QuoteText(zu::AnsiToUtf8(path.wcs.name)));
  }
}

// Turns the --pick words (ANSI code page, as the command line gives them)
// into path indices; "" when all are known.
std::string PlanPick(const std::vector<std::string>& words, const zuhost::PartDocument& document,
                     zuhost::PickPlan& plan) {
  plan.path_indices.clear();
  for (const auto& word : words) {
    if (word == "all") {
      for (std::size_t i = 0; i < document.paths.size(); ++i) {
        plan.path_indices.push_back(static_cast<int>(i));
      }
      continue;
    }
    int found = -1;
    for (std::size_t i = 0; i < document.paths.size() && found < 0; ++i) {
      if (document.paths[i]->name == word.c_str())
        found = static_cast<int>(i);
    }
    if (found < 0 && !word.empty() && word.find_first_not_of("0123456789") == std::string::npos) {
      const int index = std::stoi(word);
      if (index < static_cast<int>(document.paths.size()))
        found = index;
    }
    if (found < 0)
      return "no path is named or numbered " + zu::AnsiToUtf8(word);
    plan.path_indices.push_back(found);
  }
  return {};
}

using StateEntry = int (*)(int*);
using PlainEntry = int (*)();
using ArrayEntry = int (*)(zu::TextArray*);
using PathEntry = int (*)(const char*);

int CallEntry(const zuhost::PluginModule& plugin, int ordinal, int call_state,
              const std::string& code_file) {
  switch (ordinal) {
    case 1:
      return plugin.entry_as<StateEntry>(1)(&call_state);
    case 5: {
      zu::TextArray code_files;
      const int result = plugin.entry_as<ArrayEntry>(5)(&code_files);
      for (const auto& file : code_files)
        Say("code file " + zu::AnsiToUtf8(file.str()));
      return result;
    }
    case 6:
      return plugin.entry_as<PathEntry>(6)(zu::Utf8ToAnsi(code_file).c_str());
    default:
      return plugin.entry_as<PlainEntry>(ordinal)();
  }
}

// Runs a command as the host's menu does. Entry point 1 may leave the host
// picking: the pick given on the command line then ends, and the host calls
// entry point 1 again with call state 1.
int RunCommand(const zuhost::PluginModule& plugin, int ordinal, const std::string& code_file) {
  auto& session = zuhost::HostSession::Current();
  session.ResetCommand();
  Say("running entry point " + std::to_string(ordinal));
  int result = CallEntry(plugin, ordinal, 0, code_file);
  Say("entry point " + std::to_string(ordinal) + " returned " + std::to_string(result));
  if (ordinal == 1 && result == 1 && session.picking()) {
    Say("the person picks, then picking ends");
    result = CallEntry(plugin, 1, 1, code_file);
    Say("entry point 1 (call state 1) returned " + std::to_string(result));
  }
  return result;
}

std::string LoadPlugin(zuhost::PluginModule& plugin, const std::string& path) {
  std::string error = plugin.Load(path);
  if (error.empty())
    Say("loaded " + zu::AnsiToUtf8(path));
  return error;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"zuhost: the CAM host that runs the post-processing plug-in"};
  app.require_subcommand(1);
  // Paths such as /work/part.json are documents, not options.
  app.allow_windows_style_options(false);
  std::string plugin_path = zu::ProgramFolder() + "\\zupost.dll";
  std::string document_path;
  std::string output_path;
  app.add_option("--plugin", plugin_path, "plug-in library to load")->capture_default_str();
  std::string script;
  std::string record;
  app.add_option("--automation", script, "automation script for dialogs and message boxes");
  app.add_option("--record", record, "record of every dialog, message box and host event")
      ->needs("--automation");
  // Options of the program may also follow a subcommand's.
  app.fallthrough();

  auto* list = app.add_subcommand("list", "list a document's paths");
  list->add_option("document", document_path, "part document (JSON)")->required();

  auto* convert = app.add_subcommand("convert", "load a document and save it again");
  convert->add_option("document", document_path, "part document (JSON)")->required();
  convert->add_option("output", output_path, "where to save it")->required();

  auto* entry_points = app.add_subcommand("entry-points", "load the plug-in and find ordinals 1-6");
  std::vector<int> calls;
  entry_points->add_option("--call", calls, "entry points to call, in order")
      ->check(CLI::Range(1, zuhost::kEntryPointCount));
  int call_state = 0;
  entry_points->add_option("--state", call_state, "call state handed to entry point 1")
      ->capture_default_str();

  auto* run = app.add_subcommand("run", "run a plug-in command on a document");
  int command = 0;
  std::vector<std::string> picks;
  bool pick_none = false;
  bool pick_cancel = false;
  bool preselect = false;
  std::string code_file;
  std::string save_path;
  std::string home = zu::ProgramFolder();
  std::string work;
  bool hook_wants_list = false;
  std::string hook_temp;
  std::string hook_dump;
  bool hook = false;
  run->add_option("document", document_path, "part document (JSON)")->required();
  run->add_option("--command", command, "entry point to run (1-6)")
      ->required()
      ->check(CLI::Range(1, zuhost::kEntryPointCount));
  auto* pick_option =
      run->add_option("--pick", picks, "paths to pick: names, indices or all, in pick order");
  run->add_flag("--pick-none", pick_none, "picking ends without a list")->excludes(pick_option);
  run->add_flag("--pick-cancel", pick_cancel, "the person cancels the picking")
      ->excludes(pick_option);
  run->add_flag("--preselect", preselect, "the paths are picked before the command starts");
  run->add_option("--code-file", code_file, "code file handed to entry point 6");
  run->add_option("--save", save_path, "save the document, with added paths, here");
  run->add_option("--home", home, "the host's base folder")->capture_default_str();
  run->add_option("--work", work, "the host's work folder (default: the base folder)");
  run->add_flag("--hook", hook, "the host has a post hook");
  run->add_flag("--hook-wants-list", hook_wants_list,
                "the post hook wants the code-file list (implies --hook)");
  run->add_option("--hook-temp", hook_temp, "the post hook's temporary folder");
  run->add_option("--hook-dump", hook_dump, "the post hook's pick dump file");
  CLI11_PARSE(app, argc, argv);

  ConnectSession();
  auto& session = zuhost::HostSession::Current();

  if (*list || *convert) {
    const auto start = std::chrono::steady_clock::now();
    auto document = Load(document_path);
    if (!document)
      return kBadDocument;
    if (*list) {
      ListPaths(*document);
      return kOk;
    }
    const auto loaded = std::chrono::steady_clock::now();
    if (std::string error = zuhost::SavePartDocument(*document, output_path, Codec());
        !error.empty()) {
      Say("not saved: " + error);
      return kSaveFailed;
    }
    const auto saved = std::chrono::steady_clock::now();
    long moves = 0;
    for (const auto& path : document->paths)
      moves += path->MoveCount();
    auto ms = [](auto from, auto to) {
      return std::to_string(
          std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count());
    };
    Say("saved " + std::to_string(document->paths.size()) + " paths (" + std::to_string(moves) +
        " moves) to " + output_path + ": loaded in " + ms(start, loaded) + " ms, saved in " +
        ms(loaded, saved) + " ms");
    return kOk;
  }

  if (!script.empty())
    zu::Automation::Start(script, record);

  zuhost::PluginModule plugin;
  if (*entry_points) {
    if (std::string error = LoadPlugin(plugin, plugin_path); !error.empty()) {
      Say(zu::AnsiToUtf8(error));
      return plugin.loaded() ? kEntryMissing : kLoadFailed;
    }
    for (int ordinal = 1; ordinal <= zuhost::kEntryPointCount; ++ordinal) {
      Say("entry point " + std::to_string(ordinal) + " found");
    }
    for (int ordinal : calls) {
      Say("entry point " + std::to_string(ordinal) + " returned " +
          std::to_string(CallEntry(plugin, ordinal, call_state, code_file)));
    }
    plugin.Unload();
    Say("unloaded the plug-in");
    return kOk;
  }

  // run
  auto document = Load(document_path);
  if (!document)
    return kBadDocument;
  session.SetDocument(std::move(document));
  g_roughblock = session.document()->stock;
  zu::Utf8ToAnsi(home).copy(HostHomeFolder, sizeof HostHomeFolder - 1);
  session.work_folder = zu::Utf8ToAnsi(work);
  if (hook || hook_wants_list || !hook_temp.empty() || !hook_dump.empty()) {
    session.post_hook = std::make_unique<zuhost::ConfiguredPostHook>();
    session.post_hook->code_file_list_wanted = hook_wants_list;
    session.post_hook->temp_folder = zu::Utf8ToAnsi(hook_temp);
    session.post_hook->pick_dump_file = zu::Utf8ToAnsi(hook_dump);
  }
  using Outcome = zuhost::PickPlan::Outcome;
  session.pick_plan.outcome =
      pick_cancel ? Outcome::Cancelled : (pick_none ? Outcome::NoList : Outcome::Paths);
  if (std::string error = PlanPick(picks, *session.document(), session.pick_plan); !error.empty()) {
    Say(error);
    return kUsage;
  }
  if (preselect)
    session.Preselect();

  if (std::string error = LoadPlugin(plugin, plugin_path); !error.empty()) {
    Say(zu::AnsiToUtf8(error));
    return plugin.loaded() ? kEntryMissing : kLoadFailed;
  }
  RunCommand(plugin, command, code_file);
  const auto added = session.TakeAddedPaths();
  if (!added.empty())
    Say(std::to_string(added.size()) + " paths added to the document");
  plugin.Unload();
  if (!save_path.empty()) {
    if (std::string error = zuhost::SavePartDocument(*session.document(), save_path, Codec());
        !error.empty()) {
      Say("not saved: " + error);
      return kSaveFailed;
    }
    Say("saved the document to " + save_path);
  }
  return kOk;
}
