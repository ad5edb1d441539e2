// What the G-code benchmarks share: the generated program they read and a
// receiver that only counts what it is sent. Portable.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "gcode/path_receiver.h"

namespace zu::bench {

// A FANUC-0i program of `lines` lines as a CAM system writes one: straight
// moves, rapids, G2/G3 arcs with I/J, G81 cycles with holes, comments, block
// numbers, tool changes. The seed is fixed, so the text is the same on every
// run and in both builds; coordinates are whole thousandths of a millimetre.
// Lines end in '\n'.
std::string GeneratedProgram(int lines);

// Counts every call and sums the numbers it is given, so that no call can be
// optimised away.
class CountingReceiver : public gcode::PathReceiver {
 public:
  std::size_t calls = 0;
  double sum = 0;
  void NextPath(int) override { ++calls; }
  void StartPath() override { ++calls; }
  void EndPath() override { ++calls; }
  void RapidTo(double x, double, double) override { Add(x); }
  void FeedTo(double x, double, double, int) override { Add(x); }
  void ArcTo(double x, double, double, double, double, double, double, double, double) override {
    Add(x);
  }
  void SetFeedRate(double v) override { Add(v); }
  void SetSpindleSpeed(double v) override { Add(v); }
  void SetToolName(std::string_view) override { ++calls; }
  void SetToolInteger1(int) override { ++calls; }
  void SetToolInteger2(int) override { ++calls; }
  void SetToolDimension1(double v) override { Add(v); }
  void SetToolDimension2(double v) override { Add(v); }
  void SetToolDimension3(double v) override { Add(v); }
  void SetToolDimension5(double v) override { Add(v); }
  void SetToolDimension6(double v) override { Add(v); }
  void SetToolDimension7(double v) override { Add(v); }
  void StartDrillPath(int, double, double, double, double, double, double, double,
                      double) override {
    ++calls;
  }
  void AddDrillPoint(double x, double, double) override { Add(x); }
  void FlushDrillPoints() override { ++calls; }

 private:
  void Add(double v) {
    ++calls;
    sum += v;
  }
};

}  // namespace zu::bench
