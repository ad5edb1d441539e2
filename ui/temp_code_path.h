// Where the text road puts its code file: a folder of its own for each run,
// from the host's post hook or made fresh under the system's temporary
// folder, so that runs of one process (and of several) never share a file.
// The naming rules are portable; MakeTempCodePath is Windows only.
#pragma once

#include <string>
#include <string_view>

#include "framework/text.h"

class PostHook;

namespace zu {

// What a temporary code folder's name is made of: the local time, a
// pseudo-random number, the code-file name as the person typed it (ANSI)
// and the process's counter.
struct TempFolderNameParts {
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  int random = 0;
  std::string_view typed_name;
  int counter = 0;
};

// "zu2006r3-" followed by month, day, hour, minute, second and millisecond,
// '-', the random number, the typed name and the counter; numbers in
// decimal without leading zeros or separators (3 May 14:05:09.042, 41,
// "NC0001", 1 give "zu2006r3-53145942-41NC00011").
std::string TempCodeFolderName(const TempFolderNameParts& parts);

// `folder` with `file_name` appended after a '\\' (none is doubled); an
// empty folder stands for "C:\\".
std::string CodePathIn(std::string_view folder, std::string_view file_name);

// A code file's full path, and the folder made for it.
struct TempCodePath {
  Text path;
  Text made_folder;  // the sub-folder this call created; empty when none
};

// The full path of the code file `final_name` for a run whose name was typed
// as `typed_name`. The folder is, in this order: the one the host's post
// hook gives (HostGetPostHook; used as it is, nothing is created); a new
// sub-folder of the system's temporary folder named by TempCodeFolderName
// with the local time, std::rand() and the process's counter (which counts
// from 1 and advances on every such name); the temporary folder itself when
// the sub-folder cannot be made; "C:\\" when there is no temporary folder.
// The caller removes made_folder when it does not use the path. Windows
// only.
[[nodiscard]] TempCodePath MakeTempCodePath(const Text& typed_name, const Text& final_name);
// The same with `hook` in place of the host's post hook (null: none).
[[nodiscard]] TempCodePath MakeTempCodePath(PostHook* hook, const Text& typed_name,
                                            const Text& final_name);

}  // namespace zu
