// zuhost: the CAM host program. This first form loads the plug-in, finds its
// six entry points by ordinal, can call them, and unloads the plug-in.
#include <windows.h>

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/automation.h"
#include "framework/code_page.h"
#include "framework/text_array.h"
#include "hostapp/plugin_module.h"

namespace {

enum ExitCode { kOk = 0, kUsage = 1, kLoadFailed = 2, kEntryMissing = 3 };

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  const auto slash = folder.find_last_of('\\');
  return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

// Prints a line of the host's own; `ansi` parts are converted to UTF-8.
void Say(const std::string& ansi) {
  std::printf("%s\n", zu::AnsiToUtf8(ansi).c_str());
}

using StateEntry = int (*)(int*);
using PlainEntry = int (*)();
using ArrayEntry = int (*)(zu::TextArray*);
using PathEntry = int (*)(const char*);

int Call(const zuhost::PluginModule& plugin, int ordinal, int call_state,
         const std::string& code_file) {
  switch (ordinal) {
    case 1:
      return plugin.entry_as<StateEntry>(ordinal)(&call_state);
    case 5: {
      zu::TextArray code_files;
      const int result = plugin.entry_as<ArrayEntry>(ordinal)(&code_files);
      for (const auto& file : code_files)
        Say("code file " + file.str());
      return result;
    }
    case 6:
      return plugin.entry_as<PathEntry>(ordinal)(code_file.c_str());
    default:
      return plugin.entry_as<PlainEntry>(ordinal)();
  }
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"zuhost: the CAM host that runs the post-processing plug-in"};
  std::string plugin_path = ProgramFolder() + "\\zupost.dll";
  std::vector<int> calls;
  int call_state = 0;
  std::string code_file;
  std::string script;
  std::string record;
  app.add_option("--plugin", plugin_path, "plug-in library to load")->capture_default_str();
  app.add_option("--call", calls, "entry points to call, in order")
      ->check(CLI::Range(1, zuhost::kEntryPointCount));
  app.add_option("--state", call_state, "call state handed to entry point 1")
      ->capture_default_str();
  app.add_option("--code-file", code_file, "code file handed to entry point 6");
  app.add_option("--automation", script, "automation script for dialogs and message boxes");
  app.add_option("--record", record, "file that records every dialog and message box seen")
      ->needs("--automation");
  CLI11_PARSE(app, argc, argv);

  if (!script.empty())
    zu::Automation::Start(script, record);

  zuhost::PluginModule plugin;
  if (std::string error = plugin.Load(plugin_path); !error.empty()) {
    Say(error);
    return plugin.loaded() ? kEntryMissing : kLoadFailed;
  }
  Say("loaded " + plugin_path);
  for (int ordinal = 1; ordinal <= zuhost::kEntryPointCount; ++ordinal) {
    Say("entry point " + std::to_string(ordinal) + " found");
  }
  for (int ordinal : calls) {
    const int result = Call(plugin, ordinal, call_state, code_file);
    Say("entry point " + std::to_string(ordinal) + " returned " + std::to_string(result));
  }
  plugin.Unload();
  Say("unloaded the plug-in");
  std::fflush(stdout);
  return kOk;
}
