#include "ui/temp_code_path.h"

namespace zu {

std::string TempCodeFolderName(const TempFolderNameParts& parts) {
  const std::string typed(parts.typed_name);
  Text name;
  name.Format("zu2006r3-%d%d%d%d%d%d-%d%s%d", parts.month, parts.day, parts.hour, parts.minute,
              parts.second, parts.millisecond, parts.random, typed.c_str(), parts.counter);
  return name.str();
}

std::string CodePathIn(std::string_view folder, std::string_view file_name) {
  std::string path(folder.empty() ? std::string_view("C:\\") : folder);
  if (path.back() != '\\')
    path += '\\';
  path += file_name;
  return path;
}

}  // namespace zu
