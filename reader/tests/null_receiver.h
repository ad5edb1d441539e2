// A receiver of the interpreter's calls that keeps nothing: for tests that
// look only at what the reading reports.
#pragma once

#include <string_view>

#include "gcode/path_receiver.h"

namespace zureader {

class NullReceiver final : public zu::gcode::PathReceiver {
 public:
  void NextPath(int) override {}
  void StartPath() override {}
  void EndPath() override {}
  void RapidTo(double, double, double) override {}
  void FeedTo(double, double, double, int) override {}
  void ArcTo(double, double, double, double, double, double, double, double, double) override {}
  void SetFeedRate(double) override {}
  void SetSpindleSpeed(double) override {}
  void SetToolName(std::string_view) override {}
  void SetToolInteger1(int) override {}
  void SetToolInteger2(int) override {}
  void SetToolDimension1(double) override {}
  void SetToolDimension2(double) override {}
  void SetToolDimension3(double) override {}
  void SetToolDimension5(double) override {}
  void SetToolDimension6(double) override {}
  void SetToolDimension7(double) override {}
  void StartDrillPath(int, double, double, double, double, double, double, double,
                      double) override {}
  void AddDrillPoint(double, double, double) override {}
  void FlushDrillPoints() override {}
};

}  // namespace zureader
