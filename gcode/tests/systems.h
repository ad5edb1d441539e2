// The sample NC systems' descriptions (postmodule/ncsystems/), loaded once
// per test program.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "gcode/nc_system.h"

namespace zu::gcode::testing {

enum class Sample { kFanuc, kHnc, kSiemens, kLinuxCnc };

inline std::string SamplePath(Sample sample) {
  const char* file = sample == Sample::kFanuc     ? "FANUC-0i.xml"
                     : sample == Sample::kHnc     ? "HNC-818.xml"
                     : sample == Sample::kSiemens ? "SIEMENS-840D.xml"
                                                  : "LinuxCNC.xml";
  return std::string(ZU_SOURCE_DIR) + "/postmodule/ncsystems/" + file;
}

inline const NcSystem& System(Sample sample) {
  static const NcSystem* systems[4] = {};
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
