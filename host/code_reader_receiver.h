// What the host's G-code reader drives while it reads a code file: the
// plug-in's path builder (ReadBackPathBuilder) implements this receiver, and
// the reader calls its virtual operations in the order of the code. The
// reader lives in another module and binds to the operations by their place
// in the table: their order must not change.
//
// Points are in the NC system's work coordinates (millimetres), absolute.
#pragma once

class CodeReadBackReceiver {
 public:
  // 1. Opens a milling path unless one is open.
  virtual void StartPath() = 0;
  // 2. Closes the open path and hands it to the host's document (a path
  // without moves stays open).
  virtual void EndPath() = 0;
  // 3. A rapid straight move.
  virtual void RapidTo(double x, double y, double z) = 0;
  // 4. A straight move at feed; `compensation` 0 ends radius compensation, 1
  // starts it on the left, 2 on the right, any other value changes nothing.
  virtual void FeedTo(double x, double y, double z, int compensation) = 0;
  // 5. An arc from where the tool is to (ex, ey, ez) about the centre
  // (cx, cy, cz), counter-clockwise about the axis (nx, ny, nz).
  virtual void ArcTo(double ex, double ey, double ez, double cx, double cy, double cz, double nx,
                     double ny, double nz) = 0;
  // 6. The feed rate of the following feed moves and arcs.
  virtual void SetFeedRate(double feed) = 0;
  // 7. The spindle speed of the open path.
  virtual void SetSpindleSpeed(double speed) = 0;
  // 8. Closes the open path and opens the next one.
  virtual void NextPath(int reserved) = 0;
  // 9 to 19: the open path's tool.
  virtual void SetToolName(const char* name) = 0;
  virtual void SetToolDimension1(double value) = 0;
  virtual void SetToolDimension3(double value) = 0;
  virtual void SetToolDimension6(double value) = 0;
  virtual void SetToolInteger2(int value) = 0;
  virtual void SetToolInteger2Again(int value) = 0;
  virtual void IgnoreToolValue(double value) = 0;
  virtual void SetToolDimension2(double value) = 0;
  virtual void SetToolDimension7(double value) = 0;
  virtual void SetToolDimension5(double value) = 0;
  virtual void SetToolInteger1(int value) = 0;
  // 20. Opens a drilling path with the cycle's values (any open path is
  // dropped).
  virtual void StartDrillPath(int drill_mode, double safe_distance, double dwell_time,
                              double peck_depth, double hole_depth, double clearance,
                              double work_surface, double drill_feed, double spindle_speed) = 0;
  // 21. A hole of the open drilling path.
  virtual void AddDrillPoint(double x, double y, double z) = 0;
  // 22. Stores the holes collected so far in the open path.
  virtual void FlushDrillPoints() = 0;
  // 23.
  virtual ~CodeReadBackReceiver() = default;
};
