// A line source that tells the person how far reading has come: it passes
// the lines of another source on and calls `progress` with the line number
// at the first line and every kProgressLines lines, so that a long program
// shows it is being read without a prompt for every line.
#pragma once

#include <cstdint>
#include <functional>

#include "gcode/line_source.h"

namespace zureader {

inline constexpr std::uint64_t kProgressLines = 20000;

class ProgressLineSource final : public zu::gcode::LineSource {
 public:
  ProgressLineSource(zu::gcode::LineSource& source, std::function<void(std::uint64_t)> progress)
      : source_(source), progress_(std::move(progress)) {}

  bool Next(std::string_view& line) override {
    const std::uint64_t number = source_.Position().number;
    if (number == 1 || number % kProgressLines == 0)
      progress_(number);
    return source_.Next(line);
  }
  zu::gcode::LinePosition Position() const override { return source_.Position(); }
  bool Seek(const zu::gcode::LinePosition& position) override { return source_.Seek(position); }
  bool cut() const override { return source_.cut(); }
  bool failed() const override { return source_.failed(); }

 private:
  zu::gcode::LineSource& source_;
  std::function<void(std::uint64_t)> progress_;
};

}  // namespace zureader
