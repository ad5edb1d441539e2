// The bridge between the interpreter and the plug-in's path builder: a
// program read by a sample NC system reaches the builder's operations in
// the order of the code, every value as the interpreter gave it.
#include "reader/builder_bridge.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "gcode/interpreter.h"
#include "gcode/nc_system.h"

namespace zureader {
namespace {

using ::testing::ElementsAre;

// A builder that writes each operation as a line.
class RecordingBuilder final : public CodeReadBackReceiver {
 public:
  std::vector<std::string> calls;

  void StartPath() override { calls.push_back("start"); }
  void EndPath() override { calls.push_back("end"); }
  void RapidTo(double x, double y, double z) override { Add("rapid %g %g %g", x, y, z); }
  void FeedTo(double x, double y, double z, int c) override {
    Add("feed %g %g %g c%d", x, y, z, c);
  }
  void ArcTo(double ex, double ey, double ez, double cx, double cy, double cz, double nx, double ny,
             double nz) override {
    Add("arc %g %g %g about %g %g %g axis %g %g %g", ex, ey, ez, cx, cy, cz, nx, ny, nz);
  }
  void SetFeedRate(double feed) override { Add("feedrate %g", feed); }
  void SetSpindleSpeed(double speed) override { Add("spindle %g", speed); }
  void NextPath(int n) override { Add("next %d", n); }
  void SetToolName(const char* name) override { calls.push_back(std::string("name ") + name); }
  void SetToolDimension1(double v) override { Add("dim1 %g", v); }
  void SetToolDimension3(double v) override { Add("dim3 %g", v); }
  void SetToolDimension6(double v) override { Add("dim6 %g", v); }
  void SetToolInteger2(int v) override { Add("int2 %d", v); }
  void SetToolInteger2Again(int v) override { Add("int2 again %d", v); }
  void IgnoreToolValue(double v) override { Add("ignored %g", v); }
  void SetToolDimension2(double v) override { Add("dim2 %g", v); }
  void SetToolDimension7(double v) override { Add("dim7 %g", v); }
  void SetToolDimension5(double v) override { Add("dim5 %g", v); }
  void SetToolInteger1(int v) override { Add("int1 %d", v); }
  void StartDrillPath(int mode, double safe, double dwell, double peck, double depth,
                      double clearance, double surface, double feed, double speed) override {
    Add("drill %d %g %g %g %g %g %g %g %g", mode, safe, dwell, peck, depth, clearance, surface,
        feed, speed);
  }
  void AddDrillPoint(double x, double y, double z) override { Add("hole %g %g %g", x, y, z); }
  void FlushDrillPoints() override { calls.push_back("flush"); }

