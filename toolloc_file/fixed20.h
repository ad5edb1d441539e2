// Real numbers of the text tool-location file, written exactly as C's
// printf("%.20f") writes them: fixed-point, twenty decimals, no exponent, a
// '-' for every negative value (also -0.0 and negatives that round to zero),
// and the exact binary value correctly rounded to the twentieth decimal, ties
// to even. No locale: the decimal point is always '.'.
#pragma once

#include <cstddef>
#include <string>

namespace zu {

// The longest text FormatFixed20 writes: -DBL_MAX has 309 integer digits,
// plus the sign, the point and twenty decimals.
inline constexpr std::size_t kFixed20MaxLength = 1 + 309 + 1 + 20;

// Writes `value` as "%.20f" into out[0..n) and returns n; out must have room
// for kFixed20MaxLength characters and gets no terminating '\0'. Infinity and
// NaN have no such text: for them it writes nothing and returns 0.
[[nodiscard]] std::size_t FormatFixed20(double value, char* out);

// Appends the text of `value` to `out` and returns true; for infinity or NaN
// it returns false and leaves `out` as it was.
[[nodiscard]] bool AppendFixed20(std::string& out, double value);

}  // namespace zu
