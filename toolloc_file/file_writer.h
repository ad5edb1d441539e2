// The writer of the text tool-location file: every record of the stream as
// the file's lines, each ended by '\n' (a text-mode sink stores CR LF), every
// real as "%.20f" writes it (fixed20.h). It buffers and hands the bytes to a
// sink in large pieces.
//
// A real that is infinite or not a number has no "%.20f" text the file may
// hold: the writer then refuses it, writes nothing more, and Finish reports
// which field it was. The caller removes the incomplete file.
#pragma once

#include <string>
#include <string_view>

#include "toolloc_file/record_stream.h"

namespace zu {

// Where the writer's bytes go: lines ended by '\n'.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Stores `bytes`; false when they could not be stored.
  virtual bool Write(std::string_view bytes) = 0;
};

// What became of a file.
struct [[nodiscard]] WriteResult {
  bool ok = true;
  std::string error;  // on failure: what could not be written, and why
};

class ToolLocationFileWriter final : public ToolLocationRecords {
 public:
  // The sink must outlive the writer.
  explicit ToolLocationFileWriter(ByteSink& sink);
  ~ToolLocationFileWriter() override;
  ToolLocationFileWriter(const ToolLocationFileWriter&) = delete;
  ToolLocationFileWriter& operator=(const ToolLocationFileWriter&) = delete;

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

  // Hands what is buffered to the sink; the outcome of the whole file.
  WriteResult Finish();

 private:
  class Impl;
  Impl* impl_;
};

}  // namespace zu
