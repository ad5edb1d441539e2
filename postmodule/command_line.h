// The post module's command lines, as its programs receive them, and the
// process file the plug-in writes for the post processor. Portable.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace postmodule {

// The arguments after the program's own name in a whole command line (the
// name may be quoted); leading blanks are kept.
std::string_view ArgumentsOf(std::string_view command_line);

// "  *orvopost*pmf=PATH": post the tool-location file PATH, whose process
// file lies beside it. "*posttc*PMF*MCF*CODE*": post PMF for the machine
// configuration MCF into the code file CODE.
struct PostRequest {
  enum class Form { OrvoPost, PostTc };
  Form form = Form::OrvoPost;
  std::string tool_location_file;
  std::string machine_file;  // PostTc only
  std::string code_file;     // PostTc only
};

// The request of `arguments`, or why they are not one.
struct ParsedRequest {
  std::optional<PostRequest> request;
  std::string error;
};
ParsedRequest ParsePostRequest(std::string_view arguments);

// The process file beside a tool-location file: trailing 'p', 'm' and 'f'
// removed, "pro" appended.
std::string ProcessFileFor(std::string_view tool_location_file);

// The process file's entries ("mcfname", "gcodename", "exename"), or why the
// text is not a process file.
struct ProcessFile {
  std::map<std::string, std::string> entries;
  std::string error;
};
ProcessFile ParseProcessFile(std::string_view text);

// "*mcf*FOLDER": the editor's folder of machine configurations, or nullopt.
std::optional<std::string> ParseEditorArguments(std::string_view arguments);

}  // namespace postmodule
