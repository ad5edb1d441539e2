// For reader tests: a file's text, every line ended by CR LF, cut into its
// lines and changed in one place, to see what the reader makes of it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zu::fio_testing {

// The lines of `text` without their CR LF (a last line without one too).
std::vector<std::string> CrLfLinesOf(std::string_view text);

// The lines, each ended by CR LF.
std::string JoinedWithCrLf(const std::vector<std::string>& lines);

enum class Edit { Replace, InsertBefore, Remove };

// `text` with line `number` (from 1) replaced by `lines` ('\n' between
// them), those lines inserted before it, or the line removed (`lines` then
// unused).
std::string Edited(std::string_view text, int number, Edit edit, std::string_view lines = {});

}  // namespace zu::fio_testing
