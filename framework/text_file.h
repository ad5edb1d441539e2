// Text files as the plug-in reads and writes them: lines end in CR LF on disk
// in both builds (on Windows through the C runtime's text mode; natively the
// conversion is done here), and read back as lines without their line end.
// The file is closed when the object goes. Portable.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace zu {

class TextFile {
 public:
  // Opens `path` with an fopen mode without 'b' ("r", "r+", "w+", "a").
  TextFile(const char* path, const char* mode);
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  bool is_open() const { return file_ != nullptr; }

  // Writes `text`; each '\n' becomes a line end. False when writing failed.
  bool Write(std::string_view text);
  [[gnu::format(printf, 2, 3)]] bool Printf(const char* format, ...);

  // Reads the next line into `line` without its line end. `too_long` is set
  // when the line held more than `max_length` characters; the rest of it is
  // then skipped and `line` holds only its start. False at the end of the
  // file (or on a read error) with nothing read. `ended` tells whether the
  // line had a line end (the last line of a file may not).
  bool ReadLine(std::string& line, std::size_t max_length, bool& too_long, bool& ended);

  // Closes the file; false when data could not be written out.
  bool Close();

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace zu
