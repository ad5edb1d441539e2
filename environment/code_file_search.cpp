#include "environment/code_file_search.h"

#include "framework/text.h"

namespace zu {

std::string CodeFilePattern(std::string_view code_file) {
  const auto dot = code_file.rfind('.');
  if (dot == std::string_view::npos)
    return std::string(code_file) + "*.cut";
  return std::string(code_file.substr(0, dot)) + "*" + std::string(code_file.substr(dot));
}

std::string_view PatternFolder(std::string_view pattern) {
  const auto slash = FindLastCharacter(pattern, '\\');
  return slash == std::string_view::npos ? std::string_view() : pattern.substr(0, slash + 1);
}

}  // namespace zu
