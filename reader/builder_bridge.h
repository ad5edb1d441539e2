// Hands what the G-code interpreter reads to the plug-in's path builder: the
// interpreter's receiver calls become the builder's operations, one for one.
#pragma once

#include <string>

#include "gcode/path_receiver.h"
#include "host/code_reader_receiver.h"

namespace zureader {

class BuilderBridge final : public zu::gcode::PathReceiver {
 public:
  explicit BuilderBridge(CodeReadBackReceiver& builder) : builder_(builder) {}

  void NextPath(int number) override { builder_.NextPath(number); }
  void StartPath() override { builder_.StartPath(); }
  void EndPath() override { builder_.EndPath(); }
  void RapidTo(double x, double y, double z) override { builder_.RapidTo(x, y, z); }
  void FeedTo(double x, double y, double z, int compensation) override;
  void ArcTo(double end_x, double end_y, double end_z, double centre_x, double centre_y,
             double centre_z, double axis_x, double axis_y, double axis_z) override {
    builder_.ArcTo(end_x, end_y, end_z, centre_x, centre_y, centre_z, axis_x, axis_y, axis_z);
  }
  void SetFeedRate(double feed) override { builder_.SetFeedRate(feed); }
  void SetSpindleSpeed(double speed) override { builder_.SetSpindleSpeed(speed); }
  // The builder takes a terminated text; the name's bytes go as they are.
  void SetToolName(std::string_view name) override;
  void SetToolInteger1(int number) override { builder_.SetToolInteger1(number); }
  void SetToolInteger2(int number) override { builder_.SetToolInteger2(number); }
  void SetToolDimension1(double diameter) override { builder_.SetToolDimension1(diameter); }
  void SetToolDimension2(double value) override { builder_.SetToolDimension2(value); }
  void SetToolDimension3(double value) override { builder_.SetToolDimension3(value); }
  void SetToolDimension5(double value) override { builder_.SetToolDimension5(value); }
  void SetToolDimension6(double value) override { builder_.SetToolDimension6(value); }
  void SetToolDimension7(double value) override { builder_.SetToolDimension7(value); }
  void StartDrillPath(int drill_mode, double safe_distance, double dwell_time, double peck_depth,
                      double hole_depth, double clearance, double work_surface, double drill_feed,
                      double spindle_speed) override {
    builder_.StartDrillPath(drill_mode, safe_distance, dwell_time, peck_depth, hole_depth,
                            clearance, work_surface, drill_feed, spindle_speed);
  }
  void AddDrillPoint(double x, double y, double z) override { builder_.AddDrillPoint(x, y, z); }
  void FlushDrillPoints() override { builder_.FlushDrillPoints(); }

 private:
  CodeReadBackReceiver& builder_;
  std::string name_;
};

}  // namespace zureader
