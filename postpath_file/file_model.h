// A whole post-path file in memory: the model a post processor or a test
// works on. PostPathFileBuilder fills one from the record stream (as
// ReadPostPathFile gives it); SendPostPathFile replays one as the stream (to
// PostPathFileWriter, for instance). Fields are as in records.h; comparison
// is field by field, reals by value.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "postpath_file/internal/record_order.h"
#include "postpath_file/record_stream.h"

namespace zu::ppf {

// One bracket: its head, its record, and its holes (drilling) or blocks
// (the others). Shapes the file does not allow (holes after a milling
// record, a drilling record in a bracket of another type) are replayed as
// they are and refused by the writer.
struct PostPath {
  PathHead head;
  std::variant<MillRecord, DrillRecord> record;
  std::vector<Vec3> holes;
  std::vector<ppf::Block> blocks;
  friend bool operator==(const PostPath&, const PostPath&) = default;
};

struct PostPathFile {
  ProcessHead process;
  std::vector<PostPath> paths;
  friend bool operator==(const PostPathFile&, const PostPathFile&) = default;
};

// Fills a PostPathFile from the record stream. It takes the records in the
// file's order only: the first out of that order, and every one after it,
// is left out, and error() says why.
class PostPathFileBuilder final : public PostPathRecords {
 public:
  // Empties `file` and fills it; `file` must outlive the builder.
  explicit PostPathFileBuilder(PostPathFile& file);

  // Empty while every record came in order.
  const std::string& error() const { return error_; }
  // Whether the stream has ended with its EndProcess, every record in order.
  bool complete() const;

  void Process(const ProcessHead& head) override;
  void MillPath(const PathHead& head, const MillRecord& record) override;
  void DrillPath(const PathHead& head, const DrillRecord& record) override;
  void Hole(const Vec3& hole) override;
  void Block(const ppf::Block& block) override;
  void EndPath() override;
  void EndProcess() override;

 private:
  // Whether the record may be taken; false stops the builder.
  bool Take(bool allowed);

  PostPathFile& file_;
  ppf_internal::RecordOrder order_;
  std::string error_;
};

// Gives `file` to `receiver` record by record, in the file's order.
void SendPostPathFile(const PostPathFile& file, PostPathRecords& receiver);

}  // namespace zu::ppf
