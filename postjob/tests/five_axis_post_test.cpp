// Five-axis motion written for the shipped five-axis machines and read back
// through their forward kinematics (the examples' programs are golden files
// of post_job_test.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "format_io/testing/file_bytes.h"
#include "machine/machine_reader.h"
#include "postjob/post_job.h"
#include "verification/check_report.h"

namespace zu::postjob {
namespace {

const std::string kSource = ZU_SOURCE_DIR;

struct Machine {
  machine::MachineConfig config;
  gcode::NcSystem system;
};

Machine Load(const std::string& mcf, const std::string& xml) {
  Machine m;
  machine::MachineReadResult read = machine::ReadMachineConfig(kSource + "/" + mcf);
  EXPECT_TRUE(read.config) << read.error;
  if (read.config)
    m.config = *read.config;
  gcode::NcSystemLoad load = gcode::LoadNcSystemFile(kSource + "/" + xml);
  EXPECT_TRUE(load.error.empty()) << load.error;
  m.system = load.system;
  return m;
}

// A ball-end tool sweeping a sphere of radius 20 with its axis along the
// normal: meridians from 60 degrees one side of the pole to 60 the other,
// straight through the pole where the primary axis is free, at three
// longitudes, 0.5 degrees a move.
cut::Program SphereSweep() {
  constexpr double kPi = 3.14159265358979323846;
  constexpr double kRadius = 20;
  cut::Program program;
  program.tools = {{1, "BALL 6", 6, 3}};
  for (double longitude : {0.0, 30.0, 90.0}) {
    cut::Path path;
    path.name = "meridian " + std::to_string(static_cast<int>(longitude));
    path.spindle = 8000;
    path.safe_height = 50;
    path.five_axis = true;
    const double phi = longitude * kPi / 180;
    for (int k = -120; k <= 120; ++k) {
      const double theta = k * 0.5 * kPi / 180;
      const cut::Vec normal = {std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi),
                               std::cos(theta)};
      cut::Step step;
      step.kind = k == -120 ? cut::Step::Kind::kRapid : cut::Step::Kind::kLine;
      step.end = {kRadius * normal.x, kRadius * normal.y, kRadius * normal.z - kRadius};
      step.axis = normal;
      step.feed = 1000;
      path.steps.push_back(step);
    }
    program.paths.push_back(path);
  }
  return program;
}

TEST(FiveAxisPost, ASphereSweptThroughThePoleReadsBackWithoutSpinOnEveryMachine) {
  // The FANUC machine's A stops at -30 degrees: past the pole the meridians
  // need the other solution, reached by leaving the part and coming back.
  const struct {
    const char* name;
    bool leaves;
  } machines[] = {{"FANUC-0i-AC-table", true},
                  {"SIEMENS-840D-BC-head-table", false},
                  {"LinuxCNC-xyzac-trt", false}};
  for (const auto& [name, leaves] : machines) {
    SCOPED_TRACE(name);
    const Machine m = Load(std::string("postmodule/ncsystems/") + name + ".mcf",
                           std::string("postmodule/ncsystems/") + name + ".xml");
    const cut::Program program = SphereSweep();
    std::string code;
    const codewriter::WriteResult written =
        codewriter::WriteProgram(program, m.config, {"1"}, code);
    ASSERT_TRUE(written.ok()) << written.error;
    const kin::Kinematics kinematics(m.config.kinematics->layout);
    verify::VerifyOptions options;
    options.tolerance = m.config.verification.tolerance;
    options.kinematics = &kinematics;
    const verify::VerifyResult result = verify::VerifyProgram(program, code, m.system, options);
    const std::string report = verify::CheckReport(result, {"sphere.nc", "sphere"});
    EXPECT_TRUE(result.ok) << report;
    EXPECT_LE(result.largest_deviation, 0.001) << report;
    EXPECT_LE(result.largest_axis_deviation, 0.01) << report;
    EXPECT_GE(result.axes_compared, 3 * 240u) << report;
    // Moves read back are the program's, not the samples taken along them.
    EXPECT_LE(result.moves_read, result.lines_read) << report;
    // Half a degree a move along the meridian: a rotary axis never turns
    // much more in one move, through the pole too (no spin).
    EXPECT_LE(result.largest_rotary_turn, 1.0) << report;
    bool left = false;
    for (const std::string& note : written.notes)
      left = left || note.find("reached a limit") != std::string::npos;
    EXPECT_EQ(left, leaves);
  }
}

}  // namespace
}  // namespace zu::postjob
