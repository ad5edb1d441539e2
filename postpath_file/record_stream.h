// The post-path file as a stream of records, in file order. The writer
// takes the stream and writes the file; the reader reads a file and gives
// the stream to any receiver (the writer itself, a model of the whole file,
// a post processor), so that one grammar serves both directions.
//
// The order the file allows:
//   Process, bracket*, EndProcess
// where a bracket is one of
//   MillPath, Block*, EndPath     (path types 2, 3 and 4)
//   DrillPath, Hole*, EndPath     (path type 1)
#pragma once

#include "postpath_file/records.h"

namespace zu::ppf {

class PostPathRecords {
 public:
  virtual ~PostPathRecords() = default;

  // The start of the process: the file's first record.
  virtual void Process(const ProcessHead& head) = 0;
  // Opens a bracket of a milling, multi-axis or five-axis path.
  virtual void MillPath(const PathHead& head, const MillRecord& record) = 0;
  // Opens a bracket of a drilling path.
  virtual void DrillPath(const PathHead& head, const DrillRecord& record) = 0;
  // A hole of the open drilling bracket.
  virtual void Hole(const Vec3& hole) = 0;
  // A move of the open milling bracket.
  virtual void Block(const ppf::Block& block) = 0;
  virtual void EndPath() = 0;
  // The end of the process: the file's last record.
  virtual void EndProcess() = 0;
};

}  // namespace zu::ppf