 private:
  template <typename... Args>
  void Add(const char* format, Args... args) {
    char text[200];
    std::snprintf(text, sizeof text, format, args...);
    calls.emplace_back(text);
  }
};

const zu::gcode::NcSystem& Fanuc() {
  static const zu::gcode::NcSystem system = [] {
    auto load = zu::gcode::LoadNcSystemFile(std::string(ZU_SOURCE_DIR) +
                                            "/postmodule/ncsystems/FANUC-0i.xml");
    EXPECT_TRUE(load.ok) << load.error;
    return std::move(load.system);
  }();
  return system;
}

// Reads the FANUC-0i `program` through a bridge into `builder`; it must read
// without an error.
void ReadThroughBridge(const std::string& program, RecordingBuilder& builder) {
  zu::gcode::TextLineSource source(program);
  BuilderBridge bridge(builder);
  const auto read = zu::gcode::ReadProgram(Fanuc(), source, bridge);
  ASSERT_TRUE(read.ok()) << (read.errors.empty() ? "" : read.errors[0].message);
}

TEST(BuilderBridge, AProgramReachesTheBuilderInTheOrderOfTheCode) {
  const std::string program =
      "%\nO1000\nG21 G17 G40 G90 G54\nT3 M6\nS2000 M3\nG0 X0. Y0. Z10.\nG1 Z-1. F300.\n"
      "G41 D3 X10. Y0.\nG3 X0. Y10. I-10. J0.\nG40 G1 X0. Y0.\n"
      "G98 G81 X20. Y20. Z-5. R2. F100.\nX30.\nG80\nM30\n%\n";
  RecordingBuilder builder;
  ASSERT_NO_FATAL_FAILURE(ReadThroughBridge(program, builder));
  EXPECT_THAT(builder.calls,
              ElementsAre("next 1", "start", "int1 3", "feedrate 300", "spindle 2000",
                          "rapid 0 0 10", "feed 0 0 -1 c0", "int2 3", "feed 10 0 -1 c1",
                          "arc 0 10 -1 about 0 0 -1 axis 0 0 1", "feed 0 0 -1 c0", "end", "next 2",
                          "start", "int1 3", "int2 3", "feedrate 100", "spindle 2000",
                          "drill 81 0 0 0 7 -1 2 100 2000", "int1 3", "int2 3", "spindle 2000",
                          "hole 20 20 -5", "hole 30 20 -5", "flush", "end"));
}

// The builder keeps one drilling record per path and drops the open path
// when a drilling path starts: each drill group after moves or holes gets a
// path of its own, and moves after holes a milling path again, each with the
// tool and spindle speed.
TEST(BuilderBridge, DrillGroupsAndMovesOfOnePathBecomePathsOfTheirOwn) {
  RecordingBuilder builder;
  BuilderBridge bridge(builder);
  bridge.NextPath(1);
  bridge.StartPath();
  bridge.SetToolInteger1(4);
  bridge.SetSpindleSpeed(900);
  bridge.FeedTo(1, 0, 0, 0);
  bridge.StartDrillPath(81, 0, 0, 0, 5, 10, 2, 100, 900);
  bridge.AddDrillPoint(1, 1, -3);
  bridge.FlushDrillPoints();
  bridge.StartDrillPath(83, 0, 0, 1, 5, 2, 2, 100, 900);
  bridge.AddDrillPoint(2, 2, -3);
  bridge.FlushDrillPoints();
  bridge.RapidTo(0, 0, 20);
  bridge.EndPath();
  EXPECT_THAT(
      builder.calls,
      ElementsAre("next 1", "start", "int1 4", "spindle 900", "feed 1 0 0 c0", "end",
                  "drill 81 0 0 0 5 10 2 100 900", "int1 4", "spindle 900", "hole 1 1 -3", "flush",
                  "end", "drill 83 0 0 1 5 2 2 100 900", "int1 4", "spindle 900", "hole 2 2 -3",
                  "flush", "end", "start", "int1 4", "spindle 900", "rapid 0 0 20", "end"));
}

// A tool change starts the tool's data afresh: a drilling path after it has
// the new tool's number and name, and none of the old tool's D and diameter.
TEST(BuilderBridge, ADrillAfterAToolChangeHasNoneOfTheOldToolsData) {
  const std::string program =
      "T2 M6 (END MILL D10)\nG10 L12 P2 R5.\nS6000 M3\nG0 X0. Y0. Z5.\nG41 D2 G1 X10. F200.\n"
      "G40 G0 Z50.\nT3 M6 (DRILL D8.5)\nS1800 M3\nG99 G81 X15. Y15. Z-12. R2. F150.\nG80\nM30\n";
  RecordingBuilder builder;
  ASSERT_NO_FATAL_FAILURE(ReadThroughBridge(program, builder));
  const auto drill =
      std::find_if(builder.calls.begin(), builder.calls.end(),
                   [](const std::string& call) { return call.starts_with("drill"); });
  ASSERT_NE(drill, builder.calls.end());
  EXPECT_THAT(
      std::vector<std::string>(drill + 1, builder.calls.end()),
      ElementsAre("name DRILL D8.5", "int1 3", "spindle 1800", "hole 15 15 -12", "flush", "end"));
}

TEST(BuilderBridge, EveryToolValueGoesToItsOwnOperation) {
  RecordingBuilder builder;
  BuilderBridge bridge(builder);
  bridge.SetToolName(std::string_view("T\0X", 3));
  bridge.SetToolName("端铣刀");
  bridge.SetToolInteger1(7);
  bridge.SetToolInteger2(8);
  bridge.SetToolDimension1(10);
  bridge.SetToolDimension2(2);
  bridge.SetToolDimension3(3);
  bridge.SetToolDimension5(5);
  bridge.SetToolDimension6(6);
  bridge.SetToolDimension7(7);
  bridge.FeedTo(1, 2, 3, -1);
  EXPECT_THAT(builder.calls,
              ElementsAre("name T", "name 端铣刀", "int1 7", "int2 8", "dim1 10", "dim2 2",
                          "dim3 3", "dim5 5", "dim6 6", "dim7 7", "feed 1 2 3 c-1"));
}

}  // namespace
}  // namespace zureader
