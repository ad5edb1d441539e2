// Every example's tool-location files posted for the four shipped machines:
// the programs (or the refusals) are the golden files of tests/golden/gcode/,
// and every program reads back within the machine's tolerance.
// ZU_UPDATE_GOLDEN=1 writes the golden files anew instead of comparing.
#include "postjob/post_job.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "machine/machine_reader.h"

namespace zu::postjob {
namespace {

const std::string kSource = ZU_SOURCE_DIR;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

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
  const std::string text = ReadFile(kSource + "/tests/golden/" + file);
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
  for (const char* system : {"FANUC-0i", "HNC-818", "SIEMENS-840D", "LinuxCNC"}) {
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
      EXPECT_TRUE(ReadFile(golden) == bytes) << golden << " differs:\n" << bytes;
      if (outcome.status == PostStatus::kRefused)
        continue;
      EXPECT_EQ(outcome.status, PostStatus::kDone) << outcome.check_report;
      EXPECT_LE(outcome.verified.largest_deviation, 0.001);
      EXPECT_GT(outcome.verified.moves_compared + outcome.verified.holes_compared, 0u);
    }
  }
}

}  // namespace
}  // namespace zu::postjob
