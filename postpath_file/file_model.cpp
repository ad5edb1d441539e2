#include "postpath_file/file_model.h"

namespace zu::ppf {

PostPathFileBuilder::PostPathFileBuilder(PostPathFile& file) : file_(file) {
  file_ = PostPathFile{};
}

bool PostPathFileBuilder::complete() const {
  return error_.empty() && order_.next() == ppf_internal::Next::Done;
}

bool PostPathFileBuilder::Take(bool allowed) {
  if (!error_.empty())
    return false;
  if (!allowed)
    error_ = order_.error();
  return allowed;
}

void PostPathFileBuilder::Process(const ProcessHead& head) {
  if (Take(order_.Process(head)))
    file_.process = head;
}

void PostPathFileBuilder::MillPath(const PathHead& head, const MillRecord& record) {
  if (Take(order_.MillPath(head)))
    file_.paths.push_back(PostPath{head, record, {}, {}});
}

void PostPathFileBuilder::DrillPath(const PathHead& head, const DrillRecord& record) {
  if (Take(order_.DrillPath(head)))
    file_.paths.push_back(PostPath{head, record, {}, {}});
}

// The order allows holes and blocks only inside a bracket, so file_.paths
// is not empty when they are taken.

void PostPathFileBuilder::Hole(const Vec3& hole) {
  if (Take(order_.Hole()))
    file_.paths.back().holes.push_back(hole);
}

void PostPathFileBuilder::Block(const ppf::Block& block) {
  if (Take(order_.Block(block)))
    file_.paths.back().blocks.push_back(block);
}

void PostPathFileBuilder::EndPath() {
  Take(order_.EndPath());
}

void PostPathFileBuilder::EndProcess() {
  Take(order_.EndProcess());
}

void SendPostPathFile(const PostPathFile& file, PostPathRecords& receiver) {
  receiver.Process(file.process);
  for (const PostPath& path : file.paths) {
    if (const auto* drill = std::get_if<DrillRecord>(&path.record))
      receiver.DrillPath(path.head, *drill);
    else
      receiver.MillPath(path.head, std::get<MillRecord>(path.record));
    for (const Vec3& hole : path.holes)
      receiver.Hole(hole);
    for (const ppf::Block& block : path.blocks)
      receiver.Block(block);
    receiver.EndPath();
  }
  receiver.EndProcess();
}

}  // namespace zu::ppf
