// Doubles to check the "%.20f" formatter on, by family, and the reference
// texts to check it against: the C library's snprintf and std::to_chars.
// Shared by the formatter's test and its benchmark; the random families are
// seeded, so every run sees the same values.
#pragma once

#include "toolloc_file/fixed20.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>

namespace zu::fixed20_samples {

// How many values the random families draw.
struct Counts {
  std::size_t coordinates;    // |v| in [2^-40, 2^24), about [1e-12, 1e7]
  std::size_t halfway;        // exact ties and their two neighbours: three values each
  std::size_t decimal_steps;  // j / 10^d and its two neighbours: three values each
  std::size_t full_range;     // any finite bit pattern
};

// A double from its sign, its unbiased binary exponent (-1022..1023) and 52
// fraction bits.
inline double FromParts(bool negative, int exponent, std::uint64_t fraction) {
  const std::uint64_t bits = (std::uint64_t{negative} << 63) |
                             (static_cast<std::uint64_t>(exponent + 1023) << 52) |
                             (fraction & ((std::uint64_t{1} << 52) - 1));
  return std::bit_cast<double>(bits);
}

// Calls visit(family, value) for every sample: every power of two and of ten
// of the double range, then the random families of `counts`. Both signs occur
// in every family.
template <class Visit>
void ForEachSample(const Counts& counts, Visit&& visit) {
  for (int e = -1074; e <= 1023; ++e) {
    visit("powers of two", std::ldexp(1.0, e));
    visit("powers of two", -std::ldexp(1.0, e));
  }
  for (int e = -323; e <= 308; ++e) {
    const std::string text = "1e" + std::to_string(e);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    visit("powers of ten", value);
    visit("powers of ten", -value);
  }

  std::mt19937_64 rng(20);
  const auto bit = [&rng] { return (rng() & 1) != 0; };
  // A random integer of 1 to `max_bits` bits, its top bit set.
  const auto integer = [&rng](int max_bits) {
    const int bits = 1 + static_cast<int>(rng() % static_cast<std::uint64_t>(max_bits));
    return (rng() >> (64 - bits)) | (std::uint64_t{1} << (bits - 1));
  };
  const auto with_neighbours = [&visit](const char* family, double value) {
    visit(family, value);
    visit(family, std::nextafter(value, -HUGE_VAL));
    visit(family, std::nextafter(value, HUGE_VAL));
  };

  for (std::size_t i = 0; i < counts.coordinates; ++i)
    visit("coordinates", FromParts(bit(), -40 + static_cast<int>(rng() % 64), rng()));
  // The exact ties at the twentieth decimal are k / 2^21 for odd k: the
  // expansion of 2^-21 has exactly 21 decimals, the last a 5, and no other
  // double's expansion ends in a 5 at the 21st decimal.
  for (std::size_t i = 0; i < counts.halfway; ++i) {
    const double tie = std::ldexp(static_cast<double>(integer(53) | 1), -21);
    with_neighbours("halfway", bit() ? -tie : tie);
  }
  // Values next to a decimal step carry through runs of nines when rounded.
  for (std::size_t i = 0; i < counts.decimal_steps; ++i) {
    const double step = static_cast<double>(integer(40)) / std::pow(10.0, 1 + rng() % 20);
    with_neighbours("decimal steps", bit() ? -step : step);
  }
  for (std::size_t i = 0; i < counts.full_range;) {
    const double value = std::bit_cast<double>(rng());
    if (std::isfinite(value)) {
      visit("full range", value);
      ++i;
    }
  }
}

// Room for any reference text and its terminator.
inline constexpr std::size_t kTextRoom = kFixed20MaxLength + 1;

// The C library's printf("%.20f") of `value`; out holds kTextRoom characters.
inline std::string_view SnprintfFixed20(double value, char* out) {
  const int length = std::snprintf(out, kTextRoom, "%.20f", value);
  return {out, length > 0 ? static_cast<std::size_t>(length) : 0};
}

// std::to_chars's fixed twenty decimals of `value`; out holds kTextRoom
// characters.
inline std::string_view ToCharsFixed20(double value, char* out) {
  const auto result = std::to_chars(out, out + kTextRoom, value, std::chars_format::fixed, 20);
  return {out, static_cast<std::size_t>(result.ptr - out)};
}

// Whether this C library's snprintf writes "%.20f" exactly, judged on values
// whose texts are known (digits beyond the seventeenth, both directions of a
// tie, a long integer, a negative that rounds to zero). When it does not,
// `failure` says on which value and what it wrote.
inline bool SnprintfIsExact(std::string* failure) {
  const struct {
    double value;
    const char* text;
  } known[] = {
      {0.1, "0.10000000000000000555"},     {0x1p-21, "0.00000047683715820312"},
      {0x3p-21, "0.00000143051147460938"}, {0x1p70, "1180591620717411303424.00000000000000000000"},
      {-1e-21, "-0.00000000000000000000"},
  };
  char text[kTextRoom];
  for (const auto& k : known) {
    const std::string_view written = SnprintfFixed20(k.value, text);
    if (written != k.text) {
      *failure = "snprintf(\"%.20f\") writes \"" + std::string(written) +
                 "\" where the exact text is \"" + k.text + "\"";
      return false;
    }
  }
  return true;
}

}  // namespace zu::fixed20_samples
