#include "ui/code_file_naming.h"

#include <cstdio>

#include "framework/text.h"
#include "environment/path_tests.h"

namespace zu {

std::string BuildCodeFileName(std::string_view code_path, std::string_view rule, int serial,
                              int use_current_name) {
  if (use_current_name)
    return std::string(code_path);
  std::string name;
  Text piece;
  if (rule.empty()) {
    name = piece.Format("NC%04d", serial).str();
  } else {
    for (std::size_t i = 0; i < rule.size();) {
      if (rule[i] != '#') {
        name += rule[i++];
        continue;
      }
      std::size_t run = 0;
      while (i < rule.size() && rule[i] == '#')
        ++run, ++i;
      name += piece.Format("%0*d", static_cast<int>(run), serial).str();
    }
  }
  const auto slash = FindLastCharacter(code_path, '\\');
  if (slash == std::string_view::npos)
    return std::string(code_path);
  // The extension is taken from the file name only: a '.' in a folder name
  // is not an extension.
  const auto dot = code_path.rfind('.');
  const std::string extension =
      dot != std::string_view::npos && dot > slash ? std::string(code_path.substr(dot)) : ".cut";
  return std::string(code_path.substr(0, slash + 1)) + name + extension;
}

std::string CodeFolderOf(std::string_view path) {
  const auto slash = FindLastCharacter(path, '\\');
  if (slash != std::string_view::npos && path.find('.', slash) != std::string_view::npos) {
    return std::string(path.substr(0, slash));
  }
  return std::string(path);
}

int CodeFolderMissing(const char* path) {
  if (!path || !*path)
    return -1;
  return FolderMissing(CodeFolderOf(path).c_str());
}

std::string McfListName(std::string_view name) {
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t' || name.back() == '\r' ||
                           name.back() == '\n')) {
    name.remove_suffix(1);
  }
  // File names are compared without regard to case: FM.MCF is listed as FM,
  // so that FM.mcf is found when the system is chosen.
  constexpr std::string_view kExtensionLetters = "mcfMCF";
  while (!name.empty() && kExtensionLetters.find(name.back()) != std::string_view::npos) {
    name.remove_suffix(1);
  }
  while (!name.empty() && name.back() == '.')
    name.remove_suffix(1);
  return std::string(name);
}

}  // namespace zu
