// A receiver of the record stream that keeps each record as one short line
// ("line 1,2,3", "feed 5", "comp 2", "dwell 0", "axis 1,2,3 0,0,1"), for
// tests that look at what the writers decide rather than at the file's
// bytes. Numbers are printed with %g.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "toolloc_file/record_stream.h"

namespace zu {

class RecordLog final : public ToolLocationRecords {
 public:
  std::vector<std::string> lines;

  // Only the lines of blocks, in order.
  std::vector<std::string> Blocks() const {
    std::vector<std::string> blocks;
    for (const auto& line : lines) {
      if (line.rfind("line ", 0) == 0 || line.rfind("arc ", 0) == 0 ||
          line.rfind("feed ", 0) == 0 || line.rfind("comp ", 0) == 0 ||
          line.rfind("dwell ", 0) == 0 || line.rfind("axis ", 0) == 0)
        blocks.push_back(line);
    }
    return blocks;
  }

  static std::string Of(const Vec3& v) {
    char text[96];
    std::snprintf(text, sizeof text, "%g,%g,%g", v.x, v.y, v.z);
    return text;
  }

  void Head(const FileHead& head) override {
    lines.push_back("head " + std::to_string(head.path_number) + " " +
                    std::to_string(head.tool_number));
  }
  void BeginToolList() override { lines.push_back("tools"); }
  void Tool(const ToolEntry& tool) override {
    lines.push_back("tool " + std::to_string(tool.index) + " " + tool.name);
  }
  void EndSection() override { lines.push_back("end"); }
  void Machine(std::string_view mcf_path) override {
    lines.push_back("machine " + std::string(mcf_path));
  }
  void CodeFile(std::string_view file_name) override {
    lines.push_back("code " + std::string(file_name));
  }
  void Jig(const JigSection& jig) override {
    lines.push_back("jig " + std::to_string(jig.use_jig) + " " + Of(jig.frame.origin));
  }
  void PathStart(const zu::PathStart& start) override {
    lines.push_back("path " + start.name + " " + std::to_string(start.tool_index));
  }
  void PathPlacement(const zu::PathPlacement& placement) override {
    lines.push_back("home " + Of(placement.home));
  }
  void DrillKeys(const zu::DrillKeys& keys) override {
    lines.push_back("drill " + std::to_string(keys.drill_mode));
  }
  void Holes(int count) override { lines.push_back("holes " + std::to_string(count)); }
  void Hole(const Vec3& hole) override { lines.push_back("hole " + Of(hole)); }
  void MillKeys(const zu::MillKeys& keys) override {
    lines.push_back("pathtype " + std::to_string(keys.path_type) +
                    (keys.dwell_text ? " dwell " + *keys.dwell_text : std::string()));
  }
  void Block(const zu::Block& block) override {
    switch (block.type) {
      case BlockType::Line:
        lines.push_back(block.end_vector ? "axis " + Of(block.end) + " " + Of(*block.end_vector)
                                         : "line " + Of(block.end));
        break;
      case BlockType::Arc:
        lines.push_back("arc " + Of(block.end) + " " + Of(block.centre) + " " + Of(block.normal));
        break;
      case BlockType::FeedType:
        lines.push_back("feed " + std::to_string(block.code));
        break;
      case BlockType::Compensation:
        lines.push_back("comp " + std::to_string(block.code));
        break;
      case BlockType::Dwell:
        lines.push_back("dwell " + std::to_string(block.code));
        break;
    }
  }
  void Tail() override { lines.push_back("tail"); }
};

}  // namespace zu
