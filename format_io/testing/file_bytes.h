// For tests, benchmarks and tools: a whole file's bytes (empty when it
// cannot be read), e.g. a golden file of tests/golden/.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace zu::fio_testing {

inline std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace zu::fio_testing
