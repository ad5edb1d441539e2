#include "tests/run_program.h"

#include "framework/program_path.h"

#include <vector>

namespace zutest {

std::string BinFolder() {
  return zu::ProgramFolder();
}

ProgramRun RunProgram(const std::string& command_line, DWORD timeout_ms) {
  ProgramRun run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0))
    return run;
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::vector<char> line(command_line.begin(), command_line.end());
  line.push_back('\0');
  run.started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                               &startup, &process) != FALSE;
  CloseHandle(write_end);
  if (run.started) {
    // Read until the program has ended and its output is drained. The end of
    // the pipe cannot be waited for: a process the program started (Wine's
    // desktop window, for one) may hold its write end for much longer.
    const DWORD start = GetTickCount();
    char buffer[4096];
    for (bool ended = false;;) {
      DWORD available = 0;
      if (!PeekNamedPipe(read_end, nullptr, 0, nullptr, &available, nullptr))
        break;
      if (available > 0) {
        DWORD got = 0;
        if (!ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) || got == 0)
          break;
        run.output.append(buffer, got);
        continue;
      }
      if (ended)
        break;
      ended = WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0;
      if (!ended && GetTickCount() - start > timeout_ms)
        break;
    }
    GetExitCodeProcess(process.hProcess, &run.exit_code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(read_end);
  return run;
}

}  // namespace zutest
