// ORVOPost.exe, the post processor, first form: it takes both of its command
// lines, finds and reads what they name, and reports what it received. It
// writes no G code yet. With ZU_POSTMODULE_RECORD set it appends what it
// received to that file, so that tests can check the exact command line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "postmodule/command_line.h"
#include "postmodule/module_record.h"

namespace {

enum ExitCode { kDone = 0, kBadCommandLine = 2, kMissingFile = 3, kBadProcessFile = 4 };

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "ORVOPost: %s\n", message.c_str());
  postmodule::RecordLine("ORVOPost error: " + message);
  return code;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int main() {
  const std::string command_line = GetCommandLineA();
  postmodule::RecordLine("ORVOPost command line: " + command_line);
  const auto parsed = postmodule::ParsePostRequest(postmodule::ArgumentsOf(command_line));
  if (!parsed.request)
    return Fail(kBadCommandLine, "malformed command line: " + parsed.error);
  const postmodule::PostRequest& request = *parsed.request;

  if (request.form == postmodule::PostRequest::Form::PostTc) {
    postmodule::RecordLine("form posttc");
    postmodule::RecordLine("tool-location file: " + request.tool_location_file);
    postmodule::RecordLine("machine file: " + request.machine_file);
    postmodule::RecordLine("code file: " + request.code_file);
    for (const std::string* file : {&request.tool_location_file, &request.machine_file}) {
      if (!Exists(*file))
        return Fail(kMissingFile, "the file " + *file + " does not exist");
    }
    std::printf("ORVOPost: would post %s for %s into %s\n", request.tool_location_file.c_str(),
                request.machine_file.c_str(), request.code_file.c_str());
    return kDone;
  }

  postmodule::RecordLine("form orvopost");
  postmodule::RecordLine("tool-location file: " + request.tool_location_file +
                         (Exists(request.tool_location_file) ? "" : " (missing)"));
  const std::string process = postmodule::ProcessFileFor(request.tool_location_file);
  postmodule::RecordLine("process file: " + process);
  std::ifstream in(process, std::ios::binary);
  if (!in)
    return Fail(kMissingFile, "the process file " + process + " does not exist");
  std::ostringstream text;
  text << in.rdbuf();
  const auto file = postmodule::ParseProcessFile(text.str());
  if (!file.error.empty())
    return Fail(kBadProcessFile, process + ": " + file.error);
  for (const auto& [key, value] : file.entries)
    postmodule::RecordLine("  " + key + " " + value);
  std::printf("ORVOPost: would post %s for %s into %s\n", request.tool_location_file.c_str(),
              file.entries.at("mcfname").c_str(), file.entries.at("gcodename").c_str());
  return kDone;
}
