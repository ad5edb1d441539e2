// The post processor on a generated tool-location file of a million moves
// (ten milling paths of straight moves and arcs, feed and compensation
// changes): blocks per second of the code writer and of the verification,
// against the tool-location file's own writer on the same paths as the
// baseline, from one run. First checks that the program reads back within
// the machine's tolerance (with --once, stops there). Targets: at least
// 3 M blocks/s of code, and the verification taking no more than the
// writing time again.
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "bench/timing.h"
#include "codewriter/code_writer.h"
#include "cutmodel/from_tool_location.h"
#include "gcode/nc_system.h"
#include "machine/machine_reader.h"
#include "toolloc_file/file_model.h"
#include "toolloc_file/file_writer.h"
#include "verification/verify_program.h"

namespace zu {
namespace {

constexpr int kPaths = 10;
constexpr int kMovesPerPath = 100000;

// Bytes kept in one string, as the code writer keeps its program.
class StringSink : public fio::ByteSink {
 public:
  bool Write(std::string_view bytes) override {
    text.append(bytes);
    return true;
  }
  std::string text;
};

Block Code(BlockType type, int code) {
  Block block;
  block.type = type;
  block.code = code;
  return block;
}

// Each path: down at the plunge feed, then a spiral of short lines with an
// arc every tenth move, compensation on and off, rapid out.
ToolLocationFile Generate() {
  ToolLocationFile file;
  file.head = {kPaths, kPaths};
  for (int p = 0; p < kPaths; ++p) {
    ToolEntry tool;
    tool.index = p;
    tool.name = "D10";
    tool.integer1 = 1 + p % 3;
    tool.dimension1 = 10;
    file.tools.push_back(tool);
  }
  file.mcf_path = "FANUC-0i.mcf";
  file.code_file = "NC0001.cut";
  for (int p = 0; p < kPaths; ++p) {
    ToolLocationPath path;
    path.start = {"path " + std::to_string(p), p};
    PathPlacement placement;
    placement.frame = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}, {0, 0, 1}};
    placement.home = {50, 0, 5};
    path.placement = placement;
    MillKeys keys;
    keys.safe_height = 50;
    keys.speed = 3000;
    keys.feed = {800, 1200, 400, 200};
    path.mill_keys = keys;
    Block line;
    line.end = {50, 0, -1};
    path.blocks.push_back(line);
    path.blocks.push_back(Code(BlockType::FeedType, 3));
    double angle = 0;
    for (int k = 1; k < kMovesPerPath - 1; ++k) {
      const double radius = 50 - 40.0 * k / kMovesPerPath;
      const double step = 0.02;
      angle += step;
      Block move;
      move.end = {radius * std::cos(angle), radius * std::sin(angle), -1 - 0.001 * (k % 5)};
      if (k % 10 == 0) {
        // An arc about the origin at the move's radius, in XY.
        const Vec3 from = path.blocks[path.blocks.size() - 1].end;
        const double r = std::hypot(from.x, from.y);
        move.type = BlockType::Arc;
        move.end = {r * std::cos(angle), r * std::sin(angle), from.z};
        move.centre = {0, 0, from.z};
        move.normal = {0, 0, 1};
      }
      path.blocks.push_back(move);
      if (k == 1)
        path.blocks.push_back(Code(BlockType::FeedType, 5));
      if (k == 2)
        path.blocks.push_back(Code(BlockType::Compensation, 1));
      if (k == kMovesPerPath - 3)
        path.blocks.push_back(Code(BlockType::Compensation, 0));
    }
    Block out;
    out.end = path.blocks.back().end;
    out.end.z = 50;
    path.blocks.push_back(out);
    path.blocks.push_back(Code(BlockType::FeedType, 1));
    file.paths.push_back(std::move(path));
  }
  return file;
}

int Main(int argc, char** argv) {
  const std::string folder = std::string(ZU_SOURCE_DIR) + "/postmodule/ncsystems/";
  const machine::MachineReadResult machine = machine::ReadMachineConfig(folder + "FANUC-0i.mcf");
  const gcode::NcSystemLoad system = gcode::LoadNcSystemFile(folder + "FANUC-0i.xml");
  if (!machine.config || !system.ok) {
    std::printf("cannot load FANUC-0i: %s%s\n", machine.error.c_str(), system.error.c_str());
    return 1;
  }
  const ToolLocationFile file = Generate();
  std::size_t blocks = 0;
  for (const ToolLocationPath& path : file.paths)
    blocks += path.blocks.size();
  const cut::Program program = cut::FromToolLocationFile(file);
  std::string code;
  const codewriter::WriteResult written =
      codewriter::WriteProgram(program, *machine.config, {"NC0001"}, code);
  if (!written.ok()) {
    std::printf("the program is refused: %s\n", written.error.c_str());
    return 1;
  }
  verify::VerifyOptions options;
  options.tolerance = machine.config->verification.tolerance;
  const verify::VerifyResult check = verify::VerifyProgram(program, code, system.system, options);
  std::printf(
      "%zu tool-location blocks, %zu code blocks (%zu bytes); read back: %s, %llu moves "
      "compared, largest deviation %.6f mm\n",
      blocks, written.blocks, code.size(), check.ok ? "PASS" : "FAIL",
      static_cast<unsigned long long>(check.moves_compared), check.largest_deviation);
  if (!check.ok)
    return 1;
  // --once: the writing and the check above only, each run once, for
  // counting their instructions (valgrind --tool=callgrind).
  if (argc > 1 && std::string_view(argv[1]) == "--once")
    return 0;

  const std::vector<bench::Timed> bodies = {
      {"tool-location writer (baseline)", blocks,
       [&] {
         StringSink sink;
         sink.text.reserve(code.size() * 4);
         ToolLocationFileWriter writer(sink);
         SendToolLocationFile(file, writer);
         return writer.Finish().ok ? sink.text.size() : 0;
       }},
      {"code writer", written.blocks,
       [&] {
         std::string text;
         return codewriter::WriteProgram(program, *machine.config, {"NC0001"}, text).blocks;
       }},
      {"verification", written.blocks,
       [&] {
         return static_cast<std::size_t>(
             verify::VerifyProgram(program, code, system.system, options).moves_compared);
       }},
  };
  const std::vector<double> ns = bench::TimeEach(argc, argv, bodies, bench::Clock::kProcessor);
  const double baseline = 1e3 / ns[0], writer = 1e3 / ns[1], verification = 1e3 / ns[2];
  std::printf(
      "blocks per second: tool-location writer %.2f M, code writer %.2f M (%.2f times "
      "the baseline), verification %.2f M\n",
      baseline, writer, writer / baseline, verification);
  const double verify_over_write = ns[2] / ns[1];
  std::printf(
      "code writing %s the 3 M blocks/s target; verification takes %.2f times the "
      "writing time (target: at most 1)\n",
      writer >= 3 ? "meets" : "MISSES", verify_over_write);
  return 0;
}

}  // namespace
}  // namespace zu

int main(int argc, char** argv) {
  return zu::Main(argc, argv);
}
