// Hands what the G-code interpreter reads to the plug-in's path builder. The
// interpreter's receiver calls become the builder's operations, with one
// difference of protocol: the builder holds one drilling record per path and
// drops an open path when a drilling path starts, while the interpreter may
// send several drill groups, or moves and drill groups, within one path. So
// the bridge ends the open path (handing it to the document) before a drill
// group when the path holds moves or holes already, and before moves that
// follow holes, and gives each drilling path, and each path it opens
// itself, the tool and spindle speed set before. A tool number (sent at each
// path's start and at a tool change, before the tool's other values) starts
// the tool's values afresh.
#pragma once

#include <optional>
#include <string>

#include "gcode/path_receiver.h"
#include "host/code_reader_receiver.h"

namespace zureader {

class BuilderBridge final : public zu::gcode::PathReceiver {
 public:
  explicit BuilderBridge(CodeReadBackReceiver& builder) : builder_(builder) {}

  void NextPath(int number) override;
  void StartPath() override;
  void EndPath() override;
  void RapidTo(double x, double y, double z) override;
  void FeedTo(double x, double y, double z, int compensation) override;
  void ArcTo(double end_x, double end_y, double end_z, double centre_x, double centre_y,
             double centre_z, double axis_x, double axis_y, double axis_z) override;
  void SetFeedRate(double feed) override { builder_.SetFeedRate(feed); }
  void SetSpindleSpeed(double speed) override;
  // The builder takes a terminated text; the name's bytes go as they are.
  void SetToolName(std::string_view name) override;
  void SetToolInteger1(int number) override;
  void SetToolInteger2(int number) override;
  void SetToolDimension1(double diameter) override;
  void SetToolDimension2(double value) override;
  void SetToolDimension3(double value) override;
  void SetToolDimension5(double value) override;
  void SetToolDimension6(double value) override;
  void SetToolDimension7(double value) override;
  void StartDrillPath(int drill_mode, double safe_distance, double dwell_time, double peck_depth,
                      double hole_depth, double clearance, double work_surface, double drill_feed,
                      double spindle_speed) override;
  void AddDrillPoint(double x, double y, double z) override;
  void FlushDrillPoints() override { builder_.FlushDrillPoints(); }

 private:
  // What was set of the tool and spindle, to be given again to a path the
  // bridge opens itself.
  struct Technology {
    std::optional<std::string> name;
    std::optional<int> integer1, integer2;
    std::optional<double> dimensions[7];  // 1 to 7; 4 is never set
    std::optional<double> spindle_speed;
  };

  // Before a move: a drilling path that is open ends, and a milling path
  // opens in its place.
  void BeforeMove();
  // Ends the open path and opens a milling path with the technology.
  void Reopen();
  void SendTechnology();

  CodeReadBackReceiver& builder_;
  Technology technology_;
  bool drilling_ = false;  // the open path is a drilling path
  bool filled_ = false;    // the open path holds moves or holes
};

}  // namespace zureader
