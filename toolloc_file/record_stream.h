// The text tool-location file as a stream of records, in file order. The
// writer takes the stream and writes the file; the reader reads a file and
// gives the stream to any receiver (the writer itself, a model of the whole
// file, a post processor), so that one grammar serves both directions.
//
// The order the file allows:
//   Head, BeginToolList, Tool*, EndSection, Machine, CodeFile, Jig,
//   record*, Tail
// where a record is one of
//   PathStart, PathPlacement, [DrillKeys], Holes, Hole*, EndSection
//   PathStart, PathPlacement, MillKeys, Block*
//   PathStart, EndSection      (a five-axis path without rows)
#pragma once

#include <string_view>

#include "toolloc_file/records.h"

namespace zu {

class ToolLocationRecords {
 public:
  virtual ~ToolLocationRecords() = default;

  virtual void Head(const FileHead& head) = 0;
  virtual void BeginToolList() = 0;
  virtual void Tool(const ToolEntry& tool) = 0;
  // "[endsect]" of the tool list, of a drilling record (after its holes) and
  // of a five-axis record without rows.
  virtual void EndSection() = 0;
  // "[machine]" with the machine configuration file's path.
  virtual void Machine(std::string_view mcf_path) = 0;
  // "[creategfile]" with the code file's path.
  virtual void CodeFile(std::string_view file_name) = 0;
  virtual void Jig(const JigSection& jig) = 0;

  virtual void PathStart(const zu::PathStart& start) = 0;
  virtual void PathPlacement(const zu::PathPlacement& placement) = 0;
  virtual void DrillKeys(const zu::DrillKeys& keys) = 0;
  // "pointnumber": `count` holes follow.
  virtual void Holes(int count) = 0;
  virtual void Hole(const Vec3& hole) = 0;
  // "pathtype 2" or "pathtype 5", the mill keys and the record's "[endsect]".
  virtual void MillKeys(const zu::MillKeys& keys) = 0;
  virtual void Block(const zu::Block& block) = 0;

  // "[filetail]".
  virtual void Tail() = 0;
};

}  // namespace zu
