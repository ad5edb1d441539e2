// What became of reading a file, and the fault a reader throws to stop at
// the first line it refuses.
#pragma once

#include <functional>
#include <string>

namespace zu::fio {

struct [[nodiscard]] ReadResult {
  bool ok = true;
  int line = 0;       // on failure: the line it stopped at, counted from 1
  std::string error;  // on failure: "line N: " and what was expected or is wrong
};

// Thrown inside a reader where it stops; ReadUntilFault turns it into the
// reader's result.
struct ReadFault {
  int line;             // counted from 1
  std::string message;  // what was expected or is wrong, without the line

  ReadResult Result() const;
};

// Runs `read`, a reader's pass over a whole file: ok when it returns, the
// fault's Result() when it throws a ReadFault.
ReadResult ReadUntilFault(const std::function<void()>& read);

}  // namespace zu::fio
