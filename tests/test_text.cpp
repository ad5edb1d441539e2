#include "tests/test_text.h"

#include <fstream>
#include <sstream>

namespace zutest {

std::string U8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

}  // namespace zutest
