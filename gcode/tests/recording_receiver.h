// A PathReceiver that writes every call as a short line, for tests that pin
// the exact sequence a program gives.
//
//   next N | start | end
//   rapid X Y Z | feed X Y Z [cC] | arc X Y Z centre X Y Z axis X Y Z
//   feedrate F | speed S | tool N | name TEXT | d N | diameter D | dimK V
//   drill MODE safe= dwell= peck= depth= clear= top= f= s= | hole X Y Z | flush
//
// Numbers are written with at most four decimals, trailing zeros cut.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "gcode/interpreter.h"
#include "gcode/path_receiver.h"

namespace zu::gcode::testing {

inline std::string Number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.4f", value);
  std::string out = text;
  while (out.back() == '0')
    out.pop_back();
  if (out.back() == '.')
    out.pop_back();
  if (out == "-0")
    out = "0";
  return out;
}

class RecordingReceiver : public PathReceiver {
 public:
  std::vector<std::string> lines;

  void NextPath(int number) override { Add("next " + std::to_string(number)); }
  void StartPath() override { Add("start"); }
  void EndPath() override { Add("end"); }
  void RapidTo(double x, double y, double z) override { Add("rapid " + Xyz(x, y, z)); }
  void FeedTo(double x, double y, double z, int compensation) override {
    Add("feed " + Xyz(x, y, z) +
        (compensation == kUnchanged ? "" : " c" + std::to_string(compensation)));
  }
  void ArcTo(double ex, double ey, double ez, double cx, double cy, double cz, double ax, double ay,
             double az) override {
    Add("arc " + Xyz(ex, ey, ez) + " centre " + Xyz(cx, cy, cz) + " axis " + Xyz(ax, ay, az));
  }
  void SetFeedRate(double feed) override { Add("feedrate " + Number(feed)); }
  void SetSpindleSpeed(double speed) override { Add("speed " + Number(speed)); }
  void SetToolName(std::string_view name) override { Add("name " + std::string(name)); }
  void SetToolInteger1(int number) override { Add("tool " + std::to_string(number)); }
  void SetToolInteger2(int number) override { Add("d " + std::to_string(number)); }
  void SetToolDimension1(double value) override { Add("diameter " + Number(value)); }
  void SetToolDimension2(double value) override { Add("dim2 " + Number(value)); }
  void SetToolDimension3(double value) override { Add("dim3 " + Number(value)); }
  void SetToolDimension5(double value) override { Add("dim5 " + Number(value)); }
  void SetToolDimension6(double value) override { Add("dim6 " + Number(value)); }
  void SetToolDimension7(double value) override { Add("dim7 " + Number(value)); }
  void StartDrillPath(int mode, double safe, double dwell, double peck, double depth,
                      double clearance, double surface, double feed, double speed) override {
    Add("drill " + std::to_string(mode) + " safe=" + Number(safe) + " dwell=" + Number(dwell) +
        " peck=" + Number(peck) + " depth=" + Number(depth) + " clear=" + Number(clearance) +
        " top=" + Number(surface) + " f=" + Number(feed) + " s=" + Number(speed));
  }
  void AddDrillPoint(double x, double y, double z) override { Add("hole " + Xyz(x, y, z)); }
  void FlushDrillPoints() override { Add("flush"); }

 private:
  static std::string Xyz(double x, double y, double z) {
    return Number(x) + " " + Number(y) + " " + Number(z);
  }
  void Add(std::string line) { lines.push_back(std::move(line)); }
};

// The calls and errors of `program` read as `system` says, one per line:
// diagnostics as "error LINE: MESSAGE" (the block left out), "alarm LINE:
// MESSAGE" (read all the same) or "ended LINE: MESSAGE" (reading ended).
inline std::string Record(const NcSystem& system, std::string_view program) {
  RecordingReceiver receiver;
  TextLineSource source(program);
  const ProgramRead read = ReadProgram(system, source, receiver);
  std::string out;
  for (const std::string& line : receiver.lines)
    out += line + "\n";
  for (const Diagnostic& error : read.errors) {
    const char* what = error.outcome == Outcome::kRead    ? "alarm "
                       : error.outcome == Outcome::kEnded ? "ended "
                                                          : "error ";
    out += what + std::to_string(error.line) + ": " + error.message + "\n";
  }
  return out;
}

}  // namespace zu::gcode::testing
