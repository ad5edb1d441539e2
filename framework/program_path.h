// Where the running program lives. Windows only.
#pragma once

#include <string>

namespace zu {

// The full path of the program (the .exe) of this process, in the ANSI code
// page; empty when it cannot be obtained.
std::string ProgramPath();

// The folder of ProgramPath(), without a trailing backslash.
std::string ProgramFolder();

}  // namespace zu
