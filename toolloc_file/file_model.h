// A whole text tool-location file in memory: the model a post processor or a
// test works on. ToolLocationFileBuilder fills one from the record stream
// (as ReadToolLocationFile gives it); SendToolLocationFile replays one as the
// stream (to ToolLocationFileWriter, for instance). Fields are as in
// records.h; comparison is field by field, reals by value.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolloc_file/internal/record_order.h"
#include "toolloc_file/record_stream.h"

namespace zu {

// One path record. The file allows three shapes:
// - drilling: `placement`, `drill_keys` or not, `holes` (perhaps empty);
//   no `mill_keys`, no `blocks`;
// - milling or five-axis: `placement`, `mill_keys`, `blocks` (perhaps none);
//   no `drill_keys`, no `holes`;
// - a five-axis path without rows: `start` alone.
// Any other combination is replayed as it is and refused by the writer.
struct ToolLocationPath {
  zu::PathStart start;
  std::optional<zu::PathPlacement> placement;
  std::optional<zu::DrillKeys> drill_keys;
  std::optional<std::vector<Vec3>> holes;
  std::optional<zu::MillKeys> mill_keys;
  std::vector<zu::Block> blocks;
  friend bool operator==(const ToolLocationPath&, const ToolLocationPath&) = default;
};

struct ToolLocationFile {
  FileHead head;
  std::vector<ToolEntry> tools;  // "[toollist]", one per line
  std::string mcf_path;          // "[machine]"
  std::string code_file;         // "[creategfile]"
  JigSection jig;                // "[jigcoordinate]"
  std::vector<ToolLocationPath> paths;
  friend bool operator==(const ToolLocationFile&, const ToolLocationFile&) = default;
};

// Fills a ToolLocationFile from the record stream. It takes the records in
// the file's order only: the first out of that order, and every one after
// it, is left out, and error() says why.
class ToolLocationFileBuilder final : public ToolLocationRecords {
 public:
  // Empties `file` and fills it; `file` must outlive the builder.
  explicit ToolLocationFileBuilder(ToolLocationFile& file);

  // Empty while every record came in order.
  const std::string& error() const { return error_; }
  // Whether the stream has ended with its Tail, every record in order.
  bool complete() const;

  void Head(const FileHead& head) override;
  void BeginToolList() override;
  void Tool(const ToolEntry& tool) override;
  void EndSection() override;
  void Machine(std::string_view mcf_path) override;
  void CodeFile(std::string_view file_name) override;
  void Jig(const JigSection& jig) override;
  void PathStart(const zu::PathStart& start) override;
  void PathPlacement(const zu::PathPlacement& placement) override;
  void DrillKeys(const zu::DrillKeys& keys) override;
  void Holes(int count) override;
  void Hole(const Vec3& hole) override;
  void MillKeys(const zu::MillKeys& keys) override;
  void Block(const zu::Block& block) override;
  void Tail() override;

 private:
  // Whether the record may be taken; false stops the builder.
  bool Take(bool allowed);

  ToolLocationFile& file_;
  toolloc_internal::RecordOrder order_;
  std::string error_;
};

// Gives `file` to `receiver` record by record, in the file's order.
void SendToolLocationFile(const ToolLocationFile& file, ToolLocationRecords& receiver);

}  // namespace zu
