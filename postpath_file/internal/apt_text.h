// The text forms the post-path file's writer and reader share: numbers,
// the escaped texts of PPRINT/ZU records and PARTNO, and how a statement
// longer than a line is broken. The writer writes with these functions; the
// reader reads and then writes again with them, and refuses what comes out
// different, so that both agree on every byte. Internal to postpath_file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zu::ppf_internal {

// The widest line of the file, in bytes.
inline constexpr std::size_t kLineWidth = 72;

// Line starts of PPRINT/ZU records: the first line of a record, and each
// line that continues it.
inline constexpr std::string_view kPprintFirst = "PPRINT/ZU ";
inline constexpr std::string_view kPprintNext = "PPRINT/ZU+";

// --- Numbers.

// Room for the longest text AppendReal writes (under 330 bytes: a sign and
// the 309 digits of DBL_MAX, or "0." and the 324 decimals of the smallest
// subnormal).
inline constexpr std::size_t kRealMaxLength = 400;

// Appends the shortest fixed-point text that reads back as `value` (no
// exponent; "-0" for -0.0); false, and nothing appended, for infinity and
// NaN.
[[nodiscard]] bool AppendReal(std::string& out, double value);

// Reads a real exactly as AppendReal writes it.
enum class RealError {
  None,
  Shape,        // not digits, an optional '-' and an optional '.' with digits
  Range,        // beyond the largest double
  NotShortest,  // another text of the number: `canonical` holds its own
};
RealError ParseReal(std::string_view text, double& value, std::string* canonical = nullptr);

void AppendInt(std::string& out, int value);

// Reads an int as "%d" writes it: an optional '-', no '+', no leading zero,
// no "-0". False when the text is not one or does not fit.
enum class IntError { None, Shape, Range };
IntError ParseInt(std::string_view text, int& value);

// --- Texts.

// Whether a text may stand in the file: no CR, no LF, no NUL.
bool IsWritableText(std::string_view text);

// Appends the lines of a PPRINT/ZU record whose payload is `payload`
// (a word and its fields, texts unescaped): kPprintFirst and the first
// piece, then kPprintNext and each further piece, every line ended by
// `line_end` and at most kLineWidth bytes. Escapes: '%', '$', control bytes
// and DEL as "%XX" (two upper-case hex digits), and a blank that ends a
// piece as "%20". A piece ends after the last ',' that fits when the rest
// does not fit whole; it never splits an escape or a GBK character. The
// payload holds no CR, LF or NUL.
void AppendPprintLines(std::string& out, std::string_view payload, std::string_view line_end);

// The PARTNO line (without its line end) that shows `name`: "PARTNO" and,
// unless the name is empty, a blank and as much of the escaped name as the
// line holds.
void AppendPartnoLine(std::string& out, std::string_view name);

// Appends the bytes one piece of a PPRINT/ZU record or PARTNO stands for;
// false when an escape is not '%' and two upper-case hex digits.
[[nodiscard]] bool DecodePiece(std::string_view piece, std::string& out);

// --- Statements.

// Appends an APT statement (ASCII, no '$') as the file's lines: whole when
// it fits kLineWidth, else broken into lines ended by '$' that hold at most
// kLineWidth - 1 bytes of it, each after the last ',' that fits or, when
// none does, at the width. Every line is ended by `line_end`.
void AppendStatementLines(std::string& out, std::string_view statement, std::string_view line_end);

}  // namespace zu::ppf_internal
