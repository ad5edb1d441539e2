// The sample NC systems' descriptions (postmodule/ncsystems/), the
// five-axis FANUC one of the tests (gcode/tests/ncsystems/) and the shipped
// five-axis SIEMENS one, loaded once per test program.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "gcode/nc_system.h"

namespace zu::gcode::testing {

enum class Sample { kFanuc, kHnc, kSiemens, kLinuxCnc, kFanucAc, kSiemensBc };

inline std::string SamplePath(Sample sample) {
  if (sample == Sample::kFanucAc)
    return std::string(ZU_SOURCE_DIR) + "/gcode/tests/ncsystems/FANUC-0i-AC.xml";
  const char* file = sample == Sample::kFanuc       ? "FANUC-0i.xml"
                     : sample == Sample::kHnc       ? "HNC-818.xml"
                     : sample == Sample::kSiemens   ? "SIEMENS-840D.xml"
                     : sample == Sample::kSiemensBc ? "SIEMENS-840D-BC-head-table.xml"
                                                    : "LinuxCNC.xml";
  return std::string(ZU_SOURCE_DIR) + "/postmodule/ncsystems/" + file;
}

inline const NcSystem& System(Sample sample) {
  static const NcSystem* systems[6] = {};
  const NcSystem*& system = systems[static_cast<int>(sample)];
  if (system == nullptr) {
    NcSystemLoad load = LoadNcSystemFile(SamplePath(sample));
    if (!load.ok)
      ADD_FAILURE() << load.error;
    system = new NcSystem(std::move(load.system));
  }
  return *system;
}

}  // namespace zu::gcode::testing
