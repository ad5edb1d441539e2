// The G-code interpreter: reads a program line by line as an NC-system
// description says the control reads it, and drives a PathReceiver in the
// order of the code (path_receiver.h says what each call means).
//
// Streaming: memory holds the modal state, one line, the subprogram call
// stack (at most NcSystem::max_depth frames), the start positions of the
// programs seen in the file and the first ReadOptions::max_errors errors,
// whatever the program's length.
//
// Errors. A block that cannot be read (an unknown word, a missing value, a
// bad arc, a call to a missing subprogram, ...) is reported with its line
// and text and left out as a whole; reading goes on with the next block.
// A block a control would refuse but whose meaning is plain (a feed move
// with no feed rate in force, cutter compensation started on an arc) is
// reported and read all the same. Where reading ends before the main
// program's end word (at the next program's header, or at an O word this
// reader does not know), that is reported too.
// The paths finished before it stay as they were sent. At the end of the
// input every open path is closed. The interpreter never throws and never
// loops: subprogram calls are bounded in depth and in number, a recursive
// call is an error.
//
// Programs in a file. The first program (its header O1234, %1234 or
// %_N_NAME_MPF, or no header) is the main one; it ends at M30/M2, at M99 or
// RET outside any call, at the next program's header or at the file's
// second '%'. Words after a program number on its line are the program's
// first block. Programs after it (and, for SIEMENS, %_N_NAME_SPF or PROC
// programs anywhere) are subprograms, read only when called.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gcode/line_source.h"
#include "gcode/multi_axis_receiver.h"
#include "gcode/nc_system.h"
#include "gcode/path_receiver.h"

namespace zu::gcode {

// What became of the block a diagnostic names.
enum class Outcome : std::uint8_t {
  kLeftOut,  // an error: the block was left out whole
  kRead,     // a control would raise an alarm; the block was read all the same
  kEnded,    // reading ended at this line, before the program's end
};

struct Diagnostic {
  std::uint64_t line = 0;  // from 1
  std::string block;       // the line's text, cut at 200 characters
  std::string message;
  Outcome outcome = Outcome::kLeftOut;
};

struct ReadOptions {
  std::size_t max_errors = 1000;  // errors kept; all are counted
};

struct [[nodiscard]] ProgramRead {
  std::vector<Diagnostic> errors;  // the first max_errors, in order
  std::uint64_t error_count = 0;   // all diagnostics, of every outcome
  std::uint64_t left_out = 0;      // of them, blocks left out (Outcome::kLeftOut)
  std::uint64_t lines = 0;         // lines read, a subprogram's each time it runs
  int paths = 0;                   // paths sent
  // What of a five-axis program was read (in blocks not left out), which a
  // PathReceiver alone cannot hold: the rotary axes moved (kAxisA, kAxisB,
  // kAxisC), tool-centre-point control, tool vectors, inverse-time feeds.
  std::uint8_t rotary_axes = 0;
  bool tool_centre_point = false;
  bool tool_vectors = false;
  bool inverse_time = false;
  bool ok() const { return error_count == 0; }
  bool multi_axis() const {
    return rotary_axes != 0 || tool_centre_point || tool_vectors || inverse_time;
  }
};

// Reads the program `source` gives as `system` says and sends what it
// describes to `receiver`. `system` must outlive the call.
ProgramRead ReadProgram(const NcSystem& system, LineSource& source, PathReceiver& receiver,
                        const ReadOptions& options = {});
// The same, each move's rotary axes, tool-centre-point mode, tool vector and
// inverse-time feed given to `axes` as multi_axis_receiver.h says.
ProgramRead ReadProgram(const NcSystem& system, LineSource& source, PathReceiver& receiver,
                        MultiAxisReceiver& axes, const ReadOptions& options = {});

}  // namespace zu::gcode
