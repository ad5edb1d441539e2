// Small helpers for command-level tests: UTF-8 literals, and files read
// whole or by lines.
#pragma once

#include <string>
#include <vector>

namespace zutest {

// A u8 literal as a std::string of its UTF-8 bytes.
std::string U8(const char8_t* text);
// The bytes of a file; empty when it cannot be read.
std::string ReadBytes(const std::string& path);
// The lines of a file without their '\n' (a '\r' before it is kept).
std::vector<std::string> Lines(const std::string& path);

}  // namespace zutest
