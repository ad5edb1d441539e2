// Growable text: the framework's string, a byte string in the ANSI code page
// (GBK in the plug-in). It owns its bytes; copies are independent.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>

namespace zu {

// Index of the last character `c` (a single-byte character) of `text` in
// the ANSI code page (GBK: a byte 0x81-0xFE leads a double-byte character),
// or std::string_view::npos when there is none. A lead byte at the very end
// stands alone.
std::size_t FindLastCharacter(std::string_view text, char c);

class Text {
 public:
  Text() = default;
  Text(const char* s) : bytes_(s ? s : "") {}    // NOLINT: implicit like the UI library's
  Text(std::string_view s) : bytes_(s) {}        // NOLINT
  Text(std::string s) : bytes_(std::move(s)) {}  // NOLINT

  // Replaces the text with printf-style output. A format error leaves it empty.
  [[gnu::format(printf, 2, 3)]] Text& Format(const char* format, ...);
  // The same with the arguments in a va_list.
  Text& FormatV(const char* format, va_list args);

  const char* c_str() const { return bytes_.c_str(); }
  operator const char*() const { return bytes_.c_str(); }  // NOLINT
  const std::string& str() const { return bytes_; }
  std::string& str() { return bytes_; }

  std::size_t Length() const { return bytes_.size(); }
  bool IsEmpty() const { return bytes_.empty(); }
  void Empty() { bytes_.clear(); }

  // Index of the first `c` at or after `from`, or -1 when there is none.
  int Find(char c, std::size_t from = 0) const;
  // Index of the last character `c`, or -1 when there is none. The text is
  // read character by character in the ANSI code page: the second byte of a
  // double-byte character is never taken for `c` (in GBK it can be '\\').
  int ReverseFind(char c) const;
  // The first `count` bytes (all of them when `count` is larger).
  Text Left(std::size_t count) const { return Text(bytes_.substr(0, count)); }
  // From `first` to the end, or `count` bytes; empty when `first` is past the end.
  Text Mid(std::size_t first, std::size_t count = std::string::npos) const;

  Text& operator+=(std::string_view s) {
    bytes_ += s;
    return *this;
  }
  Text& operator+=(char c) {
    bytes_ += c;
    return *this;
  }
  friend Text operator+(Text a, std::string_view b) { return a += b; }
  friend bool operator==(const Text& a, const Text& b) = default;
  friend bool operator==(const Text& a, const char* b) { return a.bytes_ == (b ? b : ""); }

 private:
  std::string bytes_;
};

}  // namespace zu
