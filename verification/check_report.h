// The verification report written beside a code file (NAME.check.txt):
// which files were compared, how much, the largest deviation and where,
// the mismatches found, the writer's notes on what the machine could not
// do, and PASS or FAIL. Plain ASCII text with CR LF line ends; names and
// notes are copied as given.
#pragma once

#include <string>
#include <string_view>

#include "verification/verify_program.h"

namespace zu::verify {

struct CheckFiles {
  std::string_view code;           // the code file read back
  std::string_view tool_location;  // the file the expected motion came from
};

// The report's text. Moves and holes are counted from 1 in it.
std::string CheckReport(const VerifyResult& result, const CheckFiles& files = {});

}  // namespace zu::verify
