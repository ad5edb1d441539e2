#include "postmodule/tool_location_report.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <vector>

#include "toolloc_file/file_reader.h"

namespace postmodule {
namespace {

using zu::Block;
using zu::BlockType;
using zu::Vec3;

// The smallest box around a set of points.
struct Box {
  Vec3 low{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
           std::numeric_limits<double>::infinity()};
  Vec3 high{-std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
            -std::numeric_limits<double>::infinity()};
  bool empty = true;
  void Add(const Vec3& p) {
    empty = false;
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
  }
};

struct PathSummary {
  std::string name;
  int tool_index = 0;
  const char* kind = "five-axis, no points";
  int holes = 0;
  int blocks[6] = {};  // by block type, 1 to 5
};

// Counts what the reader hands over.
class Summary final : public zu::ToolLocationRecords {
 public:
  zu::FileHead head;
  std::string code_file;
  std::vector<std::string> tools;
  std::vector<PathSummary> paths;
  Box box;

  void Head(const zu::FileHead& h) override { head = h; }
  void BeginToolList() override {}
  void Tool(const zu::ToolEntry& tool) override { tools.push_back(tool.name); }
  void EndSection() override {}
  void Machine(std::string_view) override {}
  void CodeFile(std::string_view file_name) override { code_file = std::string(file_name); }
  void Jig(const zu::JigSection&) override {}
  void PathStart(const zu::PathStart& start) override {
    paths.push_back({start.name, start.tool_index});
  }
  void PathPlacement(const zu::PathPlacement&) override {}
  void DrillKeys(const zu::DrillKeys&) override {}
  void Holes(int) override { paths.back().kind = "drilling"; }
  void Hole(const Vec3& hole) override {
    ++paths.back().holes;
    box.Add(hole);
  }
  void MillKeys(const zu::MillKeys& keys) override {
    paths.back().kind = keys.path_type == zu::kPathTypeFiveAxis ? "five-axis" : "milling";
  }
  void Block(const zu::Block& block) override {
    ++paths.back().blocks[static_cast<int>(block.type)];
    if (block.type == BlockType::Line || block.type == BlockType::Arc)
      box.Add(block.end);
  }
  void Tail() override {}
};

std::string Line(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Line(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return std::string(text) + "\r\n";
}

}  // namespace

Report ReportToolLocationFile(std::string_view tool_location, std::string_view source,
                              std::string_view machine_file) {
  Summary summary;
  const zu::ReadResult read = zu::ReadToolLocationFile(tool_location, summary);
  Report report;
  const std::string from(source);
  if (!read.ok) {
    report.ok = false;
    report.text = Line("(ORVOPost: %s cannot be read: %s)", from.c_str(), read.error.c_str());
    return report;
  }
  std::string& out = report.text;
  out += Line("(ORVOPost: a report of the tool-location file %s; no G code is written yet)",
              from.c_str());
  out += Line("(NC system: %s)", std::string(machine_file).c_str());
  out += Line("(code file named in it: %s)", summary.code_file.c_str());
  out += Line("(%d path records for %d picked objects, %d tools)",
              static_cast<int>(summary.paths.size()), summary.head.path_number,
              static_cast<int>(summary.tools.size()));
  for (std::size_t i = 0; i < summary.tools.size(); ++i)
    out += Line("(tool %d: %s)", static_cast<int>(i), summary.tools[i].c_str());
  for (const PathSummary& path : summary.paths) {
    const int* b = path.blocks;
    const int blocks = b[1] + b[2] + b[3] + b[4] + b[5];
    if (std::string_view(path.kind) == "drilling") {
      out += Line("(path %d \"%s\": drilling, %d holes)", path.tool_index, path.name.c_str(),
                  path.holes);
    } else {
      out += Line(
          "(path %d \"%s\": %s, %d blocks: %d straight moves, %d arcs, %d feed types, "
          "%d compensation changes, %d dwells)",
          path.tool_index, path.name.c_str(), path.kind, blocks, b[1], b[2], b[3], b[4], b[5]);
    }
  }
  if (summary.box.empty) {
    out += Line("(no point to move to)");
  } else {
    const Vec3& l = summary.box.low;
    const Vec3& h = summary.box.high;
    out += Line("(box of the points moved to: X %.4f .. %.4f, Y %.4f .. %.4f, Z %.4f .. %.4f)", l.x,
                h.x, l.y, h.y, l.z, h.z);
  }
  return report;
}

}  // namespace postmodule
