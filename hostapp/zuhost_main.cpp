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
//   zuhost plot DOC OUT.svg [--path NAME|INDEX ...] [--view top|front|side|iso]
//   zuhost entry-points              (load the plug-in and find its entry points)
//
// The command line is read as UTF-8 (from the wide one Windows keeps), so
// that names of any script arrive intact; what goes to the plug-in and to the
// file functions of the C runtime is converted to the ANSI code page.
#include <windows.h>
#include <shellapi.h>

#include <CLI/CLI.hpp>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "drawing/svg_picture.h"
#include "framework/automation.h"
#include "framework/code_page.h"
#include "framework/message_box.h"
#include "framework/program_path.h"
#include "framework/text_array.h"
#include "hostapp/host_session.h"
#include "format_io/file_name.h"
#include "hostapp/part_document.h"
#include "hostapp/message_watch.h"
#include "hostapp/plugin_module.h"
#include "pathpicture/path_picture.h"

namespace {

// The entry point that posts through the text tool-location file.
constexpr int kTextRoadCommand = 5;

enum ExitCode {
  kOk = 0,
  kUsage = 1,
  kLoadFailed = 2,
  kEntryMissing = 3,
  kBadDocument = 4,
  kSaveFailed = 5,
  kErrorMessage = 6,
  kNothingDrawn = 7
};

// The host's own lines are UTF-8 already.
void Say(const std::string& utf8) {
  std::printf("%s\n", utf8.c_str());
  std::fflush(stdout);
}

zuhost::TextCodec Codec() {
  zuhost::TextCodec codec;
  codec.to_ansi = [](std::string_view utf8) {
    zuhost::AnsiText out;
    out.text = zu::Utf8ToAnsi(utf8);
    out.unrepresentable = zu::FirstCharacterNotInAnsi(utf8);
    return out;
  };
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
    zuhost::MessageWatch::HostShows(
        [&utf8] { zu::ShowMessage(zu::Utf8ToAnsi(utf8).c_str(), zu::MessageIcon::None); });
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

// "1 hole", "3 holes": a count with its noun.
std::string Counted(std::size_t count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

void ListPaths(const zuhost::PartDocument& document) {
  Say(Counted(document.paths.size(), "path"));
  for (std::size_t i = 0; i < document.paths.size(); ++i) {
    const OrvoPath& path = *document.paths[i];
    Say("  " + std::to_string(i) + " " + zu::QuoteText(zu::AnsiToUtf8(path.name.str())) + " " +
        ClassOf(path) + " kind " + std::to_string(path.PathKind) + " class " +
        std::to_string(path.PathClassCode) + ", " +
        Counted(path.MoveCount(), path.MultiAxisKind == kFiveAxis ? "point" : "move") +
        (path.geometry && path.PathKind == kDrillingPath
             ? ", " + Counted(path.geometry->drill_points.size(), "hole")
             : std::string()) +
        ", work system " + zu::QuoteText(zu::AnsiToUtf8(path.wcs.name)));
  }
}

// Turns the --pick words (UTF-8) into path indices: "all", a path's name, or
// its index in the document. Returns "" when every word names a path.
std::string PlanPick(const std::vector<std::string>& words, const zuhost::PartDocument& document,
                     zuhost::PickPlan& plan) {
  plan.path_indices.clear();
  const auto count = document.paths.size();
  for (const auto& word : words) {
    if (word == "all") {
      for (std::size_t i = 0; i < count; ++i)
        plan.path_indices.push_back(static_cast<int>(i));
      continue;
    }
    const std::string name = zu::Utf8ToAnsi(word);
    int found = -1;
    for (std::size_t i = 0; i < count && found < 0; ++i) {
      if (document.paths[i]->name == name.c_str())
        found = static_cast<int>(i);
    }
    std::size_t index = 0;
    const char* end = word.data() + word.size();
    if (found < 0 && !word.empty()) {
      const auto parsed = std::from_chars(word.data(), end, index);
      if (parsed.ec == std::errc() && parsed.ptr == end && index < count)
        found = static_cast<int>(index);
    }
    if (found < 0) {
      return "no path is named or numbered " + zu::QuoteText(word) + " (the document has " +
             std::to_string(count) + " paths, numbered from 0)";
    }
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

// Loads the plug-in; on failure says why and gives the exit code.
int LoadPlugin(zuhost::PluginModule& plugin, const std::string& utf8_path) {
  if (std::string error = plugin.Load(zu::Utf8ToAnsi(utf8_path)); !error.empty()) {
    Say(zu::AnsiToUtf8(error));
    return plugin.loaded() ? kEntryMissing : kLoadFailed;
  }
  Say("loaded " + utf8_path);
  return kOk;
}

// The program's arguments in UTF-8.
std::vector<std::string> Utf8Arguments() {
  std::vector<std::string> arguments;
  int count = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 0; i < count; ++i)
      arguments.push_back(zu::WideToUtf8(wide[i]));
    LocalFree(wide);
  }
  return arguments;
}

// Everything the command line sets (texts in UTF-8).
struct Options {
  std::string plugin_path = zu::AnsiToUtf8(zu::ProgramFolder()) + "\\zupost.dll";
  std::string home = zu::AnsiToUtf8(zu::ProgramFolder());
  std::string script;
  std::string record;
  std::string document_path;
  std::string output_path;
  // entry-points
  std::vector<int> calls;
  int call_state = 0;
  // run
  int command = 0;
  std::vector<std::string> picks;
  bool pick_none = false;
  bool pick_cancel = false;
  bool preselect = false;
  std::string code_file;
  std::string save_path;
  std::string work;
  bool hook = false;
  bool hook_wants_list = false;
  std::string hook_temp;
  std::string hook_dump;
  // plot
  std::vector<std::string> plot_paths;
  std::string view = "top";
};

// Declares the command line on `app`; returns the subcommands.
struct Subcommands {
  CLI::App* list;
  CLI::App* convert;
  CLI::App* entry_points;
  CLI::App* run;
  CLI::App* plot;
};
Subcommands DeclareCommandLine(CLI::App& app, Options& o) {
  app.require_subcommand(1);
  // Paths such as /work/part.json are documents, not options.
  app.allow_windows_style_options(false);
  app.add_option("--plugin", o.plugin_path, "plug-in library to load")->capture_default_str();
  app.add_option("--home", o.home, "the host's base folder")->capture_default_str();
  app.add_option("--automation", o.script, "automation script for dialogs and message boxes");
  app.add_option("--record", o.record, "record of every dialog, message box and host event")
      ->needs("--automation");
  // Options of the program may also follow a subcommand's.
  app.fallthrough();

  Subcommands s{};
  s.list = app.add_subcommand("list", "list a document's paths");
  s.list->add_option("document", o.document_path, "part document (JSON)")->required();

  s.convert = app.add_subcommand("convert", "load a document and save it again");
  s.convert->add_option("document", o.document_path, "part document (JSON)")->required();
  s.convert->add_option("output", o.output_path, "where to save it")->required();

  s.plot = app.add_subcommand("plot", "draw a document's paths as an SVG picture");
  s.plot->add_option("document", o.document_path, "part document (JSON)")->required();
  s.plot->add_option("output", o.output_path, "the picture to write (SVG)")->required();
  s.plot->add_option("--path", o.plot_paths, "paths to draw: names or indices (default: all)");
  s.plot->add_option("--view", o.view, "top, front, side or iso")
      ->check(CLI::IsMember({"top", "front", "side", "iso"}))
      ->capture_default_str();

  s.entry_points = app.add_subcommand("entry-points", "load the plug-in and find ordinals 1-6");
  s.entry_points->add_option("--call", o.calls, "entry points to call, in order")
      ->check(CLI::Range(1, zuhost::kEntryPointCount));
  s.entry_points->add_option("--state", o.call_state, "call state handed to entry point 1")
      ->capture_default_str();

  s.run = app.add_subcommand("run", "run a plug-in command on a document");
  CLI::App* run = s.run;
  run->add_option("document", o.document_path, "part document (JSON)")->required();
  run->add_option("--command", o.command, "entry point to run (1-6)")
      ->required()
      ->check(CLI::Range(1, zuhost::kEntryPointCount));
  auto* pick_option =
      run->add_option("--pick", o.picks, "paths to pick: names, indices or all, in pick order");
  run->add_flag("--pick-none", o.pick_none, "picking ends without a list")->excludes(pick_option);
  run->add_flag("--pick-cancel", o.pick_cancel, "the person cancels the picking")
      ->excludes(pick_option);
  run->add_flag("--preselect", o.preselect, "the paths are picked before the command starts");
  run->add_option("--code-file", o.code_file, "code file handed to entry point 6");
  run->add_option("--save", o.save_path, "save the document, with added paths, here");
  run->add_option("--work", o.work, "the host's work folder (default: the base folder)");
  run->add_flag("--hook", o.hook, "the host has a post hook");
  run->add_flag("--hook-wants-list", o.hook_wants_list,
                "the post hook wants the code-file list (implies --hook)");
  run->add_option("--hook-temp", o.hook_temp, "the post hook's temporary folder");
  run->add_option("--hook-dump", o.hook_dump, "the post hook's pick dump file");
  return s;
}

// Loads a document and saves it again, saying how long each took.
int Convert(const Options& o) {
  const auto start = std::chrono::steady_clock::now();
  auto document = Load(o.document_path);
  if (!document)
    return kBadDocument;
  const auto loaded = std::chrono::steady_clock::now();
  if (std::string error = zuhost::SavePartDocument(*document, o.output_path, Codec());
      !error.empty()) {
    Say("not saved: " + error);
    return kSaveFailed;
  }
  const auto saved = std::chrono::steady_clock::now();
  long moves = 0;
  for (const auto& path : document->paths)
    moves += path->MoveCount();
  auto ms = [](auto from, auto to) {
    return std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count());
  };
  Say("saved " + std::to_string(document->paths.size()) + " paths (" + std::to_string(moves) +
      " moves) to " + o.output_path + ": loaded in " + ms(start, loaded) + " ms, saved in " +
      ms(loaded, saved) + " ms");
  return kOk;
}

// Draws the paths --path names (all without it) in one view, saying how
// long loading and drawing took.
int Plot(const Options& o) {
  const auto start = std::chrono::steady_clock::now();
  auto document = Load(o.document_path);
  if (!document)
    return kBadDocument;
  const auto loaded = std::chrono::steady_clock::now();
  zuhost::PickPlan plan;
  if (o.plot_paths.empty()) {
    for (std::size_t i = 0; i < document->paths.size(); ++i)
      plan.path_indices.push_back(static_cast<int>(i));
  } else if (std::string error = PlanPick(o.plot_paths, *document, plan); !error.empty()) {
    Say(error);
    return kUsage;
  }
  std::vector<const OrvoPath*> paths;
  for (int index : plan.path_indices)
    paths.push_back(document->paths[static_cast<std::size_t>(index)].get());
  zuhost::PicturePathsOptions options;
  options.title =
      std::string(zu::fio::FileNameOf(o.document_path)) + ": " + Counted(paths.size(), "path");
  options.to_utf8 = [](std::string_view s) { return zu::AnsiToUtf8(s); };
  const auto view = zu::draw::ParseView(o.view);
  const zu::draw::SvgDrawing drawing = zu::draw::DrawSvg(zuhost::PicturePaths(paths, options),
                                                         {view.value_or(zu::draw::View::kTop)});
  const auto drawn = std::chrono::steady_clock::now();
  if (std::string error = zuhost::SaveWhole(drawing.svg, o.output_path); !error.empty()) {
    Say("not written: " + error);
    return kSaveFailed;
  }
  auto ms = [](auto from, auto to) {
    return std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count());
  };
  if (!drawing.problem.empty()) {
    Say("nothing drawn: " + drawing.problem + "; the picture " + o.output_path + " says so");
    return kNothingDrawn;
  }
  Say("drew " + Counted(paths.size(), "path") + " (" + Counted(drawing.moves, "move") + ") from " +
      o.view + " to " + o.output_path + ": loaded in " + ms(start, loaded) + " ms, drawn in " +
      ms(loaded, drawn) + " ms");
  return kOk;
}

int EntryPoints(const Options& o) {
  zuhost::PluginModule plugin;
  if (const int failed = LoadPlugin(plugin, o.plugin_path))
    return failed;
  for (int ordinal = 1; ordinal <= zuhost::kEntryPointCount; ++ordinal)
    Say("entry point " + std::to_string(ordinal) + " found");
  for (int ordinal : o.calls) {
    Say("entry point " + std::to_string(ordinal) + " returned " +
        std::to_string(CallEntry(plugin, ordinal, o.call_state, o.code_file)));
  }
  plugin.Unload();
  Say("unloaded the plug-in");
  return kOk;
}

int Run(const Options& o) {
  auto& session = zuhost::HostSession::Current();
  auto document = Load(o.document_path);
  if (!document)
    return kBadDocument;
  session.SetDocument(std::move(document));
  g_roughblock = session.document()->stock;
  session.work_folder = zu::Utf8ToAnsi(o.work);
  if (o.hook || o.hook_wants_list || !o.hook_temp.empty() || !o.hook_dump.empty()) {
    session.post_hook = std::make_unique<zuhost::ConfiguredPostHook>();
    session.post_hook->code_file_list_wanted = o.hook_wants_list;
    session.post_hook->temp_folder = zu::Utf8ToAnsi(o.hook_temp);
    session.post_hook->pick_dump_file = zu::Utf8ToAnsi(o.hook_dump);
  }
  using Outcome = zuhost::PickPlan::Outcome;
  session.pick_plan.outcome =
      o.pick_cancel ? Outcome::Cancelled : (o.pick_none ? Outcome::NoList : Outcome::Paths);
  if (std::string error = PlanPick(o.picks, *session.document(), session.pick_plan);
      !error.empty()) {
    Say(error);
    return kUsage;
  }
  // Entry point 5 posts what is picked when the command starts: its paths
  // are picked beforehand, as a person picks them before choosing it.
  if (o.preselect || o.command == kTextRoadCommand)
    session.Preselect();

  zuhost::PluginModule plugin;
  if (const int failed = LoadPlugin(plugin, o.plugin_path))
    return failed;
  zuhost::MessageWatch messages([&session](const std::string& line) { session.Event(line); });
  RunCommand(plugin, o.command, o.code_file);
  const auto added = session.TakeAddedPaths();
  if (!added.empty())
    Say(std::to_string(added.size()) + " paths added to the document");
  // Paths the plug-in added may hold objects whose code is the plug-in's
  // (their parameter records): the document is saved and let go while the
  // plug-in is still loaded.
  int result = kOk;
  if (!o.save_path.empty()) {
    if (std::string error = zuhost::SavePartDocument(*session.document(), o.save_path, Codec());
        !error.empty()) {
      Say("not saved: " + error);
      result = kSaveFailed;
    } else {
      Say("saved the document to " + o.save_path);
    }
  }
  session.SetDocument(nullptr);
  plugin.Unload();
  if (result == kOk && messages.stops() > 0) {
    Say("the command showed " + std::to_string(messages.stops()) + " error message" +
        (messages.stops() == 1 ? "" : "s"));
    result = kErrorMessage;
  }
  return result;
}

// The record of an automated run is appended to; a file that cannot be
// written would lose every line, so it is refused before anything runs.
bool RecordWritable(const std::string& utf8_path) {
  std::FILE* file = std::fopen(zu::Utf8ToAnsi(utf8_path).c_str(), "ab");
  if (!file)
    return false;
  return std::fclose(file) == 0;
}

}  // namespace

