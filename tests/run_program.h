// Starts a program as a person's shell would and collects what it prints.
// Windows only; for command-level tests.
#pragma once

#include <windows.h>

#include <string>

namespace zutest {

struct ProgramRun {
  DWORD exit_code = 0;
  std::string output;  // standard output and standard error, interleaved
  bool started = false;
};

// Runs `command_line` to its end (at most `timeout_ms`), in the current
// folder and environment.
ProgramRun RunProgram(const std::string& command_line, DWORD timeout_ms = 60000);

// The folder of the running test program (the build's bin folder).
std::string BinFolder();

}  // namespace zutest
