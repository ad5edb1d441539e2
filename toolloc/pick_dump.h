// The pick dump file a host's post hook may name: one line per picked path
// appended to it, its work system's origin, X axis and Y axis as nine numbers
// with six decimals, each followed by ','.
#pragma once

#include "host/services.h"

namespace zu {

// Appends the lines for the list from `first` to `file` (created when
// missing). A file that cannot be opened is skipped: the dump is the host's
// aid, not part of the post.
void AppendPickDump(const char* file, const PickNode* first);

}  // namespace zu
