// The lines of a file whose every line ends in CR LF, as the writers' text
// stores it in a text-mode file, taken one at a time. A line that is not
// ended so, or a line asked for past the end, stops the reader: it throws
// ReadFault (read_result.h) naming the line.
#pragma once

#include <cstddef>
#include <string_view>

namespace zu::fio {

class CrLfLines {
 public:
  // `text` must outlive the lines taken from it.
  explicit CrLfLines(std::string_view text) : text_(text) {}

  // The line last taken, counted from 1; 0 before the first.
  int line() const { return line_; }
  // Where the next line starts in the text.
  std::size_t position() const { return pos_; }
  bool at_end() const { return pos_ == text_.size(); }
  std::string_view text() const { return text_; }
  // The text from the next line on.
  std::string_view rest() const { return text_.substr(pos_); }

  // The next line without its CR LF. At the end of the text the fault lies
  // on the line after the last: "the file ends " and `where`.
  std::string_view Take(std::string_view where);
  // A fault on the line after the last when any text follows it: "text
  // after " and `last`, the line that ends the file.
  void ExpectEnd(std::string_view last) const;

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 0;
};

}  // namespace zu::fio
