#include "postmodule/post_path_report.h"

#include <string>
#include <vector>

#include "postpath_file/file_reader.h"

namespace postmodule {
namespace {

namespace ppf = zu::ppf;

const char* PathTypeName(int type) {
  switch (type) {
    case ppf::kPathDrill:
      return "drilling";
    case ppf::kPathMill:
      return "milling";
    case ppf::kPathMultiAxis:
      return "multi-axis";
    default:
      return "five-axis";
  }
}

struct BracketSummary {
  std::string name;
  int type = ppf::kPathMill;
  int holes = 0;
  int lines = 0;
  int axis_lines = 0;  // straight moves with a tool axis
  int arcs = 0;
  std::vector<int> feed_types;  // as they first come
  int compensation_changes = 0;
  int dwells = 0;
  int marks = 0;
  int compensation = ppf::kCompensationOff;  // in force
};

// Counts what the reader hands over.
class Summary final : public ppf::PostPathRecords {
 public:
  std::string process_name;
  std::vector<BracketSummary> brackets;
  PointBox box;

  void Process(const ppf::ProcessHead& head) override { process_name = head.process_name; }
  void MillPath(const ppf::PathHead& head, const ppf::MillRecord&) override { Open(head); }
  void DrillPath(const ppf::PathHead& head, const ppf::DrillRecord&) override { Open(head); }
  void Hole(const ppf::Vec3& hole) override {
    ++brackets.back().holes;
    box.Add(hole.x, hole.y, hole.z);
  }
  void Block(const ppf::Block& block) override {
    BracketSummary& b = brackets.back();
    if (block.kind == ppf::kBlockArc) {
      ++b.arcs;
    } else {
      ++b.lines;
      b.axis_lines += block.has_vector ? 1 : 0;
    }
    bool known = false;
    for (int type : b.feed_types)
      known = known || type == block.feed_type;
    if (!known)
      b.feed_types.push_back(block.feed_type);
    if (block.compensation != b.compensation) {
      ++b.compensation_changes;
      b.compensation = block.compensation;
    }
    b.dwells += block.dwell != ppf::kNoDwell ? 1 : 0;
    b.marks += block.position_mark != ppf::kMarkNone ? 1 : 0;
    box.Add(block.end.x, block.end.y, block.end.z);
  }
  void EndPath() override {}
  void EndProcess() override {}

 private:
  void Open(const ppf::PathHead& head) {
    brackets.emplace_back();
    brackets.back().name = head.name;
    brackets.back().type = head.type;
  }
};

std::string BracketLine(int number, const BracketSummary& b) {
  if (b.type == ppf::kPathDrill) {
    return ReportLine("(bracket %d \"%s\": drilling, %d holes)", number, b.name.c_str(), b.holes);
  }
  std::string feed_types;
  for (int type : b.feed_types)
    feed_types += (feed_types.empty() ? "" : ", ") + std::to_string(type);
  return ReportLine(
      "(bracket %d \"%s\": %s, %d blocks: %d straight moves (%d with a tool axis), %d arcs; "
      "feed types %s; %d compensation changes, %d dwells, %d marked moves)",
      number, b.name.c_str(), PathTypeName(b.type), b.lines + b.arcs, b.lines, b.axis_lines, b.arcs,
      feed_types.empty() ? "none" : feed_types.c_str(), b.compensation_changes, b.dwells, b.marks);
}

}  // namespace

Report ReportPostPathFile(std::string_view post_path, std::string_view source,
                          std::string_view machine_file) {
  Summary summary;
  Report report =
      StartReport(ppf::ReadPostPathFile(post_path, summary), "post-path", source, machine_file);
  if (!report.ok)
    return report;
  std::string& out = report.text;
  out += ReportLine("(process: %s)", summary.process_name.c_str());
  out += ReportLine("(%d brackets)", static_cast<int>(summary.brackets.size()));
  for (std::size_t i = 0; i < summary.brackets.size(); ++i)
    out += BracketLine(static_cast<int>(i + 1), summary.brackets[i]);
  out += summary.box.Line();
  return report;
}

}  // namespace postmodule
