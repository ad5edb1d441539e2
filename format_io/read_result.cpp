#include "format_io/read_result.h"

namespace zu::fio {

ReadResult ReadFault::Result() const {
  return {false, line, "line " + std::to_string(line) + ": " + message};
}

}  // namespace zu::fio
