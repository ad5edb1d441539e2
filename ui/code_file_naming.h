// Automatic naming of code files, and the test of a code file's folder.
// Portable: the file-system test is the platform's FolderMissing.
#pragma once

#include <string>
#include <string_view>

namespace zu {

// The code file `code_path` renamed by the naming rule `rule` and `serial`:
// each run of k '#' in the rule becomes the serial zero-padded to k digits
// (more when the serial is longer); an empty rule gives "NC%04d". The folder
// and extension of `code_path` are kept (".cut" when its file name has no
// '.'). A path without '\\' is returned unchanged, and so is every path when
// `use_current_name` is non-zero.
std::string BuildCodeFileName(std::string_view code_path, std::string_view rule, int serial,
                              int use_current_name);

// What CodeFolderMissing tests for `path`: the text before the last '\\'
// when the file name after it has a '.', else the whole path. Empty for an
// empty path.
std::string CodeFolderOf(std::string_view path);

// -1 for an empty path; else 0 when something exists at CodeFolderOf(path),
// 1 when nothing does.
int CodeFolderMissing(const char* path);

// A machine configuration's list name: trailing white space, then trailing
// 'm', 'c' and 'f' characters of either case, then trailing '.' removed
// ("x.mcf" and "x.MCF" give "x").
std::string McfListName(std::string_view file_name);

}  // namespace zu
