// The code writer: a program for one machine from what is to be cut. What
// differs between NC systems is read from the machine configuration; the
// program's shape is documented in docs/gcode-output.md.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cutmodel/cut_model.h"
#include "machine/machine_config.h"

namespace zu::codewriter {

struct WriteOptions {
  // The code file's name without folder and extension: the program number
  // where it is a number, the SIEMENS program name.
  std::string program_name;
};

struct WriteResult {
  // Why no program was written (a path the machine cannot cut, a line
  // longer than it reads); the code is then empty.
  std::string error;
  // What the machine could not do as the file said and how it was written
  // ("2 arcs in the YZ plane written as lines: the machine has no G19").
  std::vector<std::string> notes;
  std::size_t blocks = 0;
  bool ok() const { return error.empty(); }
};

// Writes the program into `code` (emptied first), CR LF lines.
WriteResult WriteProgram(const cut::Program& program, const machine::MachineConfig& machine,
                         const WriteOptions& options, std::string& code);

}  // namespace zu::codewriter
