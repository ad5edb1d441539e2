// libFuzzer target: the machine configuration reader on any bytes. A read
// gives a configuration or one line of error, never both or neither, and
// an accepted configuration has a name; an accepted five-axis layout is one
// the kinematics take, and solving a pose on it stays within the limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "kinematics/kinematics.h"
#include "machine/machine_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const zu::machine::MachineReadResult result = zu::machine::ParseMachineConfig(text, "fuzz.mcf");
  if (result.config.has_value() == !result.error.empty())
    std::abort();
  if (result.config && result.config->identity.name.empty())
    std::abort();
  if (result.error.find('\n') != std::string_view::npos)
    std::abort();
  if (result.config && result.config->kinematics) {
    const zu::kin::MachineLayout& layout = result.config->kinematics->layout;
    if (!zu::kin::CheckLayout(layout).empty())
      std::abort();
    const zu::kin::Kinematics kinematics(layout);
    const auto first = kinematics.First({{1, 2, 3}, {0.6, 0, 0.8}});
    if (first && !kinematics.WithinLimits(*first))
      std::abort();
  }
  return 0;
}
