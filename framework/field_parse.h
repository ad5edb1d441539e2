// Parsing of numbers typed into dialog fields, as value exchange accepts them:
// blanks around the number are allowed, anything else is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zu {

// A decimal integer with an optional sign; nullopt when the text is not one
// or does not fit in an int.
std::optional<int> ParseIntField(std::string_view text);

// A decimal real number (C syntax, exponent allowed); nullopt when the text is
// not one, or is infinite or not a number.
std::optional<double> ParseDoubleField(std::string_view text);

// How a double is shown in a field: 15 significant digits, "%.15g".
std::string FormatDoubleField(double value);

}  // namespace zu
