#include "framework/text_file.h"

#include <cstdarg>

#include "framework/text.h"

namespace zu {
namespace {

#if defined(_WIN32)
constexpr bool kCrtTranslates = true;
#else
constexpr bool kCrtTranslates = false;
#endif

std::string BinaryMode(const char* mode) {
  std::string m = mode;
  if (!kCrtTranslates)
    m.insert(1, "b");
  return m;
}

}  // namespace

TextFile::TextFile(const char* path, const char* mode)
    : file_(std::fopen(path, BinaryMode(mode).c_str())) {}

TextFile::~TextFile() {
  Close();
}

bool TextFile::Close() {
  if (!file_)
    return true;
  const bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  return ok;
}

bool TextFile::Write(std::string_view text) {
  if (!file_)
    return false;
  if (kCrtTranslates)
    return std::fwrite(text.data(), 1, text.size(), file_) == text.size();
  std::string out;
  out.reserve(text.size() + 16);
  for (char c : text) {
    if (c == '\n')
      out += '\r';
    out += c;
  }
  return std::fwrite(out.data(), 1, out.size(), file_) == out.size();
}

bool TextFile::Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Text text;
  text.FormatV(format, args);
  va_end(args);
  return Write(text.str());
}

bool TextFile::ReadLine(std::string& line, std::size_t max_length, bool& too_long, bool& ended) {
  line.clear();
  too_long = false;
  ended = false;
  if (!file_)
    return false;
  bool any = false;
  for (int c; (c = std::fgetc(file_)) != EOF;) {
    any = true;
    if (c == '\n') {
      ended = true;
      break;
    }
    if (line.size() < max_length) {
      line += static_cast<char>(c);
    } else {
      too_long = true;
    }
  }
  // Natively a CR LF line end arrives whole; text mode has already made it LF.
  if (!kCrtTranslates && ended && !line.empty() && line.back() == '\r' && !too_long) {
    line.pop_back();
  }
  return any;
}

}  // namespace zu
