// Every machine of the post module's folder: its configuration loads, and
// the NC-system description it names loads under the same name, so that a
// machine the dialogs list is one the post processor and the code reader
// both take.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "gcode/nc_system.h"
#include "machine/machine_reader.h"

namespace zu::machine {
namespace {

TEST(ShippedMachines, EachConfigurationAndItsDescriptionLoad) {
  const std::filesystem::path folder = std::string(ZU_SOURCE_DIR) + "/postmodule/ncsystems";
  std::set<std::string> names;
  std::size_t five_axis = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".mcf")
      continue;
    const MachineReadResult read = ReadMachineConfig(entry.path().string());
    ASSERT_EQ(read.error, "");
    const MachineConfig& config = *read.config;
    EXPECT_EQ(config.identity.name, entry.path().stem().string());
    five_axis += config.kinematics.has_value();
    const std::string description =
        (folder / (config.identity.description.empty() ? config.identity.name + ".xml"
                                                       : config.identity.description))
            .string();
    const gcode::NcSystemLoad load = gcode::LoadNcSystemFile(description);
    EXPECT_TRUE(load.ok) << load.error;
    EXPECT_EQ(load.system.name, config.identity.name) << description;
    names.insert(config.identity.name);
  }
  const std::set<std::string> expected = {
      "FANUC-0i",     "FANUC-0i-AC-table",         "HNC-818", "LinuxCNC", "LinuxCNC-xyzac-trt",
      "SIEMENS-840D", "SIEMENS-840D-BC-head-table"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(five_axis, 3u);
}

}  // namespace
}  // namespace zu::machine
