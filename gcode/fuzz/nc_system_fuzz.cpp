// libFuzzer target: the NC-system description loader on any text. A
// description it accepts then reads a short program that uses most of what
// a description can change, and the calls must keep their order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "gcode/interpreter.h"
#include "gcode/nc_system.h"
#include "gcode/tests/protocol_checker.h"

namespace {

constexpr std::string_view kProgram =
    "%\nO1 (T)\nN1 G90 G54 G17 G21 T1 M6\nS1000 M3\nG0 X0 Y0 Z50\nG1 Z-1 F100\n"
    "G41 D1 X10 Y0\nG3 X0 Y10 R10\nG2 X-10 Y0 I-10 J0\nCIP X0 Y-10 I1=-7 J1=-7\n"
    "CT X10 Y0\nG2 X10 Y0 CR=5\nG40 G0 Z50\nG4 X1 P1000 F1 S1\nG99 G81 X5 Y5 Z-5 R2 "
    "K2 L2\nG83 X6 Z-9 R1 Q2 P100\nG80\nCYCLE81(50,0,2,-5)\nMCALL CYCLE82(50,0,2,,5,1)\n"
    "X1\nMCALL\nM98 P2 L2\nL2 P2\nSUB\nG20 G1 X1\nG70 X2\nG10 L12 P1 R3\nG28 Z10\nM30\n"
    "O2\nG91 G1 X1\nM99\n%_N_L2_SPF\nG1 Y1\nM17\nPROC SUB\nG1 Z1\nRET\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zu::gcode::NcSystemLoad load =
      zu::gcode::LoadNcSystemText(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!load.ok) {
    if (load.error.empty())
      std::abort();
    return 0;
  }
  load.system.max_calls = 50;
  zu::gcode::testing::ProtocolChecker checker;
  zu::gcode::TextLineSource source(kProgram);
  const zu::gcode::ProgramRead read = zu::gcode::ReadProgram(load.system, source, checker);
  if (!checker.Closed() || read.paths != checker.paths)
    std::abort();
  return 0;
}
