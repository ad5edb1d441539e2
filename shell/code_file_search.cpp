#include "shell/code_file_search.h"

namespace zu {

std::string CodeFilePattern(std::string_view code_file) {
  const auto dot = code_file.rfind('.');
  if (dot == std::string_view::npos)
    return std::string(code_file) + "*.cut";
  return std::string(code_file.substr(0, dot)) + "*" + std::string(code_file.substr(dot));
}

}  // namespace zu
