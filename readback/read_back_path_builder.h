// The receiver of the moves the host's G-code reader finds: it builds host
// paths from them (kind 7 milling paths, kind 67 drilling paths) in the
// layout the writers read, converts their points from the NC system's work
// coordinates (the host's current coordinate system) to the document's, and
// hands each finished path to the host's document, which owns it from then
// on. One builder serves one reading.
#pragma once

#include <vector>

#include "host/code_reader_receiver.h"
#include "host/path_model.h"

namespace zu {

class ReadBackPathBuilder final : public CodeReadBackReceiver {
 public:
  ReadBackPathBuilder() = default;
  // A path still open is dropped, as are moves not handed over yet.
  ~ReadBackPathBuilder() override;
  ReadBackPathBuilder(const ReadBackPathBuilder&) = delete;
  ReadBackPathBuilder& operator=(const ReadBackPathBuilder&) = delete;

  void StartPath() override;
  void EndPath() override;
  void RapidTo(double x, double y, double z) override;
  void FeedTo(double x, double y, double z, int compensation) override;
  void ArcTo(double ex, double ey, double ez, double cx, double cy, double cz, double nx, double ny,
             double nz) override;
  void SetFeedRate(double feed) override;
  void SetSpindleSpeed(double speed) override;
  void NextPath(int reserved) override;
  void SetToolName(const char* name) override;
  void SetToolDimension1(double value) override;
  void SetToolDimension3(double value) override;
  void SetToolDimension6(double value) override;
  void SetToolInteger2(int value) override;
  void SetToolInteger2Again(int value) override;
  void IgnoreToolValue(double value) override;
  void SetToolDimension2(double value) override;
  void SetToolDimension7(double value) override;
  void SetToolDimension5(double value) override;
  void SetToolInteger1(int value) override;
  void StartDrillPath(int drill_mode, double safe_distance, double dwell_time, double peck_depth,
                      double hole_depth, double clearance, double work_surface, double drill_feed,
                      double spindle_speed) override;
  void AddDrillPoint(double x, double y, double z) override;
  void FlushDrillPoints() override;

  // For tests: the open path (null when none), its moves not handed over
  // yet, where the tool is.
  const OrvoPath* open_path() const { return open_path_; }
  const tool_block* moves() const { return row_head_; }
  XYZ current_point() const { return current_; }

 private:
  // Appends a line to `target` at `kind`; false when none was made.
  bool AddLine(const XYZ& target, int kind, bool rapid);
  // Hands the open milling path to the document and goes on in a new one
  // with the same tool, spindle speed and compensation, from where the tool is.
  void ContinueInNewPath();
  void Append(tool_block* move);
  // Segment kind of feed-table entry `index`.
  static int KindOfEntry(int index);

  tool_block* row_tail_ = nullptr;
  tool_block* row_head_ = nullptr;
  XYZ current_{0, 0, 100};
  bool first_point_pending_ = true;
  OrvoPath* open_path_ = nullptr;
  double feed_table_[4] = {};
  int feed_count_ = -1;
  // Feed moves before any feed rate are feed moves all the same: entry 0's.
  int feed_kind_ = 2;
  bool compensation_on_ = false;       // the last compensation mark started it
  bool compensation_restart_ = false;  // the next feed move starts it again
  std::vector<XYZ> holes_;
};

}  // namespace zu
