// The G-code interpreter against just reading the lines: generates (fixed
// seed) a program of a million lines of mixed moves, arcs and drilling
// cycles for the FANUC-0i sample system, writes it to a temporary file,
// checks that it reads without an error, then times reading its lines alone
// and interpreting it, both from memory and from the file, and prints lines
// per second side by side. Exits with 1 on any error in the program.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>

#include "bench/timing.h"
#include "gcode/interpreter.h"

namespace zu {
namespace {

constexpr int kLines = 1000000;

// Counts the calls, so that none can be left out.
class CountingReceiver : public gcode::PathReceiver {
 public:
  std::size_t calls = 0;
  double sum = 0;
  void NextPath(int) override { ++calls; }
  void StartPath() override { ++calls; }
  void EndPath() override { ++calls; }
  void RapidTo(double x, double, double) override { Add(x); }
  void FeedTo(double x, double, double, int) override { Add(x); }
  void ArcTo(double x, double, double, double, double, double, double, double, double) override {
    Add(x);
  }
  void SetFeedRate(double v) override { Add(v); }
  void SetSpindleSpeed(double v) override { Add(v); }
  void SetToolName(std::string_view) override { ++calls; }
  void SetToolInteger1(int) override { ++calls; }
  void SetToolInteger2(int) override { ++calls; }
  void SetToolDimension1(double v) override { Add(v); }
  void SetToolDimension2(double v) override { Add(v); }
  void SetToolDimension3(double v) override { Add(v); }
  void SetToolDimension5(double v) override { Add(v); }
  void SetToolDimension6(double v) override { Add(v); }
  void SetToolDimension7(double v) override { Add(v); }
  void StartDrillPath(int, double, double, double, double, double, double, double,
                      double) override {
    ++calls;
  }
  void AddDrillPoint(double x, double, double) override { Add(x); }
  void FlushDrillPoints() override { ++calls; }

 private:
  void Add(double v) {
    ++calls;
    sum += v;
  }
};

std::string Millimetres(std::int64_t thousandths) {
  char text[32];
  std::snprintf(text, sizeof text, "%s%lld.%03lld", thousandths < 0 ? "-" : "",
                static_cast<long long>(std::llabs(thousandths) / 1000),
                static_cast<long long>(std::llabs(thousandths) % 1000));
  return text;
}

// A program as a CAM system writes one: moves, arcs, cycles, comments, tool
// changes. Coordinates are kept in thousandths of a millimetre, exactly.
std::string Program() {
  std::mt19937_64 rng(20261207);
  const auto pick = [&](std::int64_t low, std::int64_t high) {
    return low + static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(high - low + 1));
  };
  std::string text = "%\nO1000 (BENCHMARK)\nG90 G54 G17 G21\n";
  int line = 3;
  std::int64_t x = 0, y = 0, z = 5000;
  int tool = 0;
  const auto add = [&](const std::string& block) {
    text += "N" + std::to_string(line * 10) + " " + block + "\n";
    ++line;
  };
  while (line < kLines - 2) {
    if (line % 50000 == 3) {
      ++tool;
      add("T" + std::to_string(tool % 20 + 1) + " M6 (TOOL " + std::to_string(tool) + ")");
      add("S" + std::to_string(pick(1000, 9000)) + " M3");
      continue;
    }
    const std::uint64_t kind = rng() % 100;
    if (kind < 55) {
      x += pick(-5000, 5000);
      y += pick(-5000, 5000);
      add("G1 X" + Millimetres(x) + " Y" + Millimetres(y) +
          (kind < 5 ? " F" + std::to_string(pick(100, 2000)) : std::string()));
    } else if (kind < 65) {
      z = pick(-3000, 20000);
      x += pick(-20000, 20000);
      add("G0 X" + Millimetres(x) + " Y" + Millimetres(y) + " Z" + Millimetres(z));
    } else if (kind < 85) {
      const std::int64_t i = pick(-8000, 8000);
      const std::int64_t j = pick(-8000, 8000);
      if (i == 0 && j == 0)
        continue;
      const double r = std::hypot(static_cast<double>(i), static_cast<double>(j));
      const double angle = static_cast<double>(rng() % 6283) / 1000;
      const std::int64_t ex = x + i + std::llround(r * std::cos(angle));
      const std::int64_t ey = y + j + std::llround(r * std::sin(angle));
      add(std::string(kind < 75 ? "G2" : "G3") + " X" + Millimetres(ex) + " Y" + Millimetres(ey) +
          " I" + Millimetres(i) + " J" + Millimetres(j));
      x = ex;
      y = ey;
    } else if (kind < 92) {
      add("(PASS " + std::to_string(line) + ")");
    } else {
      add("G0 Z10.");
      add("G99 G81 X" + Millimetres(x) + " Y" + Millimetres(y) + " Z-" +
          Millimetres(pick(1000, 20000)) + " R2. F" + std::to_string(pick(50, 300)));
      for (int hole = 0; hole < 4; ++hole) {
        x += pick(-10000, 10000);
        add("X" + Millimetres(x));
      }
      add("G80");
      z = 2000;
    }
  }
  add("M30");
  text += "%\n";
  return text;
}

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
  CountingReceiver receiver;
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
  const std::string program = Program();
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
    CountingReceiver receiver;
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
