// Text and numbers as they may stand in an SVG file.
#pragma once

#include <string>
#include <string_view>

namespace zu::draw {

// `text` as XML character data or an attribute's value (in double quotes):
// & < > " ' escaped; bytes that are not UTF-8, and control characters XML
// cannot hold, each become U+FFFD, so the file stays well formed whatever
// the caller hands in.
std::string EscapeXml(std::string_view text);

// `value` with `decimals` digits after the point, as SVG reads numbers (no
// exponent, a '.' whatever the locale, "-0" printed as "0"). A value that
// is not finite prints as zero: callers check their numbers first; this is
// the last guard that keeps "nan" and "inf" out of a file.
void AppendNumber(std::string& out, double value, int decimals = 3);
std::string Number(double value, int decimals = 3);

// A length for a label: up to three decimals, trailing zeros dropped
// ("12.5", "0.013", "3").
std::string Length(double value);

}  // namespace zu::draw
