// The writer of the text tool-location file: every record of the stream as
// the file's lines, each ended by '\n' (a text-mode sink stores CR LF), every
// real as "%.20f" writes it (fixed20.h). It buffers and hands the bytes to a
// sink in large pieces.
//
// It writes only what the file's reader takes back (file_reader.h) and
// refuses the rest:
// - a real that is infinite or not a number, which has no "%.20f" text the
//   file may hold;
// - a text holding a line break (CR or LF) or a NUL byte, which would break
//   the line it stands in;
// - a record out of the file's order (record_stream.h), a count that differs
//   from the one announced (tools, path records, holes), a tool index or path
//   record "toolindex" out of sequence, a block code outside its range,
//   "paradwell" in a five-axis record, a line block whose tool axis does not
//   match its record's path type.
// After a refusal it writes nothing more: the sink gets every record before
// the refused one, whole, and nothing of that record or after it; Finish
// reports which field or record it was. The caller removes the incomplete
// file.
#pragma once

#include <memory>
#include <string_view>

#include "format_io/byte_sink.h"
#include "format_io/write_result.h"
#include "toolloc_file/record_stream.h"

namespace zu {

// Where the writer's bytes go, and what became of the file.
using fio::ByteSink;
using fio::WriteResult;

class ToolLocationFileWriter final : public ToolLocationRecords {
 public:
  // The sink must outlive the writer.
  explicit ToolLocationFileWriter(ByteSink& sink);
  // Bytes that Finish has not handed to the sink are dropped.
  ~ToolLocationFileWriter() override;
  ToolLocationFileWriter(const ToolLocationFileWriter&) = delete;
  ToolLocationFileWriter& operator=(const ToolLocationFileWriter&) = delete;

  void Head(const FileHead& head) override;
  void BeginToolList() override;
  // The name's every ',' is written as a blank.
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
  // Writes the fields of the block's type; the others are not looked at.
  void Block(const zu::Block& block) override;
  void Tail() override;

  // Hands what is buffered to the sink; the outcome of the whole file. A
  // file without its "[filetail]" is incomplete and fails too (what there
  // is still goes to the sink). Records after Finish are refused, and a
  // later Finish reports that.
  WriteResult Finish();

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zu
