#include "postmodule/tool_location_report.h"

#include <string>
#include <vector>

#include "toolloc_file/file_reader.h"

namespace postmodule {
namespace {

using zu::Block;
using zu::BlockType;
using zu::Vec3;

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
  PointBox box;

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
    box.Add(hole.x, hole.y, hole.z);
  }
  void MillKeys(const zu::MillKeys& keys) override {
    paths.back().kind = keys.path_type == zu::kPathTypeFiveAxis ? "five-axis" : "milling";
  }
  void Block(const zu::Block& block) override {
    ++paths.back().blocks[static_cast<int>(block.type)];
    if (block.type == BlockType::Line || block.type == BlockType::Arc)
      box.Add(block.end.x, block.end.y, block.end.z);
  }
  void Tail() override {}
};

}  // namespace

Report ReportToolLocationFile(std::string_view tool_location, std::string_view source,
                              std::string_view machine_file) {
  Summary summary;
  Report report = StartReport(zu::ReadToolLocationFile(tool_location, summary), "tool-location",
                              source, machine_file);
  if (!report.ok)
    return report;
  std::string& out = report.text;
  out += ReportLine("(code file named in it: %s)", summary.code_file.c_str());
  out += ReportLine("(%d path records for %d picked objects, %d tools)",
                    static_cast<int>(summary.paths.size()), summary.head.path_number,
                    static_cast<int>(summary.tools.size()));
  for (std::size_t i = 0; i < summary.tools.size(); ++i)
    out += ReportLine("(tool %d: %s)", static_cast<int>(i), summary.tools[i].c_str());
  for (const PathSummary& path : summary.paths) {
    const int* b = path.blocks;
    const int blocks = b[1] + b[2] + b[3] + b[4] + b[5];
    if (std::string_view(path.kind) == "drilling") {
      out += ReportLine("(path %d \"%s\": drilling, %d holes)", path.tool_index, path.name.c_str(),
                        path.holes);
    } else {
      out += ReportLine(
          "(path %d \"%s\": %s, %d blocks: %d straight moves, %d arcs, %d feed types, "
          "%d compensation changes, %d dwells)",
          path.tool_index, path.name.c_str(), path.kind, blocks, b[1], b[2], b[3], b[4], b[5]);
    }
  }
  out += summary.box.Line();
  return report;
}

}  // namespace postmodule
