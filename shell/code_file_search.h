// The code files a post processor run made: it may write more than the one
// asked for (NC0001.cut, then NC0001_2.cut, ...), all named after it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zu {

// The search pattern for the code files of `code_file`: split at its last
// '.', the stem, '*' and the extension; without a '.', the whole name, '*'
// and ".cut". C:\t\NC0001.cut gives C:\t\NC0001*.cut.
std::string CodeFilePattern(std::string_view code_file);

// The full paths of the files matching CodePattern(code_file), in the order
// the file system reports them. Windows only.
std::vector<std::string> FindCodeFiles(std::string_view code_file);

}  // namespace zu
