#include "format_io/read_result.h"

namespace zu::fio {

ReadResult ReadFault::Result() const {
  return {false, line, "line " + std::to_string(line) + ": " + message};
}

ReadResult ReadUntilFault(const std::function<void()>& read) {
  try {
    read();
  } catch (const ReadFault& fault) {
    return fault.Result();
  }
  return {};
}

}  // namespace zu::fio
