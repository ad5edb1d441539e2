// ORVOPost.exe, the post processor. Both of its command lines name a
// tool-location file, a machine configuration (.mcf) and a code file; it
// writes the machine's G code into the code file, reads the program back
// and compares it with the file (NAME.check.txt beside the code file, and
// NAME.check.svg: the file's paths with the program read back over them), and
// on the main road opens the code file in the viewer the process file
// names. The code file is written whole or not at all.
//
// For tests: ZU_POSTMODULE_RECORD names a file to which what it received
// and did is appended; ZU_POST_NO_VIEWER set and not empty keeps the viewer
// from being started (what would be started is recorded and printed
// instead; scripts/with-display sets it).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "format_io/file_name.h"
#include "gcode/nc_system.h"
#include "machine/machine_reader.h"
#include "postjob/post_job.h"
#include "postmodule/command_line.h"
#include "postmodule/module_record.h"

namespace {

enum ExitCode {
  kDone = 0,
  kBadCommandLine = 2,
  kMissingFile = 3,
  kBadProcessFile = 4,
  kBadToolLocationFile = 5,
  kCodeFileNotWritten = 6,
  kBadMachineFile = 7,
  kRefused = 8,
  kNotVerified = 9,
};

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "ORVOPost: %s\n", message.c_str());
  postmodule::RecordLine("ORVOPost error: " + message);
  return code;
}

std::optional<std::string> ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad())
    return std::nullopt;
  return text.str();
}

std::string SystemMessage(DWORD error) {
  char text[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, error, 0, text, sizeof text, nullptr);
  std::string message(text, length);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.'))
    message.pop_back();
  return message.empty() ? "error " + std::to_string(error) : message;
}

