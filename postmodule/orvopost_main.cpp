// ORVOPost.exe, the post processor, first form: it takes both of its command
// lines, finds and reads what they name, and reports what it received. It
// writes no G code yet: for the text tool-location file and for the
// post-path file it writes a report of the file as the code file. With
// ZU_POSTMODULE_RECORD set it appends what it received to that file, so
// that tests can check the exact command line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "postmodule/command_line.h"
#include "postmodule/module_record.h"
#include "postmodule/post_path_report.h"
#include "postmodule/tool_location_report.h"

namespace {

enum ExitCode {
  kDone = 0,
  kBadCommandLine = 2,
  kMissingFile = 3,
  kBadProcessFile = 4,
  kBadToolLocationFile = 5,
  kCodeFileNotWritten = 6
};

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "ORVOPost: %s\n", message.c_str());
  postmodule::RecordLine("ORVOPost error: " + message);
  return code;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Writes the code file; false when it cannot be written whole.
bool WriteCodeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  return static_cast<bool>(out);
}

// "*posttc*PMF*MCF*CODE*": the text tool-location file PMF for the NC system
// MCF into the code file CODE. Until G code is written, the code file holds
// a report of what the tool-location file holds; a file that cannot be read
// gets its error line there and a non-zero exit.
int PostTextToolLocationFile(const postmodule::PostRequest& request) {
  postmodule::RecordLine("form posttc");
  postmodule::RecordLine("tool-location file: " + request.tool_location_file);
  postmodule::RecordLine("machine file: " + request.machine_file);
  postmodule::RecordLine("code file: " + request.code_file);
  auto refuse = [&](int code, const std::string& message) {
    WriteCodeFile(request.code_file, "(ORVOPost: " + message + ")\r\n");
    return Fail(code, message);
  };
  if (!Exists(request.machine_file))
    return refuse(kMissingFile, "the file " + request.machine_file + " does not exist");
  const auto text = ReadWhole(request.tool_location_file);
  if (!text)
    return refuse(kMissingFile, "the file " + request.tool_location_file + " cannot be read");
  const postmodule::Report report =
      postmodule::ReportToolLocationFile(*text, request.tool_location_file, request.machine_file);
  if (!WriteCodeFile(request.code_file, report.text))
    return Fail(kCodeFileNotWritten, "the code file " + request.code_file + " cannot be written");
  if (!report.ok) {
    postmodule::RecordLine("ORVOPost error: " + report.text.substr(0, report.text.size() - 2));
    return kBadToolLocationFile;
  }
  postmodule::RecordLine("wrote a report into " + request.code_file);
  std::printf("ORVOPost: wrote a report of %s into %s\n", request.tool_location_file.c_str(),
              request.code_file.c_str());
  return kDone;
}

// "  *orvopost*pmf=FILE": the post-path file FILE, with the process file
// beside it naming the NC system (mcfname) and the code file (gcodename).
// Until G code is written, the code file holds a report of what the
// post-path file holds; a file that cannot be read gets its error line
// there and a non-zero exit.
int PostPostPathFile(const postmodule::PostRequest& request) {
  postmodule::RecordLine("form orvopost");
  postmodule::RecordLine("tool-location file: " + request.tool_location_file +
                         (Exists(request.tool_location_file) ? "" : " (missing)"));
  const std::string process = postmodule::ProcessFileFor(request.tool_location_file);
  postmodule::RecordLine("process file: " + process);
  const auto process_text = ReadWhole(process);
  if (!process_text)
    return Fail(kMissingFile, "the process file " + process + " does not exist");
  const auto file = postmodule::ParseProcessFile(*process_text);
  if (!file.error.empty())
    return Fail(kBadProcessFile, process + ": " + file.error);
  for (const auto& [key, value] : file.entries)
    postmodule::RecordLine("  " + key + " " + value);
  const std::string& machine_file = file.entries.at("mcfname");
  const std::string& code_file = file.entries.at("gcodename");
  auto refuse = [&](int code, const std::string& message) {
    WriteCodeFile(code_file, "(ORVOPost: " + message + ")\r\n");
    return Fail(code, message);
  };
  const auto text = ReadWhole(request.tool_location_file);
  if (!text)
    return refuse(kMissingFile, "the file " + request.tool_location_file + " cannot be read");
  const postmodule::Report report =
      postmodule::ReportPostPathFile(*text, request.tool_location_file, machine_file);
  if (!WriteCodeFile(code_file, report.text))
    return Fail(kCodeFileNotWritten, "the code file " + code_file + " cannot be written");
  if (!report.ok) {
    postmodule::RecordLine("ORVOPost error: " + report.text.substr(0, report.text.size() - 2));
    return kBadToolLocationFile;
  }
  postmodule::RecordLine("wrote a report into " + code_file);
  std::printf("ORVOPost: wrote a report of %s into %s\n", request.tool_location_file.c_str(),
              code_file.c_str());
  return kDone;
}

}  // namespace

int main() {
  const std::string command_line = GetCommandLineA();
  postmodule::RecordLine("ORVOPost command line: " + command_line);
  const auto parsed = postmodule::ParsePostRequest(postmodule::ArgumentsOf(command_line));
  if (!parsed.request)
    return Fail(kBadCommandLine, "malformed command line: " + parsed.error);
  const postmodule::PostRequest& request = *parsed.request;

  if (request.form == postmodule::PostRequest::Form::PostTc)
    return PostTextToolLocationFile(request);

  return PostPostPathFile(request);
}
