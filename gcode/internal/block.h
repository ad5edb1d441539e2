// One block of G code as words: what the lexer makes of a line before the
// interpreter gives it a meaning. Internal to gcode/.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "gcode/nc_system.h"

namespace zu::gcode::internal {

inline constexpr int kMaxCodes = 12;      // G or M codes in one block
inline constexpr int kMaxArguments = 16;  // of a SIEMENS cycle call
inline constexpr double kMaxMagnitude = 1e9;

constexpr std::uint32_t Bit(char letter) {
  return 1u << (letter - 'A');
}

struct Block {
  // Single-letter words: the letters present, their values and which were
  // written with a decimal point.
  std::uint32_t present = 0;
  std::uint32_t point = 0;
  std::array<double, 26> value;
  // G codes (keys: number times ten) and M codes, in order.
  std::array<int, kMaxCodes> g;
  std::array<int, kMaxCodes> m;
  int g_count = 0;
  int m_count = 0;
  std::string_view comment;  // the first comment's text

  // SIEMENS keywords.
  bool cip = false;
  bool ct = false;
  bool has_cr = false;
  double cr = 0;
  std::uint8_t point1_present = 0;  // I1=, J1=, K1= (bits 0, 1, 2)
  std::array<double, 3> point1;
  int cycle = 0;        // CYCLE8x: x + 80
  bool swivel = false;  // CYCLE800(...): a tilted plane, its arguments in `arguments`
  bool mcall = false;
  std::array<double, kMaxArguments> arguments;
  std::uint32_t arguments_present = 0;
  int argument_count = 0;
  bool ret = false;
  std::string call;  // a named subprogram call (SIEMENS), upper case
  std::string tool_name;
  bool has_tool_name = false;
  // Five-axis keywords: the tool-axis vector A3= B3= C3= (bits 0, 1, 2) and
  // the transformation on or off (SIEMENS TRAORI, TRAFOOF).
  std::uint8_t vector_present = 0;
  std::array<double, 3> vector;
  bool tcp_on = false;
  bool tcp_off = false;

  bool Has(char letter) const { return (present & Bit(letter)) != 0; }
  double Value(char letter) const { return value[static_cast<std::size_t>(letter - 'A')]; }
  bool Point(char letter) const { return (point & Bit(letter)) != 0; }
  bool Empty() const {
    return present == 0 && g_count == 0 && m_count == 0 && !cip && !ct && !has_cr &&
           point1_present == 0 && cycle == 0 && !swivel && !mcall && !ret && call.empty() &&
           !has_tool_name && vector_present == 0 && !tcp_on && !tcp_off;
  }
};

// A line's kind before the lexer sees it.
enum class LineKind {
  kBlock,
  kTapeMark,          // '%' alone
  kMainHeader,        // O1234, %1234, %_N_NAME_MPF: a program that may run as the main one
  kSubprogramHeader,  // %_N_NAME_SPF, PROC NAME: a subprogram only
};

// What kind of line `line` is; for a header, its program's key in `key`
// ("O" and the number without leading zeros, or the upper-case name) and,
// for a numbered header (O1234, %1234), what follows the number on its line
// in `rest` (empty otherwise).
LineKind ClassifyLine(const NcSystem& system, std::string_view line, std::string& key,
                      std::string_view& rest);

// Reads `line` into `block`. Returns "" or what is wrong. A block to be
// skipped (block delete) comes back empty with `deleted` set.
std::string ParseBlock(const NcSystem& system, std::string_view line, Block& block, bool& deleted);

// The key of O-numbered program `number`.
std::string ProgramKey(std::uint64_t number);

}  // namespace zu::gcode::internal
