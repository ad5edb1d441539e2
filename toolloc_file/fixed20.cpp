#include "toolloc_file/fixed20.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

// A finite double is m * 2^-s with an integer m < 2^53. When |value| < 2^64
// its integer part fits 64 bits and its fraction is a 128-bit binary fixed-point
// number, exactly. Multiplying that fraction by 10^8, 10^8 and 10^4 moves the
// twenty decimals out of it, exactly too; what is left decides the rounding.
// Larger values are integers with up to 309 digits and go to std::to_chars,
// which the C++ standard defines to write what printf writes.

namespace zu {
namespace {

// 128 bits as two halves: the 32-bit Windows compiler has no __int128.
struct U128 {
  std::uint64_t hi;
  std::uint64_t lo;
};

// a * b, exactly.
inline U128 MulBy32(std::uint64_t a, std::uint32_t b) {
#ifdef __SIZEOF_INT128__
  const unsigned __int128 p = static_cast<unsigned __int128>(a) * b;
  return {static_cast<std::uint64_t>(p >> 64), static_cast<std::uint64_t>(p)};
#else
  // Two 32x32->64 products: (a_hi * 2^32 + a_lo) * b.
  const std::uint64_t low = static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) * b;
  const std::uint64_t high = static_cast<std::uint64_t>(static_cast<std::uint32_t>(a >> 32)) * b;
  const std::uint64_t lo = low + (high << 32);
  return {(high >> 32) + (lo < low ? 1 : 0), lo};
#endif
}

// Multiplies the fraction (frac / 2^128) by `scale` and returns the integer
// part that leaves it (less than `scale`); the rest stays in `frac`.
inline std::uint32_t TakeDigits(U128& frac, std::uint32_t scale) {
  const U128 low = MulBy32(frac.lo, scale);
  const U128 high = MulBy32(frac.hi, scale);
  frac.lo = low.lo;
  frac.hi = high.lo + low.hi;
  return static_cast<std::uint32_t>(high.hi + (frac.hi < low.hi ? 1 : 0));
}

// The same for a fraction of 64 bits (frac / 2^64).
inline std::uint32_t TakeDigits(std::uint64_t& frac, std::uint32_t scale) {
  const U128 product = MulBy32(frac, scale);
  frac = product.lo;
  return static_cast<std::uint32_t>(product.hi);
}

constexpr std::array<char, 200> MakeDigitPairs() {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}
constexpr std::array<char, 200> kDigitPairs = MakeDigitPairs();

inline void WritePair(char* p, std::uint32_t v) {
  std::memcpy(p, &kDigitPairs[2 * v], 2);
}

// Exactly four digits of v < 10^4.
inline void Write4(char* p, std::uint32_t v) {
  WritePair(p, v / 100);
  WritePair(p + 2, v % 100);
}

// Exactly eight digits of v < 10^8.
inline void Write8(char* p, std::uint32_t v) {
  Write4(p, v / 10000);
  Write4(p + 4, v % 10000);
}

// The digits of v, no leading zeros; returns the end.
char* WriteUint32(char* p, std::uint32_t v) {
  int count = 1;
  for (std::uint32_t limit = 10; count < 10 && v >= limit; limit *= 10)
    ++count;
  char* const end = p + count;
  char* q = end;
  while (v >= 100) {
    q -= 2;
    WritePair(q, v % 100);
    v /= 100;
  }
  if (v >= 10)
    WritePair(q - 2, v);
  else
    q[-1] = static_cast<char>('0' + v);
  return end;
}

// The same for 64 bits. Values above 2^32 are split into eight-digit groups
// first, so that the 32-bit compiler divides 64 bits only once or twice.
char* WriteUint64(char* p, std::uint64_t v) {
  if (v <= 0xffffffffu)
    return WriteUint32(p, static_cast<std::uint32_t>(v));
  const std::uint64_t top = v / 100000000;
  const auto low = static_cast<std::uint32_t>(v % 100000000);
  if (top <= 0xffffffffu) {
    p = WriteUint32(p, static_cast<std::uint32_t>(top));
  } else {
    p = WriteUint32(p, static_cast<std::uint32_t>(top / 100000000));
    Write8(p, static_cast<std::uint32_t>(top % 100000000));
    p += 8;
  }
  Write8(p, low);
  return p + 8;
}

}  // namespace

std::size_t FormatFixed20(double value, char* out) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const auto biased_exponent = static_cast<int>((bits >> 52) & 0x7ff);
  if (biased_exponent == 0x7ff)
    return 0;  // infinity or NaN
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int shift = 1074;  // value = mantissa * 2^-shift
  if (biased_exponent != 0) {
    mantissa |= std::uint64_t{1} << 52;
    shift = 1075 - biased_exponent;
  }
  if (shift < -11) {
    // |value| >= 2^64: an integer too long for 64 bits. Rare in a tool path.
    const auto result =
        std::to_chars(out, out + kFixed20MaxLength, value, std::chars_format::fixed, 20);
    return result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - out) : 0;
  }

  std::uint64_t integer = 0;
  U128 frac{0, 0};  // the fraction, as frac / 2^128
  if (shift <= 0) {
    integer = mantissa << -shift;
  } else if (shift < 64) {
    integer = mantissa >> shift;
    frac.hi = (mantissa & ((std::uint64_t{1} << shift) - 1)) << (64 - shift);
  } else if (shift == 64) {
    frac.hi = mantissa;
  } else if (shift < 128) {
    frac.hi = mantissa >> (shift - 64);
    frac.lo = mantissa << (128 - shift);
  } else if (shift == 128) {
    frac.lo = mantissa;
  }
  // Beyond 2^-128 the value is below 2^53 * 2^-129 < 10^-22 and rounds to zero.

  char* p = out;
  if (bits >> 63)
    *p++ = '-';
  if (frac.hi == 0 && frac.lo == 0) {
    p = WriteUint64(p, integer);
    std::memcpy(p, ".00000000000000000000", 21);
    return static_cast<std::size_t>(p + 21 - out);
  }

  // A fraction held in the high half alone (always so from 2^-12 up) takes
  // one multiplication per group of digits instead of two.
  std::uint32_t first8, next8, last4;
  if (frac.lo == 0) {
    first8 = TakeDigits(frac.hi, 100000000);
    next8 = TakeDigits(frac.hi, 100000000);
    last4 = TakeDigits(frac.hi, 10000);
  } else {
    first8 = TakeDigits(frac, 100000000);
    next8 = TakeDigits(frac, 100000000);
    last4 = TakeDigits(frac, 10000);
  }
  // What is left is below one unit of the twentieth decimal: more than half
  // rounds up, exactly half rounds to even.
  constexpr std::uint64_t kHalf = std::uint64_t{1} << 63;
  if (frac.hi > kHalf || (frac.hi == kHalf && (frac.lo != 0 || (last4 & 1) != 0))) {
    if (++last4 == 10000) {
      last4 = 0;
      if (++next8 == 100000000) {
        next8 = 0;
        if (++first8 == 100000000) {
          first8 = 0;
          ++integer;  // unreachable: a fraction is at most 1 - 2^-53
        }
      }
    }
  }

  p = WriteUint64(p, integer);
  *p = '.';
  Write8(p + 1, first8);
  Write8(p + 9, next8);
  Write4(p + 17, last4);
  return static_cast<std::size_t>(p + 21 - out);
}

bool AppendFixed20(std::string& out, double value) {
  char text[kFixed20MaxLength];
  const std::size_t length = FormatFixed20(value, text);
  if (length == 0)
    return false;
  out.append(text, length);
  return true;
}

}  // namespace zu
