// One post: a tool-location file (either kind) to the program of one
// machine, read back and compared with the file. The post processor's
// program does the files around it (reading, writing whole or not at all,
// the viewer); this is the part that needs no operating system.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "codewriter/code_writer.h"
#include "gcode/nc_system.h"
#include "machine/machine_config.h"
#include "verification/verify_program.h"

namespace zu::postjob {

enum class Road {
  kToolLocationText,  // the text tool-location file (*posttc*)
  kPostPath,          // the post-path file (*orvopost*)
};

struct PostJob {
  Road road = Road::kToolLocationText;
  std::string_view tool_location_text;
  std::string tool_location_name;  // the file's name in messages and the report
  std::string code_name;           // the code file's name in the report
  std::string program_name;        // the code file's name without folder and extension
  const machine::MachineConfig* machine = nullptr;
  const gcode::NcSystem* system = nullptr;  // the machine's NC-system description
  // Draw the check picture (PostOutcome::check_picture).
  bool picture = true;
  // The file's texts (path names) to UTF-8, for the picture; the post
  // processor's are in the ANSI code page. Passes bytes through by default.
  std::function<std::string(std::string_view)> text_to_utf8 = [](std::string_view s) {
    return std::string(s);
  };
};

enum class PostStatus {
  kDone,                 // code written and verified
  kBadToolLocationFile,  // the file cannot be read: no code
  kRefused,              // a path the machine cannot cut, a line too long: no code
  kNotVerified,          // code written, but it does not do what the file asks
};

struct PostOutcome {
  PostStatus status = PostStatus::kDone;
  std::string message;       // one line, for every status but kDone
  std::string code;          // the program, for kDone and kNotVerified
  std::string check_report;  // the verification's report, likewise
  // The check picture (SVG, verification/check_picture.h), likewise where
  // PostJob::picture asks for it.
  std::string check_picture;
  codewriter::WriteResult written;
  verify::VerifyResult verified;
  std::size_t paths = 0;
};

PostOutcome RunPostJob(const PostJob& job);

}  // namespace zu::postjob
