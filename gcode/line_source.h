// Where the interpreter reads a program from: lines, one at a time, and a
// way back to a line read before (subprogram calls jump within the file).
// Memory stays bounded whatever the input's length: a source holds one
// buffer and one line, and cuts a line longer than kMaxLineLength.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace zu::gcode {

inline constexpr std::size_t kMaxLineLength = 4096;

// Where a line starts: its byte offset and its number (from 1).
struct LinePosition {
  std::uint64_t offset = 0;
  std::uint64_t number = 1;
};

class LineSource {
 public:
  virtual ~LineSource() = default;
  // The next line without its end (LF, CR LF or CR), valid until the next
  // call; false at the end of the input or after a read error (failed()).
  // A line longer than kMaxLineLength comes cut to that length, with
  // cut() true until the next call.
  virtual bool Next(std::string_view& line) = 0;
  // Where the next line starts.
  virtual LinePosition Position() const = 0;
  // Goes back (or forth) to a position Position() gave; false where the
  // source cannot.
  virtual bool Seek(const LinePosition& position) = 0;
  virtual bool cut() const = 0;
  virtual bool failed() const = 0;
};

// The lines of a text in memory, which must outlive the source.
class TextLineSource : public LineSource {
 public:
  explicit TextLineSource(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line) override;
  LinePosition Position() const override { return {at_, number_}; }
  bool Seek(const LinePosition& position) override;
  bool cut() const override { return cut_; }
  bool failed() const override { return false; }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
  std::uint64_t number_ = 1;
  bool cut_ = false;
};

// A source of bytes: a file, a COM stream, a socket.
class ByteReader {
 public:
  virtual ~ByteReader() = default;
  // Up to `size` bytes into `buffer`; 0 at the end or on an error (failed()).
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
  // Continues at byte `offset` from the start; false where it cannot.
  virtual bool SeekTo(std::uint64_t offset) = 0;
  virtual bool failed() const = 0;
};

// A C stream as a ByteReader. Does not close it.
class FileByteReader : public ByteReader {
 public:
  explicit FileByteReader(std::FILE* file) : file_(file) {}
  std::size_t Read(char* buffer, std::size_t size) override;
  bool SeekTo(std::uint64_t offset) override;
  bool failed() const override { return failed_; }

 private:
  std::FILE* file_;
  bool failed_ = false;
};

// The lines of a ByteReader, read through a buffer of `buffer_size` bytes.
class StreamLineSource : public LineSource {
 public:
  explicit StreamLineSource(ByteReader& reader, std::size_t buffer_size = 1 << 16);
  bool Next(std::string_view& line) override;
  LinePosition Position() const override { return {base_ + at_, number_}; }
  bool Seek(const LinePosition& position) override;
  bool cut() const override { return cut_; }
  bool failed() const override { return reader_.failed(); }

 private:
  bool Refill();
  void Keep(const char* begin, const char* end);

  ByteReader& reader_;
  std::vector<char> buffer_;
  std::size_t size_ = 0;    // bytes in buffer_
  std::size_t at_ = 0;      // next unread byte in buffer_
  std::uint64_t base_ = 0;  // offset of buffer_[0]
  std::uint64_t number_ = 1;
  std::string line_;  // a line that spans two fills of the buffer
  bool cut_ = false;
  bool ended_ = false;
};

}  // namespace zu::gcode
