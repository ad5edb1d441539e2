// A PathReceiver that checks the order of the calls path_receiver.h
// promises: paths numbered from 1 and opened by NextPath then StartPath,
// nothing but those outside a path, holes only inside a drill group, every
// group flushed and every path closed, finite numbers and unit axes. Given
// to ReadProgram as the MultiAxisReceiver too (`axes` set), it checks that
// each move, and no other call, comes right after one AxesOfNextMove with
// finite values and a unit tool vector. The first breach is kept in `fault`.
#pragma once

#include <cmath>
#include <string>
#include <string_view>

#include "gcode/multi_axis_receiver.h"
#include "gcode/path_receiver.h"

namespace zu::gcode::testing {

class ProtocolChecker : public PathReceiver, public MultiAxisReceiver {
 public:
  std::string fault;
  int paths = 0;
  long calls = 0;
  bool axes = false;  // expect AxesOfNextMove before each move

  void AxesOfNextMove(const AxisState& state) override {
    if (!axes || axes_pending_)
      Fault("AxesOfNextMove out of order");
    axes_pending_ = true;
    Finite("AxesOfNextMove", state.rotary[0], state.rotary[1], state.rotary[2]);
    Finite("AxesOfNextMove", state.vector[0], state.vector[1], state.vector[2]);
    Finite("AxesOfNextMove", state.inverse_time, 0, 0);
    const double length =
        std::sqrt(state.vector[0] * state.vector[0] + state.vector[1] * state.vector[1] +
                  state.vector[2] * state.vector[2]);
    if (state.rotary_known > 7 || state.inverse_time < 0 ||
        (state.has_vector && std::fabs(length - 1) > 1e-9))
      Fault("AxesOfNextMove with a value out of range");
  }

  // After the read: whether everything was closed.
  bool Closed() {
    if (open_ || announced_)
      Fault("a path is left open");
    return fault.empty();
  }

  void NextPath(int number) override {
    if (open_ || announced_ || number != paths + 1)
      Fault("NextPath(" + std::to_string(number) + ") out of order");
    paths = number;
    announced_ = true;
  }
  void StartPath() override {
    if (!announced_)
      Fault("StartPath without NextPath");
    announced_ = false;
    open_ = true;
  }
  void EndPath() override {
    Inside("EndPath");
    if (group_)
      Fault("EndPath with a drill group open");
    open_ = false;
  }
  void RapidTo(double x, double y, double z) override { Move("RapidTo", x, y, z); }
  void FeedTo(double x, double y, double z, int compensation) override {
    Move("FeedTo", x, y, z);
    if (compensation < kUnchanged || compensation > kCompensationRight)
      Fault("FeedTo with compensation " + std::to_string(compensation));
  }
  void ArcTo(double ex, double ey, double ez, double cx, double cy, double cz, double ax, double ay,
             double az) override {
    Move("ArcTo", ex, ey, ez);
    Finite("ArcTo", cx, cy, cz);
    if (std::fabs(std::sqrt(ax * ax + ay * ay + az * az) - 1) > 1e-9)
      Fault("ArcTo with an axis that is not a unit vector");
  }
  void SetFeedRate(double feed) override { Value("SetFeedRate", feed); }
  void SetSpindleSpeed(double speed) override { Value("SetSpindleSpeed", speed); }
  void SetToolName(std::string_view) override { Inside("SetToolName"); }
  void SetToolInteger1(int) override { Inside("SetToolInteger1"); }
  void SetToolInteger2(int) override { Inside("SetToolInteger2"); }
  void SetToolDimension1(double value) override { Value("SetToolDimension1", value); }
  void SetToolDimension2(double value) override { Value("SetToolDimension2", value); }
  void SetToolDimension3(double value) override { Value("SetToolDimension3", value); }
  void SetToolDimension5(double value) override { Value("SetToolDimension5", value); }
  void SetToolDimension6(double value) override { Value("SetToolDimension6", value); }
  void SetToolDimension7(double value) override { Value("SetToolDimension7", value); }
  void StartDrillPath(int mode, double safe, double dwell, double peck, double depth,
                      double clearance, double surface, double feed, double speed) override {
    Inside("StartDrillPath");
    if (group_)
      Fault("StartDrillPath with a group open");
    if (mode != 81 && mode != 82 && mode != 83 && mode != 73 && mode != 84 && mode != 85 &&
        mode != 86 && mode != 89)
      Fault("StartDrillPath with mode " + std::to_string(mode));
    Finite("StartDrillPath", safe, dwell, peck);
    Finite("StartDrillPath", depth, clearance, surface);
    Finite("StartDrillPath", feed, speed, 0);
    if (safe < 0 || dwell < 0 || peck < 0 || !(depth > 0) || feed < 0 || speed < 0)
      Fault("StartDrillPath with a value out of range");
    group_ = true;
  }
  void AddDrillPoint(double x, double y, double z) override {
    Move("AddDrillPoint", x, y, z);
    if (!group_)
      Fault("AddDrillPoint outside a group");
  }
  void FlushDrillPoints() override {
    Inside("FlushDrillPoints");
    if (!group_)
      Fault("FlushDrillPoints without a group");
    group_ = false;
  }

 private:
  void Fault(std::string text) {
    if (fault.empty())
      fault = std::move(text) + " (call " + std::to_string(calls) + ")";
  }
  void Inside(const char* call) {
    ++calls;
    if (!open_)
      Fault(std::string(call) + " outside a path");
    const std::string_view name(call);
    const bool move = name == "RapidTo" || name == "FeedTo" || name == "ArcTo";
    if (axes && move != axes_pending_)
      Fault(std::string(call) + (move ? " without" : " after") + " AxesOfNextMove");
    axes_pending_ = false;
  }
  void Finite(const char* call, double a, double b, double c) {
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c))
      Fault(std::string(call) + " with a number that is not finite");
  }
  void Move(const char* call, double x, double y, double z) {
    Inside(call);
    Finite(call, x, y, z);
  }
  void Value(const char* call, double value) {
    Inside(call);
    Finite(call, value, 0, 0);
    if (value < 0)
      Fault(std::string(call) + " with a negative value");
  }

  bool axes_pending_ = false;
  bool announced_ = false;
  bool open_ = false;
  bool group_ = false;
};

}  // namespace zu::gcode::testing
