// Every example's tool-location files posted for the four shipped machines:
// the programs (or the refusals) are the golden files of tests/golden/gcode/,
// and every program reads back within the machine's tolerance.
// ZU_UPDATE_GOLDEN=1 writes the golden files anew instead of comparing.
#include "postjob/post_job.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "format_io/testing/file_bytes.h"
#include "machine/machine_reader.h"

namespace zu::postjob {
namespace {

const std::string kSource = ZU_SOURCE_DIR;

struct Machine {
  machine::MachineConfig config;
  gcode::NcSystem system;
};

Machine Load(const std::string& name) {
  const std::string folder = kSource + "/postmodule/ncsystems/";
  Machine m;
  machine::MachineReadResult read = machine::ReadMachineConfig(folder + name + ".mcf");
  EXPECT_TRUE(read.config) << read.error;
  if (read.config)
    m.config = *read.config;
  gcode::NcSystemLoad load = gcode::LoadNcSystemFile(folder + name + ".xml");
  EXPECT_TRUE(load.error.empty()) << load.error;
  m.system = load.system;
  return m;
}

// What a post of `file` gives: the program, or "refused: " and the message.
std::string Post(const std::string& file, const Machine& m, PostOutcome& outcome) {
  const std::string text = fio_testing::FileBytes(kSource + "/tests/golden/" + file);
  PostJob job;
  job.road = file.rfind("main_", 0) == 0 ? Road::kPostPath : Road::kToolLocationText;
  job.tool_location_text = text;
  job.tool_location_name = file;
  job.code_name = "NC0001.cut";
  job.program_name = "NC0001";
  job.machine = &m.config;
  job.system = &m.system;
  outcome = RunPostJob(job);
  // The refusal without the file's name, which differs where it is posted.
  if (outcome.status == PostStatus::kRefused)
    return "refused: " + outcome.written.error + "\r\n";
  EXPECT_NE(outcome.status, PostStatus::kBadToolLocationFile) << outcome.message;
  return outcome.code;
}

TEST(PostJob, EveryExampleForEveryMachineIsItsGoldenProgramAndReadsBack) {
  const char* const files[] = {
      "drilling.pmf",
      "milling_2d.pmf",
      "dwell.pmf",
      "compensation.pmf",
      "macro.pmf",
      "milling_3d.pmf",
      "tilted.pmf",
      "tilted_jig.pmf",
      "five_axis.pmf",
      "main_drilling.pmf",
      "main_milling_2d.pmf",
      "main_dwell.pmf",
      "main_compensation.pmf",
      "main_macro.pmf",
      "main_milling_3d.pmf",
      "main_tilted.pmf",
      "main_tilted_plane.pmf",
      "main_milling_3d_orientation.pmf",
      "main_five_axis.pmf",
  };
  const bool update = std::getenv("ZU_UPDATE_GOLDEN") != nullptr;
  for (const char* system : {"FANUC-0i", "HNC-818", "SIEMENS-840D", "LinuxCNC", "FANUC-0i-AC-table",
                             "SIEMENS-840D-BC-head-table", "LinuxCNC-xyzac-trt"}) {
    const Machine m = Load(system);
    for (const std::string file : files) {
      SCOPED_TRACE(file + " for " + system);
      PostOutcome outcome;
      const std::string bytes = Post(file, m, outcome);
      const std::string golden =
          kSource + "/tests/golden/gcode/" + file.substr(0, file.size() - 4) + "." + system + ".nc";
      if (update) {
        std::ofstream(golden, std::ios::binary) << bytes;
        continue;
      }
      EXPECT_TRUE(fio_testing::FileBytes(golden) == bytes) << golden << " differs:\n" << bytes;
      if (outcome.status == PostStatus::kRefused)
        continue;
      EXPECT_EQ(outcome.status, PostStatus::kDone) << outcome.check_report;
      EXPECT_LE(outcome.verified.largest_deviation, 0.001);
      EXPECT_LE(outcome.verified.largest_axis_deviation, 0.01);
      EXPECT_GT(outcome.verified.moves_compared + outcome.verified.holes_compared, 0u);
      // The check picture draws the file's paths and the program read back,
      // nothing circled.
      EXPECT_EQ(outcome.check_picture.rfind("<?xml", 0), 0u);
      EXPECT_NE(outcome.check_picture.find(">the program read back</text>"), std::string::npos);
      EXPECT_EQ(outcome.check_picture.find("class=\"deviation\""), std::string::npos);
    }
  }
}

// Machines unlike the shipped ones, each from FANUC-0i's configuration: the
// programs still read back within the tolerance.
TEST(PostJob, MachinesThatCannotDoWhatTheFileSaysStillGetProgramsThatReadBack) {
  const struct Variant {
    const char* what;
    void (*change)(machine::MachineConfig&);
  } variants[] = {
      {"no arcs", [](machine::MachineConfig& m) { m.arcs.xy = m.arcs.zx = m.arcs.yz = false; }},
      {"inch",
       [](machine::MachineConfig& m) {
         m.identity.units = machine::Units::kInch;
         m.block.safe_start = "G17 G20 G40 G49 G80 G90";
         // A ten-thousandth of an inch is 2.54 um: the tolerance follows.
         m.decimals.coordinates = 4;
         m.decimals.feed = 3;
         m.verification.tolerance = 0.003;
       }},
      {"no cycles",
       [](machine::MachineConfig& m) { m.cycles.form = machine::CycleForm::kExpanded; }},
      {"R arcs by quadrants",
       [](machine::MachineConfig& m) {
         m.arcs.centre = machine::ArcCentre::kRadius;
         m.arcs.max_sweep_degrees = 90;
       }},
      {"no block numbers, no modal words",
       [](machine::MachineConfig& m) {
         m.block.numbers = false;
         m.modal = {false, false, false, false};
       }},
  };
  const Machine fanuc = Load("FANUC-0i");
  for (const Variant& variant : variants) {
    Machine m = fanuc;
    variant.change(m.config);
    for (const char* file : {"milling_2d.pmf", "milling_3d.pmf", "compensation.pmf", "dwell.pmf",
                             "main_drilling.pmf", "main_macro.pmf"}) {
      SCOPED_TRACE(std::string(file) + " on a machine with " + variant.what);
      PostOutcome outcome;
      Post(file, m, outcome);
      EXPECT_EQ(outcome.status, PostStatus::kDone) << outcome.check_report;
      EXPECT_GT(outcome.verified.moves_compared + outcome.verified.holes_compared, 0u);
    }
  }
}

}  // namespace
}  // namespace zu::postjob
