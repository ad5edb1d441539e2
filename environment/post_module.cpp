#include "environment/post_module.h"

#include <cstring>

#include "framework/text_file.h"
#include "environment/post_settings.h"

namespace zu {

char PostCodeName[kPostCodeNameSize] = "";

std::string TrimPostRegValue(std::string_view value) {
  constexpr std::string_view kTrimmed = "\\/*?\"<>|";
  while (!value.empty() && kTrimmed.find(value.back()) != std::string_view::npos) {
    value.remove_suffix(1);
  }
  return std::string(value);
}

std::string ProcessFileNameFor(std::string_view path) {
  while (!path.empty() && (path.back() == 'p' || path.back() == 'm' || path.back() == 'f')) {
    path.remove_suffix(1);
  }
  return std::string(path) + "pro";
}

bool WriteProcessFile(const char* tool_location_file) {
  const std::string name = ProcessFileNameFor(tool_location_file);
  TextFile file(name.c_str(), "w+");
  if (!file.is_open())
    return false;
  const std::string mcf =
      PostSettings.McfFolder.str() + "\\" + PostSettings.CurrentMcf.str() + ".mcf";
  file.Printf("[process]\n");
  file.Printf("mcfname %s\n", mcf.c_str());
  file.Printf("gcodename %s\n", PostCodeName);
  file.Printf("exename %s\n", PostSettings.ExeFileName.c_str());
  file.Printf("[endprocess]\n");
  file.Printf("[filetail]\n");
  return file.Close();
}

std::string ToolLocationBesideCode(std::string_view code_file) {
  // Only a '.' of the file name starts its extension, not one of a folder.
  const auto slash = code_file.find_last_of("\\/");
  const auto name_start = slash == std::string_view::npos ? 0 : slash + 1;
  const auto dot = code_file.rfind('.');
  if (dot != std::string_view::npos && dot >= name_start)
    code_file = code_file.substr(0, dot);
  return std::string(code_file) + ".pmf";
}

std::string PostProcessorCommand(std::string_view prefix, std::string_view tool_location_file) {
  return std::string(prefix) + "  *orvopost*pmf=" + std::string(tool_location_file);
}

std::string TextRoadCommand(std::string_view module_folder, std::string_view tool_location_file,
                            std::string_view post_path, std::string_view nc_system,
                            std::string_view code_file) {
  std::string line(module_folder);
  line += "\\ORVOPost.exe *posttc*";
  line += tool_location_file;
  line += "*";
  line += post_path;
  line += "\\";
  line += nc_system;
  line += ".mcf*";
  line += code_file;
  line += "*";
  return line;
}

std::string EditorCommand(std::string_view module_folder, std::string_view mcf_folder) {
  return std::string(module_folder) + "\\OrvoPostUI.exe *mcf*" + std::string(mcf_folder);
}

}  // namespace zu
