// Numbers as G code writes them: the exact decimal rounding of the value to
// a number of decimals, trailing zeros left out, never an exponent, never
// "-0". Coordinates and feeds keep their point ("10.", which a control that
// reads numbers without a point as increments takes as 10 mm); counts and
// registers are integers.
#pragma once

#include <string>

namespace zu::codewriter {

// Appends `value` rounded to `decimals` (0 to 9) with its point kept.
void AppendDecimal(std::string& out, double value, int decimals);
// Appends `value` rounded to `decimals`, without a point when it is whole.
void AppendPlain(std::string& out, double value, int decimals);
void AppendInteger(std::string& out, long long value);

}  // namespace zu::codewriter
