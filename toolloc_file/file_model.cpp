#include "toolloc_file/file_model.h"

#include <algorithm>

namespace zu {

ToolLocationFileBuilder::ToolLocationFileBuilder(ToolLocationFile& file) : file_(file) {
  file_ = ToolLocationFile{};
}

bool ToolLocationFileBuilder::complete() const {
  return error_.empty() && order_.next() == toolloc_internal::Next::Done;
}

bool ToolLocationFileBuilder::Take(bool allowed) {
  if (!error_.empty())
    return false;
  if (!allowed)
    error_ = order_.error();
  return allowed;
}

void ToolLocationFileBuilder::Head(const FileHead& head) {
  if (Take(order_.Head(head)))
    file_.head = head;
}

void ToolLocationFileBuilder::BeginToolList() {
  Take(order_.BeginToolList());
}

void ToolLocationFileBuilder::Tool(const ToolEntry& tool) {
  if (Take(order_.Tool(tool)))
    file_.tools.push_back(tool);
}

void ToolLocationFileBuilder::EndSection() {
  Take(order_.EndSection());
}

void ToolLocationFileBuilder::Machine(std::string_view mcf_path) {
  if (Take(order_.Machine()))
    file_.mcf_path = mcf_path;
}

void ToolLocationFileBuilder::CodeFile(std::string_view file_name) {
  if (Take(order_.CodeFile()))
    file_.code_file = file_name;
}

void ToolLocationFileBuilder::Jig(const JigSection& jig) {
  if (Take(order_.Jig()))
    file_.jig = jig;
}

void ToolLocationFileBuilder::PathStart(const zu::PathStart& start) {
  if (Take(order_.PathStart(start)))
    file_.paths.push_back(ToolLocationPath{start, {}, {}, {}, {}, {}});
}

// The order allows the records below only inside a path record, so
// file_.paths is not empty when they are taken.

void ToolLocationFileBuilder::PathPlacement(const zu::PathPlacement& placement) {
  if (Take(order_.PathPlacement()))
    file_.paths.back().placement = placement;
}

void ToolLocationFileBuilder::DrillKeys(const zu::DrillKeys& keys) {
  if (Take(order_.DrillKeys()))
    file_.paths.back().drill_keys = keys;
}

void ToolLocationFileBuilder::Holes(int count) {
  if (!Take(order_.Holes(count)))
    return;
  auto& holes = file_.paths.back().holes.emplace();
  // The count comes from the file: room for a modest number at first.
  holes.reserve(static_cast<std::size_t>(std::min(count, 4096)));
}

void ToolLocationFileBuilder::Hole(const Vec3& hole) {
  if (Take(order_.Hole()))
    file_.paths.back().holes->push_back(hole);
}

void ToolLocationFileBuilder::MillKeys(const zu::MillKeys& keys) {
  if (Take(order_.MillKeys(keys)))
    file_.paths.back().mill_keys = keys;
}

void ToolLocationFileBuilder::Block(const zu::Block& block) {
  if (Take(order_.Block(block)))
    file_.paths.back().blocks.push_back(block);
}

void ToolLocationFileBuilder::Tail() {
  Take(order_.Tail());
}

void SendToolLocationFile(const ToolLocationFile& file, ToolLocationRecords& receiver) {
  receiver.Head(file.head);
  receiver.BeginToolList();
  for (const ToolEntry& tool : file.tools)
    receiver.Tool(tool);
  receiver.EndSection();
  receiver.Machine(file.mcf_path);
  receiver.CodeFile(file.code_file);
  receiver.Jig(file.jig);
  for (const ToolLocationPath& path : file.paths) {
    receiver.PathStart(path.start);
    if (path.placement)
      receiver.PathPlacement(*path.placement);
    if (path.drill_keys)
      receiver.DrillKeys(*path.drill_keys);
    if (path.holes) {
      receiver.Holes(static_cast<int>(path.holes->size()));
      for (const Vec3& hole : *path.holes)
        receiver.Hole(hole);
      receiver.EndSection();
    }
    if (path.mill_keys)
      receiver.MillKeys(*path.mill_keys);
    for (const zu::Block& block : path.blocks)
      receiver.Block(block);
    // A record with neither holes nor mill keys closes right away: the
    // five-axis record without rows.
    if (!path.holes && !path.mill_keys)
      receiver.EndSection();
  }
  receiver.Tail();
}

}  // namespace zu
