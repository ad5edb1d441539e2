#include "postmodule/command_line.h"

namespace postmodule {
namespace {

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  return text;
}

std::string_view StripLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
    line.remove_suffix(1);
  return line;
}

}  // namespace

std::string_view ArgumentsOf(std::string_view command_line) {
  if (!command_line.empty() && command_line.front() == '"') {
    const auto close = command_line.find('"', 1);
    return close == std::string_view::npos ? std::string_view() : command_line.substr(close + 1);
  }
  const auto blank = command_line.find_first_of(" \t");
  return blank == std::string_view::npos ? std::string_view() : command_line.substr(blank);
}

ParsedRequest ParsePostRequest(std::string_view arguments) {
  constexpr std::string_view kOrvoPost = "*orvopost*pmf=";
  constexpr std::string_view kPostTc = "*posttc*";
  const std::string_view text = SkipBlanks(arguments);
  ParsedRequest parsed;
  PostRequest request;
  if (text.substr(0, kOrvoPost.size()) == kOrvoPost) {
    request.form = PostRequest::Form::OrvoPost;
    request.tool_location_file = std::string(text.substr(kOrvoPost.size()));
    if (request.tool_location_file.empty()) {
      parsed.error = "no tool-location file after *orvopost*pmf=";
      return parsed;
    }
  } else if (text.substr(0, kPostTc.size()) == kPostTc) {
    std::string_view rest = text.substr(kPostTc.size());
    std::string fields[3];
    for (auto& field : fields) {
      const auto star = rest.find('*');
      if (star == std::string_view::npos) {
        parsed.error = "*posttc* needs three fields each ended by '*': PMF*MCF*CODE*";
        return parsed;
      }
      field = std::string(rest.substr(0, star));
      rest.remove_prefix(star + 1);
    }
    if (!rest.empty() || fields[0].empty() || fields[1].empty() || fields[2].empty()) {
      parsed.error = "*posttc* needs exactly three non-empty fields: PMF*MCF*CODE*";
      return parsed;
    }
    request.form = PostRequest::Form::PostTc;
    request.tool_location_file = fields[0];
    request.machine_file = fields[1];
    request.code_file = fields[2];
  } else {
    parsed.error = "expected *orvopost*pmf=FILE or *posttc*PMF*MCF*CODE*";
    return parsed;
  }
  parsed.request = request;
  return parsed;
}

std::string ProcessFileFor(std::string_view path) {
  while (!path.empty() && (path.back() == 'p' || path.back() == 'm' || path.back() == 'f')) {
    path.remove_suffix(1);
  }
  return std::string(path) + "pro";
}

ProcessFile ParseProcessFile(std::string_view text) {
  ProcessFile file;
  bool in_process = false;
  bool ended = false;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const std::string_view line = StripLineEnd(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line == "[process]") {
      in_process = true;
    } else if (line == "[endprocess]") {
      ended = in_process;
      in_process = false;
    } else if (in_process) {
      const auto blank = line.find(' ');
      if (blank == std::string_view::npos)
        continue;
      file.entries[std::string(line.substr(0, blank))] = std::string(line.substr(blank + 1));
    }
  }
  if (!ended)
    file.error = "no [process] ... [endprocess] section";
  for (const char* key : {"mcfname", "gcodename", "exename"}) {
    if (file.error.empty() && !file.entries.count(key)) {
      file.error = std::string("no ") + key + " entry";
    }
  }
  return file;
}

std::optional<std::string> ParseEditorArguments(std::string_view arguments) {
  constexpr std::string_view kMcf = "*mcf*";
  const std::string_view text = SkipBlanks(arguments);
  if (text.substr(0, kMcf.size()) != kMcf)
    return std::nullopt;
  return std::string(text.substr(kMcf.size()));
}

}  // namespace postmodule
