// Reads a machine configuration file (.mcf): TOML text whose tables and keys
// are the fields of MachineConfig (docs/machine-configuration.md). The reader
// is strict: an unknown table or key, a value of the wrong type, a value out
// of its range or a TOML syntax error refuses the whole file with one
// message naming the file, the line and the key, e.g.
//
//   FANUC-0i.mcf line 12: [arcs] max_sweep_degrees: 400 is out of range 1..360
//
// Keys left out keep the defaults of machine_config.h; `[identity] name` is
// required.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "machine/machine_config.h"

namespace zu::machine {

// Either a configuration (and an empty `error`) or no configuration and the
// one-line message saying why the file was refused.
struct [[nodiscard]] MachineReadResult {
  std::optional<MachineConfig> config;
  std::string error;
};

// Reads `text`, the contents of a file named `file_name` in the messages.
// Never throws for any input (allocation failure aside).
MachineReadResult ParseMachineConfig(std::string_view text, std::string_view file_name);

// Reads the file at `path`, named so in the messages. A missing or
// unreadable file, or one larger than kMaxMachineFileBytes, is refused with
// "PATH: cannot be read" or "PATH: is larger than ...".
MachineReadResult ReadMachineConfig(const std::string& path);

// A configuration is a page of text; anything much larger is not one.
inline constexpr std::size_t kMaxMachineFileBytes = 1 << 20;

}  // namespace zu::machine
