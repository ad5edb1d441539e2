// Reverse reading of a long program end to end, under Wine: the real host
// runs entry point 6 of the real plug-in, which reads a generated FANUC-0i
// program of a million lines (bench/gcode_program.h, the program gcode_bench
// reads) into host paths through the registered code reader.
//
// It writes the program to the temporary folder and reads it once with the
// host keeping its record and saving the document, to check that the
// program reads without an error, that the host ends the command, shows no
// message (a message lists the blocks that could not be read) and saves the
// paths it says it added; it prints their moves and holes. Then it times,
// each the best of --runs runs (default 3):
//   - the interpreter alone reading that file into a counting receiver, in
//     this process: the baseline the command's reading is measured against;
//   - the host with the NC-system dialog cancelled: its start, the document,
//     the plug-in and the dialog, no reading;
//   - the host reading the file (the dialog's OK);
//   - the same, saving the document with the paths it added.
// The timed host runs keep no record: the record is opened for each line it
// takes, and the host records two events for each path it is given.
// --lines N generates a program of about N lines instead of a million.
// Exits with 1 when a check fails. Windows only; bench/read-back-bench
// builds and runs it under a virtual display.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "bench/gcode_program.h"
#include "framework/program_path.h"
#include "gcode/interpreter.h"

namespace {

constexpr const char* kSystem = "FANUC-0i";
constexpr DWORD kHostTimeoutMs = 10 * 60 * 1000;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct HostRun {
  bool finished = false;  // started and ended within the time allowed
  DWORD exit_code = 0;
  double seconds = 0;  // from starting the process to its end
  std::string output;  // what it printed
};

// Runs zuhost.exe beside this program with `arguments`, its output going to
// `output_file` (a file, not a pipe: nothing can block on a full pipe while
// the clock runs).
HostRun RunHost(const std::string& arguments, const std::string& output_file) {
  HostRun run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE output = CreateFileA(output_file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output == INVALID_HANDLE_VALUE)
    return run;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = output;
  startup.hStdError = output;
  std::string command = "\"" + zu::ProgramFolder() + "\\zuhost.exe\" " + arguments;
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  PROCESS_INFORMATION process{};
  const Clock::time_point start = Clock::now();
  const bool started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process) != FALSE;
  CloseHandle(output);
  if (!started)
    return run;
  run.finished = WaitForSingleObject(process.hProcess, kHostTimeoutMs) == WAIT_OBJECT_0;
  run.seconds = SecondsSince(start);
  if (!run.finished)
    TerminateProcess(process.hProcess, 1);
  GetExitCodeProcess(process.hProcess, &run.exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  run.output = ReadWhole(output_file);
  return run;
}

// The number that ends just before the first `word` in `text` ("12" of
// "12 moves"), or 0.
long NumberBefore(const std::string& text, const std::string& word) {
  const auto at = text.find(word);
  if (at == std::string::npos || at == 0)
    return 0;
  const auto start = text.find_last_of(" \n", at - 1);
  return std::atol(text.c_str() + (start == std::string::npos ? 0 : start + 1));
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// What `zuhost list` says of a document's paths from `first` on.
struct Listed {
  long paths = 0, moves = 0, holes = 0;
};
Listed ListPaths(const std::string& document, std::size_t first, const std::string& output_file) {
  Listed listed;
  const HostRun run = RunHost("list \"" + document + "\"", output_file);
  std::size_t index = 0;
  for (const std::string& line : LinesOf(run.output)) {
    // "  N "name" ... kind K class C, M moves[, H holes], work system ..."
    if (line.rfind("  ", 0) != 0)
      continue;
    if (index++ < first)
      continue;
    ++listed.paths;
    listed.moves += NumberBefore(line, " moves,");
    listed.holes += NumberBefore(line, " holes,");
  }
  return listed;
}

struct Bench {
  std::string folder;  // in the temporary folder, removed at the end
  std::string program, script, record, saved, output;
  std::string document = std::string(ZU_SOURCE_DIR) + "/examples/milling_2d.json";
  int runs = 3;
  int lines = 1000000;  // of the generated program
  bool failed = false;

  void Fail(const std::string& what) {
    std::printf("FAILED: %s\n", what.c_str());
    failed = true;
  }
};

// The interpreter alone on the file, into a counting receiver. Returns the
// best time in seconds.
double TimeInterpreter(Bench& bench, const zu::gcode::NcSystem& system) {
  double best = std::numeric_limits<double>::infinity();
  for (int run = 0; run < bench.runs; ++run) {
    std::FILE* file = std::fopen(bench.program.c_str(), "rb");
    if (!file) {
      bench.Fail("cannot open " + bench.program);
      return best;
    }
    const Clock::time_point start = Clock::now();
    zu::gcode::FileByteReader bytes(file);
    zu::gcode::StreamLineSource lines(bytes);
    zu::bench::CountingReceiver receiver;
    const zu::gcode::ProgramRead read = zu::gcode::ReadProgram(system, lines, receiver);
    best = std::min(best, SecondsSince(start));
    std::fclose(file);
    if (run == 0) {
      std::printf("interpreter: %llu lines, %d paths, %zu receiver calls, %llu errors\n",
                  static_cast<unsigned long long>(read.lines), read.paths, receiver.calls,
                  static_cast<unsigned long long>(read.error_count));
      for (std::size_t i = 0; i < read.errors.size() && i < 10; ++i) {
        std::printf("  line %llu: %s: %s\n", static_cast<unsigned long long>(read.errors[i].line),
                    read.errors[i].message.c_str(), read.errors[i].block.c_str());
      }
      if (!read.ok()) {
        bench.Fail("the program does not read cleanly");
        return best;
      }
    }
  }
  return best;
}

// One run of the host's entry point 6 on the program, its dialog driven by
// `script`, recording what it showed when `record`, saving the document
// when `save`. Fails unless the host ended the command with exit code 0.
struct Command {
  const char* what;
  const std::string& script;
  bool record, save;
};
HostRun RunCommand(Bench& bench, const Command& command) {
  std::ofstream(bench.script, std::ios::binary) << command.script;
  // The host appends to its record.
  DeleteFileA(bench.record.c_str());
  DeleteFileA(bench.saved.c_str());
  HostRun host =
      RunHost("run \"" + bench.document + "\" --command 6 --code-file \"" + bench.program +
                  "\" --automation \"" + bench.script + "\"" +
                  (command.record ? " --record \"" + bench.record + "\"" : std::string()) +
                  (command.save ? " --save \"" + bench.saved + "\"" : std::string()),
              bench.output);
  if (!host.finished || host.exit_code != 0 ||
      host.output.find("entry point 6 returned 1") == std::string::npos) {
    bench.Fail(std::string(command.what) + ": the host did not end the command (exit code " +
               std::to_string(host.exit_code) + "):\n" + host.output);
  }
  return host;
}

// The best time of --runs runs of `command` that each add `added` paths.
double TimeCommand(Bench& bench, const Command& command, long added) {
  double best = std::numeric_limits<double>::infinity();
  for (int run = 0; run < bench.runs && !bench.failed; ++run) {
    const HostRun host = RunCommand(bench, command);
    const long said = NumberBefore(host.output, " paths added to the document");
    if (!bench.failed && said != added) {
      bench.Fail(std::string(command.what) + ": the host added " + std::to_string(said) +
                 " paths, not " + std::to_string(added));
    }
    best = std::min(best, host.seconds);
  }
  return best;
}

void RemoveFiles(const Bench& bench) {
  for (const std::string* file :
       {&bench.program, &bench.script, &bench.record, &bench.saved, &bench.output})
    DeleteFileA(file->c_str());
  RemoveDirectoryA(bench.folder.c_str());
}

int Main(Bench& bench) {
  const zu::gcode::NcSystemLoad load = zu::gcode::LoadNcSystemFile(
      std::string(ZU_SOURCE_DIR) + "/postmodule/ncsystems/" + kSystem + ".xml");
  if (!load.ok) {
    bench.Fail(load.error);
    return 1;
  }
  const std::string program = zu::bench::GeneratedProgram(bench.lines);
  const long lines = static_cast<long>(std::count(program.begin(), program.end(), '\n'));
  if (!(std::ofstream(bench.program, std::ios::binary) << program)) {
    bench.Fail("cannot write " + bench.program);
    return 1;
  }
  std::printf("program: %ld lines, %zu bytes, %s, in %s; best of %d runs each\n", lines,
              program.size(), kSystem, bench.program.c_str(), bench.runs);
  std::fflush(stdout);

  const double alone = TimeInterpreter(bench, load.system);
  if (bench.failed)
    return 1;
  std::printf("interpreter alone (this process, from the file): %.3f s\n", alone);
  std::fflush(stdout);

  // What the reading gives, checked once: the host ends the command, shows
  // no message (it would list blocks it could not read) and saves the paths
  // it says it added. Its record takes a line for each event, two for each
  // path added, so the timed runs below keep none.
  const std::string cancel = "dialog 9000\ncancel\n";
  const std::string choose = std::string("dialog 9000\nlist-click 9015 \"") + kSystem + "\"\nok\n";
  const HostRun checked = RunCommand(bench, {"checking run", choose, true, true});
  if (bench.failed)
    return 1;
  const std::string record = ReadWhole(bench.record);
  if (record.find("host command ended") == std::string::npos ||
      record.find("\nmessage ") != std::string::npos || record.rfind("message ", 0) == 0) {
    bench.Fail("the host showed a message or did not end the command:\n" + record);
    return 1;
  }
  const long said = NumberBefore(checked.output, " paths added to the document");
  const Listed own = ListPaths(bench.document, 0, bench.output);
  const Listed added = ListPaths(bench.saved, static_cast<std::size_t>(own.paths), bench.output);
  std::printf("entry point 6 adds %ld paths: %ld moves, %ld holes\n", added.paths, added.moves,
              added.holes);
  if (said <= 0 || added.paths != said) {
    bench.Fail("the saved document holds " + std::to_string(added.paths) +
               " added paths, the host said it added " + std::to_string(said));
    return 1;
  }

  const double cancelled = TimeCommand(bench, {"dialog cancelled", cancel, false, false}, 0);
  const double reading = TimeCommand(bench, {"reading", choose, false, false}, said);
  const double saving = TimeCommand(bench, {"reading and saving", choose, false, true}, said);
  if (bench.failed)
    return 1;
  std::printf("host, dialog cancelled (start, document, plug-in, no reading): %.3f s\n", cancelled);
  std::printf("host, entry point 6 reading the program: %.3f s\n", reading);
  std::printf("host, reading and saving the document: %.3f s\n", saving);

  const double beyond = reading - cancelled;
  std::printf(
      "read back: %ld lines into %ld host paths (%ld moves) through entry point 6 in %.2f s, "
      "%.2f s beyond the host's run without reading (%.0f thousand lines/s): %.1fx the "
      "interpreter's time alone (%.3f s)\n",
      lines, said, added.moves, reading, beyond, lines / beyond / 1e3, beyond / alone, alone);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Bench bench;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc && std::atoi(argv[i + 1]) > 0) {
      bench.runs = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--lines") == 0 && i + 1 < argc &&
               std::atoi(argv[i + 1]) > 10) {
      bench.lines = std::atoi(argv[++i]);
    } else {
      std::printf("usage: read_back_bench [--runs N] [--lines N]\n");
      return 2;
    }
  }
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  bench.folder = std::string(temp) + "zu_read_back_bench_" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(bench.folder.c_str(), nullptr);
  bench.program = bench.folder + "\\bench.nc";
  bench.script = bench.folder + "\\script.txt";
  bench.record = bench.folder + "\\record.txt";
  bench.saved = bench.folder + "\\saved.json";
  bench.output = bench.folder + "\\host_output.txt";
  const int result = Main(bench);
  RemoveFiles(bench);
  return result;
}
