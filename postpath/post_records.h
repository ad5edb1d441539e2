// The parameter records and blocks the main road hands to the host's
// post-path writer, made from host paths; and the writer of point-and-axis
// blocks that drops repeats.
#pragma once

#include "host/path_model.h"
#include "host/post_path_writer.h"
#include "pathinput/axis_repeat_filter.h"

namespace zu {

// The tool record of `path`'s tool.
CPostTool ToolRecordOf(const OrvoPath& path);

// The mill record of a milling path: name, type 2, spindle speed, safe and
// approach heights, home point (where the path starts), work system, stock,
// tool, the macro pairs of a kind-90 path, the dwell text of a kind-63 or
// kind-65 path, and the feed list.
CPostPathMill3DPara MillRecordOf(OrvoPath& path);

// The drill record of a drilling path, or false when it has no drilling
// record (nothing is written for it then).
bool DrillRecordOf(OrvoPath& path, CPostPathDrill3DPara& record);

// The ten feed values by feed type: A, -1, -1, D, B, A, B, B, C, -1.
void FillFeedList(const OrvoPath& path, double (&feeds)[10]);

// Writes point-and-axis blocks, dropping one that repeats the last point and
// axis written (both closer than 1e-12). One per file: a file never depends
// on an earlier one.
class AxisBlockWriter {
 public:
  explicit AxisBlockWriter(CPostPathWrite& writer) : writer_(writer) {}
  // Writes (point, axis) with `feed_type` and `mark` unless it repeats the
  // last pair; true when written.
  bool Write(const XYZ& point, const XYZ& axis, int feed_type, int mark);
  // Forgets the last pair (multi-axis paths start afresh).
  void Reset() { filter_.Reset(); }
  CPostPathWrite& writer() { return writer_; }

 private:
  CPostPathWrite& writer_;
  AxisRepeatFilter filter_;
};

}  // namespace zu
