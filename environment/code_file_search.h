// The code files a post processor run made: it may write more than the one
// asked for (NC0001.cut, then NC0001_2.cut, ...), all named after it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zu {

// The search pattern for the code files of `code_file`: split at its last
// '.', the stem, '*' and the extension; without a '.', the whole name, '*'
// and ".cut". C:\t\NC0001.cut gives C:\t\NC0001*.cut.
std::string CodeFilePattern(std::string_view code_file);

// The folder part of a code-file pattern, up to and with its last '\\'
// (read character by character: a double-byte character's second byte is
// no separator); empty when it has none.
std::string_view PatternFolder(std::string_view pattern);

// The current time as a file time: 100-nanosecond intervals since 1601.
// Windows only.
std::uint64_t FileTimeNow();

// The full paths of the files matching CodeFilePattern(code_file) that were
// last written at or after the file time `written_since` (0: whatever their
// time), in the order the file system reports them. Windows only.
std::vector<std::string> FindCodeFiles(std::string_view code_file, std::uint64_t written_since = 0);

}  // namespace zu
