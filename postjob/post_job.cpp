#include "postjob/post_job.h"

#include <optional>

#include "cutmodel/expand_cycles.h"
#include "cutmodel/from_post_path.h"
#include "cutmodel/from_tool_location.h"
#include "format_io/file_name.h"
#include "postpath_file/file_reader.h"
#include "toolloc_file/file_reader.h"
#include "verification/check_picture.h"
#include "verification/check_report.h"

namespace zu::postjob {

namespace {

// The file's paths as what is to be cut; false (and the message) when the
// file cannot be read.
bool ReadProgram(const PostJob& job, cut::Program& program, std::string& message) {
  fio::ReadResult read;
  // A machine with rotary axes cuts five-axis paths and tilted systems.
  const cut::ModelOptions options{.rotary_axes = job.machine->kinematics.has_value()};
  if (job.road == Road::kToolLocationText) {
    ToolLocationFile file;
    ToolLocationFileBuilder builder(file);
    read = ReadToolLocationFile(job.tool_location_text, builder);
    if (read.ok)
      program = cut::FromToolLocationFile(file, options);
  } else {
    ppf::PostPathFile file;
    ppf::PostPathFileBuilder builder(file);
    read = ppf::ReadPostPathFile(job.tool_location_text, builder);
    if (read.ok)
      program = cut::FromPostPathFile(file, options);
  }
  if (!read.ok)
    message = job.tool_location_name + " cannot be read: " + read.error;
  return read.ok;
}

}  // namespace

PostOutcome RunPostJob(const PostJob& job) {
  PostOutcome outcome;
  cut::Program program;
  if (!ReadProgram(job, program, outcome.message)) {
    outcome.status = PostStatus::kBadToolLocationFile;
    return outcome;
  }
  outcome.paths = program.paths.size();
  // Without the machine's cycles the holes are plain moves: written and
  // expected as such.
  if (job.machine->cycles.form == machine::CycleForm::kExpanded)
    cut::ExpandCycles(program, job.machine->cycles.return_to_initial);
  outcome.written =
      codewriter::WriteProgram(program, *job.machine, {job.program_name}, outcome.code);
  if (!outcome.written.ok()) {
    outcome.status = PostStatus::kRefused;
    outcome.message = job.tool_location_name + ": " + outcome.written.error + "; no code written";
    outcome.code.clear();
    return outcome;
  }
  verify::VerifyOptions options;
  options.tolerance = job.machine->verification.tolerance;
  std::optional<kin::Kinematics> kinematics;
  if (job.machine->kinematics) {
    kinematics.emplace(job.machine->kinematics->layout);
    options.kinematics = &*kinematics;
    options.axis_tolerance_degrees = job.machine->kinematics->layout.linearise_axis_degrees;
  }
  options.notes = outcome.written.notes;
  options.keep_motion = job.picture;
  outcome.verified = verify::VerifyProgram(program, outcome.code, *job.system, options);
  outcome.check_report =
      verify::CheckReport(outcome.verified, {job.code_name, job.tool_location_name});
  if (job.picture) {
    verify::CheckPictureOptions picture;
    picture.title = job.text_to_utf8(std::string(fio::FileNameOf(job.code_name))) +
                    " read back over " +
                    job.text_to_utf8(std::string(fio::FileNameOf(job.tool_location_name)));
    picture.to_utf8 = job.text_to_utf8;
    // The picture's drawing keeps what it needs; the motion can go.
    const draw::Picture drawn = verify::CheckPicture(program, outcome.verified, picture);
    outcome.verified.motion = {};
    outcome.check_picture = draw::DrawSvg(drawn).svg;
  }
  if (!outcome.verified.ok) {
    outcome.status = PostStatus::kNotVerified;
    outcome.message = job.code_name + " does not do what " + job.tool_location_name +
                      " asks: see its check report";
  }
  return outcome;
}

}  // namespace zu::postjob