// Writes `bytes` beside `path` and renames the copy into place, so that the
// file is either the whole new text or left as it was. The reason on failure.
std::optional<std::string> WriteWhole(const std::string& path, const std::string& bytes) {
  // A read-only file is one its owner does not want replaced (a rename
  // would replace it on some systems).
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    return std::string("it is read-only");
  const std::string part = path + ".part";
  HANDLE file = CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return SystemMessage(GetLastError());
  std::size_t done = 0;
  bool ok = true;
  DWORD error = 0;
  while (ok && done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    DWORD written = 0;
    ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
    done += written;
  }
  if (!ok)
    error = GetLastError();
  if (!CloseHandle(file) && ok) {
    ok = false;
    error = GetLastError();
  }
  if (ok && !MoveFileExA(part.c_str(), path.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ok = false;
    error = GetLastError();
  }
  if (ok)
    return std::nullopt;
  DeleteFileA(part.c_str());
  return SystemMessage(error);
}

// "FOLDER\NAME.EXT" -> "NAME".
std::string ProgramName(const std::string& path) {
  std::string name(zu::fio::FileNameOf(path));
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// "FOLDER\NAME.EXT" -> "FOLDER\NAME.check.txt" (or another `extension`).
std::string CheckFileFor(const std::string& code_file, const char* extension = ".check.txt") {
  const std::size_t slash = code_file.find_last_of("\\/:");
  const std::size_t dot = code_file.find_last_of('.');
  const bool has_extension =
      dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (has_extension ? code_file.substr(0, dot) : code_file) + extension;
}

// Text in the ANSI code page (the files' names and the paths' names) as
// UTF-8, for the check picture.
std::string AnsiToUtf8(std::string_view ansi) {
  if (ansi.empty())
    return {};
  const int size = static_cast<int>(ansi.size());
  const int wide_length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), wide_length);
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

// The NC-system description a configuration names: beside the .mcf unless
// the name has a folder; NAME.xml of the .mcf when it names none.
std::string DescriptionFor(const std::string& machine_file, const std::string& description) {
  const std::size_t slash = machine_file.find_last_of("\\/:");
  const std::string folder = slash == std::string::npos ? "" : machine_file.substr(0, slash + 1);
  if (description.empty()) {
    const std::size_t dot = machine_file.find_last_of('.');
    return (dot == std::string::npos || (slash != std::string::npos && dot < slash)
                ? machine_file
                : machine_file.substr(0, dot)) +
           ".xml";
  }
  const bool absolute = description.find(':') != std::string::npos || description.front() == '\\' ||
                        description.front() == '/';
  return absolute ? description : folder + description;
}

struct Files {
  zu::postjob::Road road = zu::postjob::Road::kToolLocationText;
  std::string tool_location;
  std::string machine;
  std::string code;
};

int Post(const Files& files) {
  const zu::machine::MachineReadResult read = zu::machine::ReadMachineConfig(files.machine);
  if (!read.config)
    return Fail(kBadMachineFile, read.error + "; no code written");
  const zu::machine::MachineConfig& config = *read.config;
  const std::string description = DescriptionFor(files.machine, config.identity.description);
  const zu::gcode::NcSystemLoad system = zu::gcode::LoadNcSystemFile(description);
  if (!system.ok)
    return Fail(kBadMachineFile, "the NC-system description " + system.error + "; no code written");
  const auto text = ReadWhole(files.tool_location);
  if (!text)
    return Fail(kMissingFile,
                "the file " + files.tool_location + " cannot be read; no code written");

  zu::postjob::PostJob job;
  job.road = files.road;
  job.tool_location_text = *text;
  job.tool_location_name = files.tool_location;
  job.code_name = files.code;
  job.program_name = ProgramName(files.code);
  job.machine = &config;
  job.system = &system.system;
  job.text_to_utf8 = AnsiToUtf8;
  const zu::postjob::PostOutcome outcome = zu::postjob::RunPostJob(job);
  if (outcome.status == zu::postjob::PostStatus::kBadToolLocationFile)
    return Fail(kBadToolLocationFile, outcome.message + "; no code written");
  if (outcome.status == zu::postjob::PostStatus::kRefused)
    return Fail(kRefused, outcome.message);

  if (const auto reason = WriteWhole(files.code, outcome.code))
    return Fail(kCodeFileNotWritten,
                "the code file " + files.code + " cannot be written: " + *reason);
  const std::string check = CheckFileFor(files.code);
  if (const auto reason = WriteWhole(check, outcome.check_report))
    return Fail(kCodeFileNotWritten,
                "the check report " + check + " cannot be written: " + *reason);
  const std::string picture = CheckFileFor(files.code, ".check.svg");
  if (const auto reason = WriteWhole(picture, outcome.check_picture))
    return Fail(kCodeFileNotWritten,
                "the check picture " + picture + " cannot be written: " + *reason);
  postmodule::RecordLine("wrote " + std::to_string(outcome.written.blocks) + " blocks of " +
                         config.identity.name + " code into " + files.code);
  for (const std::string& note : outcome.written.notes)
    postmodule::RecordLine("note: " + note);
  char deviation[64];
  std::snprintf(deviation, sizeof deviation, "%.6f", outcome.verified.largest_deviation);
  postmodule::RecordLine(std::string("verified: ") + (outcome.verified.ok ? "PASS" : "FAIL") +
                         ", largest deviation " + deviation + " mm, report " + check +
                         ", picture " + picture);
  if (outcome.status == zu::postjob::PostStatus::kNotVerified)
    return Fail(kNotVerified, outcome.message + " (" + check + ")");
  std::printf("ORVOPost: wrote %zu blocks of %s code into %s; read back within %s mm (%s)\n",
              outcome.written.blocks, config.identity.name.c_str(), files.code.c_str(), deviation,
              check.c_str());
  return kDone;
}

// Opens the code file in the viewer, without waiting for it.
void StartViewer(const std::string& viewer, const std::string& code_file) {
  if (viewer.empty())
    return;
  std::string command = "\"" + viewer + "\" \"" + code_file + "\"";
  if (const char* off = std::getenv("ZU_POST_NO_VIEWER"); off && *off) {
    postmodule::RecordLine("viewer not started: " + command);
    std::printf("ORVOPost: would start the viewer: %s\n", command.c_str());
    return;
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    Fail(kDone, "the viewer " + viewer + " cannot be started: " + SystemMessage(GetLastError()));
    return;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  postmodule::RecordLine("viewer started: " + command);
}

// "*posttc*PMF*MCF*CODE*": the text tool-location file PMF.
int PostTextToolLocationFile(const postmodule::PostRequest& request) {
  postmodule::RecordLine("form posttc");
  postmodule::RecordLine("tool-location file: " + request.tool_location_file);
  postmodule::RecordLine("machine file: " + request.machine_file);
  postmodule::RecordLine("code file: " + request.code_file);
  return Post({zu::postjob::Road::kToolLocationText, request.tool_location_file,
               request.machine_file, request.code_file});
}

// "  *orvopost*pmf=FILE": the post-path file FILE, with the process file
// beside it naming the machine (mcfname), the code file (gcodename) and the
// viewer (exename).
int PostPostPathFile(const postmodule::PostRequest& request) {
  postmodule::RecordLine("form orvopost");
  postmodule::RecordLine("tool-location file: " + request.tool_location_file);
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
  const std::string& code_file = file.entries.at("gcodename");
  const int result = Post({zu::postjob::Road::kPostPath, request.tool_location_file,
                           file.entries.at("mcfname"), code_file});
  if (result == kDone) {
    const auto viewer = file.entries.find("exename");
    if (viewer != file.entries.end())
      StartViewer(viewer->second, code_file);
  }
  return result;
}

}  // namespace

int main() {
  const std::string command_line = GetCommandLineA();
  postmodule::RecordLine("ORVOPost command line: " + command_line);
  const auto parsed = postmodule::ParsePostRequest(postmodule::ArgumentsOf(command_line));
  if (!parsed.request)
    return Fail(kBadCommandLine, "malformed command line: " + parsed.error);
  const postmodule::PostRequest& request = *parsed.request;
  try {
    if (request.form == postmodule::PostRequest::Form::PostTc)
      return PostTextToolLocationFile(request);
    return PostPostPathFile(request);
  } catch (const std::exception& e) {
    return Fail(kCodeFileNotWritten, std::string("stopped: ") + e.what());
  }
}
