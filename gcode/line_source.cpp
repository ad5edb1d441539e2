#include "gcode/line_source.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zu::gcode {
namespace {

// The first LF or CR in [p, end), or end: sixteen bytes at a time where
// the processor compares that many at once, then eight at a time (a byte of
// w equal to b is a zero byte of w ^ bbbbbbbb, and the lowest byte the
// zero-byte test marks is the first zero byte: a borrow marks only bytes
// above it), then one.
const char* FindLineEnd(const char* p, const char* end) {
#ifdef __SSE2__
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  while (end - p >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int marks =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr)));
    if (marks != 0)
      return p + std::countr_zero(static_cast<unsigned>(marks));
    p += 16;
  }
#endif
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighs = 0x8080808080808080;
    while (end - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      const std::uint64_t lf = word ^ (kOnes * '\n');
      const std::uint64_t cr = word ^ (kOnes * '\r');
      const std::uint64_t marks = ((lf - kOnes) & ~lf & kHighs) | ((cr - kOnes) & ~cr & kHighs);
      if (marks != 0)
        return p + std::countr_zero(marks) / 8;
      p += 8;
    }
  }
  while (p != end && *p != '\n' && *p != '\r')
    ++p;
  return p;
}

}  // namespace

bool TextLineSource::Next(std::string_view& line) {
  cut_ = false;
  if (at_ >= text_.size())
    return false;
  const char* const begin = text_.data() + at_;
  const char* const end = text_.data() + text_.size();
  const char* p = FindLineEnd(begin, end);
  std::size_t length = static_cast<std::size_t>(p - begin);
  if (p != end) {
    if (*p == '\r' && p + 1 != end && p[1] == '\n')
      ++p;
    ++p;
  }
  at_ = static_cast<std::size_t>(p - text_.data());
  ++number_;
  if (length > kMaxLineLength) {
    length = kMaxLineLength;
    cut_ = true;
  }
  line = std::string_view(begin, length);
  return true;
}

bool TextLineSource::Seek(const LinePosition& position) {
  if (position.offset > text_.size())
    return false;
  at_ = static_cast<std::size_t>(position.offset);
  number_ = position.number;
  return true;
}

std::size_t FileByteReader::Read(char* buffer, std::size_t size) {
  const std::size_t got = std::fread(buffer, 1, size, file_);
  if (got == 0 && std::ferror(file_))
    failed_ = true;
  return got;
}

bool FileByteReader::SeekTo(std::uint64_t offset) {
#ifdef _WIN32
  const bool ok = _fseeki64(file_, static_cast<long long>(offset), SEEK_SET) == 0;
#else
  const bool ok = offset <= static_cast<std::uint64_t>(std::numeric_limits<long>::max()) &&
                  std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0;
#endif
  if (ok)
    std::clearerr(file_);
  return ok;
}

StreamLineSource::StreamLineSource(ByteReader& reader, std::size_t buffer_size)
    : reader_(reader), buffer_(std::max<std::size_t>(buffer_size, 16)) {}

bool StreamLineSource::Refill() {
  base_ += size_;
  at_ = 0;
  size_ = ended_ ? 0 : reader_.Read(buffer_.data(), buffer_.size());
  if (size_ == 0)
    ended_ = true;
  return size_ != 0;
}

void StreamLineSource::Keep(const char* begin, const char* end) {
  const std::size_t room = kMaxLineLength + 1 - std::min(line_.size(), kMaxLineLength + 1);
  line_.append(begin, std::min(static_cast<std::size_t>(end - begin), room));
}

bool StreamLineSource::Next(std::string_view& line) {
  cut_ = false;
  line_.clear();
  bool spans = false;  // the line began in an earlier fill
  while (true) {
    if (at_ == size_ && !Refill()) {
      if (!spans)
        return false;
      break;  // the last line, without an end
    }
    const char* const begin = buffer_.data() + at_;
    const char* const end = buffer_.data() + size_;
    const char* p = FindLineEnd(begin, end);
    if (p == end) {
      Keep(begin, end);
      at_ = size_;
      spans = true;
      continue;
    }
    const bool carriage_return = *p == '\r';
    at_ = static_cast<std::size_t>(p + 1 - buffer_.data());
    if (carriage_return) {
      if (at_ == size_) {
        // The LF of a CR LF may be in the next fill.
        Keep(begin, p);
        spans = true;
        if (Refill() && buffer_[0] == '\n')
          at_ = 1;
        break;
      }
      if (buffer_[at_] == '\n')
        ++at_;
    }
    if (!spans) {
      ++number_;
      std::size_t length = static_cast<std::size_t>(p - begin);
      if (length > kMaxLineLength) {
        length = kMaxLineLength;
        cut_ = true;
      }
      line = std::string_view(begin, length);
      return true;
    }
    Keep(begin, p);
    break;
  }
  ++number_;
  if (line_.size() > kMaxLineLength) {
    line_.resize(kMaxLineLength);
    cut_ = true;
  }
  line = line_;
  return true;
}

bool StreamLineSource::Seek(const LinePosition& position) {
  if (position.offset >= base_ && position.offset <= base_ + size_) {
    at_ = static_cast<std::size_t>(position.offset - base_);
  } else {
    if (!reader_.SeekTo(position.offset))
      return false;
    base_ = position.offset;
    size_ = 0;
    at_ = 0;
    ended_ = false;
  }
  number_ = position.number;
  return true;
}

}  // namespace zu::gcode
