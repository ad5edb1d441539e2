// A ByteSink in memory for the tests: it keeps the bytes it is given, each
// '\n' stored as CR LF the way a text-mode file stores it (or as given), and
// can be told to fail.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "format_io/byte_sink.h"

namespace zu::fio_testing {

class MemorySink : public fio::ByteSink {
 public:
  enum class LineEnds { CrLf, AsGiven };
  explicit MemorySink(LineEnds ends = LineEnds::CrLf) : ends_(ends) {}

  bool Write(std::string_view piece) override {
    ++writes;
    if (fail_from_write > 0 && writes >= fail_from_write)
      return false;
    pieces.push_back(std::string(piece));
    for (char c : piece) {
      if (c == '\n' && ends_ == LineEnds::CrLf)
        bytes += '\r';
      bytes += c;
    }
    return true;
  }

  std::string bytes;                // what was stored
  std::vector<std::string> pieces;  // each stored Write, as given
  int writes = 0;                   // calls of Write, stored or not
  int fail_from_write = 0;          // when > 0: that call (from 1) and every later one fail

 private:
  LineEnds ends_;
};

}  // namespace zu::fio_testing