int main() {
  std::vector<std::string> arguments = Utf8Arguments();
  std::vector<char*> argv;
  for (auto& argument : arguments)
    argv.push_back(argument.data());

  CLI::App app{"zuhost: the CAM host that runs the post-processing plug-in"};
  Options o;
  const Subcommands subcommands = DeclareCommandLine(app, o);
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError& error) {
    // CLI11 prints the message (or the help); every refusal exits with 1.
    return app.exit(error) == 0 ? kOk : kUsage;
  }

  // The base folder of the host, for every subcommand: the plug-in's
  // settings put their default code folder under it.
  const std::string home = zu::Utf8ToAnsi(o.home);
  if (home.size() >= sizeof HostHomeFolder) {
    Say("the base folder " + o.home + " is longer than " +
        std::to_string(sizeof HostHomeFolder - 1) + " bytes");
    return kUsage;
  }
  home.copy(HostHomeFolder, sizeof HostHomeFolder - 1);
  HostHomeFolder[home.size()] = '\0';

  ConnectSession();
  if (*subcommands.list) {
    auto document = Load(o.document_path);
    if (!document)
      return kBadDocument;
    ListPaths(*document);
    return kOk;
  }
  if (*subcommands.convert)
    return Convert(o);
  if (*subcommands.plot)
    return Plot(o);

  if (!o.record.empty() && !RecordWritable(o.record)) {
    Say("the record file " + o.record + " cannot be written");
    return kUsage;
  }
  if (!o.script.empty())
    zu::Automation::Start(zu::Utf8ToAnsi(o.script), zu::Utf8ToAnsi(o.record));
  return *subcommands.entry_points ? EntryPoints(o) : Run(o);
}
