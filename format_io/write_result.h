// What became of a file a writer wrote.
#pragma once

#include <string>

namespace zu::fio {

struct [[nodiscard]] WriteResult {
  bool ok = true;
  std::string error;  // on failure: what could not be written, and why
};

}  // namespace zu::fio
