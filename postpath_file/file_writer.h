// The writer of the post-path file: every record of the stream as APT CL
// source statements and PPRINT/ZU records (docs/post-path-file.md), each
// line ended by '\n' (a text-mode sink stores CR LF, which is what the file
// holds), every real in the shortest fixed-point text that reads back as
// the same double. It buffers and hands the bytes to a sink in large
// pieces.
//
// It writes only what the file's reader takes back (file_reader.h) and
// refuses the rest:
// - a real that is infinite or not a number, and an arc whose radius is
//   too large for a double;
// - a text holding CR, LF or a NUL byte;
// - a record out of the file's order (record_stream.h), a drilling record
//   in a bracket of another path type or a milling record in a drilling
//   bracket, a path type outside 1 to 4, a block whose codes are out of
//   range (kind 1 or 2, feed type 0 to 9, compensation 0 to 2, dwell -1 to
//   2, position mark 0 to 2), an arc without a normal or with a zero one.
// After a refusal it writes nothing more: the sink gets every record before
// the refused one, whole, and nothing of that record or after it; Finish
// reports which field or record it was. The caller removes the incomplete
// file.
#pragma once

#include <memory>
#include <string>

#include "format_io/byte_sink.h"
#include "format_io/write_result.h"
#include "postpath_file/record_stream.h"

namespace zu::ppf {

// Where the writer's bytes go, and what became of the file.
using fio::ByteSink;
using fio::WriteResult;

class PostPathFileWriter final : public PostPathRecords {
 public:
  // The sink must outlive the writer.
  explicit PostPathFileWriter(ByteSink& sink);
  // Bytes that Finish has not handed to the sink are dropped.
  ~PostPathFileWriter() override;
  PostPathFileWriter(const PostPathFileWriter&) = delete;
  PostPathFileWriter& operator=(const PostPathFileWriter&) = delete;

  void Process(const ProcessHead& head) override;
  void MillPath(const PathHead& head, const MillRecord& record) override;
  void DrillPath(const PathHead& head, const DrillRecord& record) override;
  void Hole(const Vec3& hole) override;
  // Writes the fields of the block's kind; the others are not looked at.
  void Block(const ppf::Block& block) override;
  void EndPath() override;
  void EndProcess() override;

  // Whether every record so far was taken (and every byte handed over was
  // stored); error() says why not.
  bool ok() const;
  const std::string& error() const;

  // Hands what is buffered to the sink; the outcome of the whole file. A
  // file without its end of process is incomplete and fails too (what
  // there is still goes to the sink). Records after Finish are refused, and
  // a later Finish reports that.
  WriteResult Finish();

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zu::ppf
