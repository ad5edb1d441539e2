// The G-code interpreter against just reading the lines: generates (fixed
// seed) a program of a million lines of mixed moves, arcs and drilling
// cycles for the FANUC-0i sample system, writes it to a temporary file,
// checks that it reads without an error, then times reading its lines alone
// and interpreting it, both from memory and from the file, and prints lines
// per second side by side. Exits with 1 on any error in the program.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "bench/gcode_program.h"
#include "bench/timing.h"
#include "gcode/interpreter.h"

namespace zu {
namespace {

constexpr int kLines = 1000000;

std::size_t JustLines(gcode::LineSource& source) {
  std::size_t count = 0;
  std::size_t bytes = 0;
  std::string_view line;
  while (source.Next(line)) {
    ++count;
    bytes += line.size();
  }
  return count + bytes;
}

std::size_t Interpret(const gcode::NcSystem& system, gcode::LineSource& source) {
  bench::CountingReceiver receiver;
  const gcode::ProgramRead read = gcode::ReadProgram(system, source, receiver);
  return receiver.calls + read.error_count + static_cast<std::size_t>(receiver.sum != 0);
}

}  // namespace
}  // namespace zu

int main(int argc, char** argv) {
  using namespace zu;
  const gcode::NcSystemLoad load =
      gcode::LoadNcSystemFile(std::string(ZU_SOURCE_DIR) + "/postmodule/ncsystems/FANUC-0i.xml");
  if (!load.ok) {
    std::printf("FAILED: %s\n", load.error.c_str());
    return 1;
  }
  const std::string program = bench::GeneratedProgram(kLines);
  std::size_t lines = 0;
  for (char c : program)
    lines += c == '\n';

  std::FILE* file = std::tmpfile();
  if (file == nullptr || std::fwrite(program.data(), 1, program.size(), file) != program.size()) {
    std::printf("FAILED: cannot write the temporary file\n");
    return 1;
  }

  {
    gcode::TextLineSource source(program);
    bench::CountingReceiver receiver;
    const gcode::ProgramRead read = gcode::ReadProgram(load.system, source, receiver);
    std::printf("program: %zu lines, %zu bytes; %d paths, %zu calls, %llu errors\n", lines,
                program.size(), read.paths, receiver.calls,
                static_cast<unsigned long long>(read.error_count));
    for (const gcode::Diagnostic& error : read.errors) {
      std::printf("line %llu: %s: %s\n", static_cast<unsigned long long>(error.line),
                  error.message.c_str(), error.block.c_str());
      if (&error - read.errors.data() == 9)
        break;
    }
    if (read.error_count != 0) {
      std::printf("FAILED: the program does not read cleanly\n");
      return 1;
    }
  }

  const auto from_file = [file](auto&& body) {
    return [file, body] {
      std::rewind(file);
      gcode::FileByteReader bytes(file);
      gcode::StreamLineSource source(bytes);
      return body(source);
    };
  };
  const gcode::NcSystem& system = load.system;
  const std::vector<bench::Timed> bodies = {
      {"lines/memory", lines,
       [&] {
         gcode::TextLineSource source(program);
         return JustLines(source);
       }},
      {"interpret/memory", lines,
       [&] {
         gcode::TextLineSource source(program);
         return Interpret(system, source);
       }},
      {"lines/file", lines, from_file([](gcode::LineSource& source) { return JustLines(source); })},
      {"interpret/file", lines,
       from_file([&system](gcode::LineSource& source) { return Interpret(system, source); })},
  };
  std::printf("timing with %s, %zu lines per call\n", bench::HarnessName(), lines);
  std::fflush(stdout);
  const std::vector<double> ns = bench::TimeEach(argc, argv, bodies);
  std::fclose(file);

  bool met = true;
  for (int i = 0; i < 4; i += 2) {
    const char* where = i == 0 ? "memory" : "file";
    if (std::isnan(ns[i]) || std::isnan(ns[i + 1])) {
      std::printf("gcode: %s not timed (filtered out)\n", where);
      continue;
    }
    const double rate = 1e9 / ns[i + 1];
    std::printf(
        "gcode (%s): interpreting %.2f million lines/s (%.1f ns per line) vs reading the lines "
        "alone %.2f million lines/s (%.1f ns per line): %.1fx the reading time\n",
        where, rate / 1e6, ns[i + 1], 1e3 / ns[i], ns[i], ns[i + 1] / ns[i]);
    met = met && rate >= 2e6;
  }
  std::printf("target of 2 million lines per second: %s\n", met ? "met" : "NOT met");
  return 0;
}
