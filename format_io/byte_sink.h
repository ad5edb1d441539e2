// Where a file writer's bytes go. The writers of both file formats hand
// their text to a ByteSink: a file opened in text mode, or memory in tests.
#pragma once

#include <string_view>

namespace zu::fio {

// Takes bytes: lines ended by '\n'.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Stores `bytes`; false when they could not be stored.
  virtual bool Write(std::string_view bytes) = 0;
};

}  // namespace zu::fio
