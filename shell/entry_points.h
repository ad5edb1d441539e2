// The plug-in's six commands, one per entry of the host's post menu. The
// library exports them by ordinal only (zupost.def): 1 generate post code,
// 2 post settings, 3 edit machine configuration, 4 verify G code, 5 post
// through the text tool-location file, 6 read G code back. Each runs to its
// end on the host's user-interface thread and returns 0 when the command has
// ended; entry point 1 returns 1 while the host is picking paths for it.
#pragma once

#include "framework/text_array.h"

extern "C" {

// Ordinal 1. `call_state` points to 0 on the call from the menu, 1 when the
// host's path picking has ended. Returns 1 while picking continues (and for
// any other call state), else 0.
int CmdGeneratePostCode(int* call_state);

// Ordinal 2. Edits the viewer and optimisation settings. Returns 0.
int CmdPostSettings();

// Ordinal 3. Starts the machine-configuration editor. Returns 0.
int CmdEditMachineConfig();

// Ordinal 4. Reads a G-code file chosen in the verify dialog back into paths.
// Returns 1.
int CmdVerifyCode();

// Ordinal 5. Posts the picked paths through the text tool-location file and
// appends the full paths of the code files produced to `code_files` (owned by
// the caller). Returns 1 after a complete run, 0 when it ends early.
int CmdPostToCode(zu::TextArray* code_files);

// Ordinal 6. Reads the G-code file `code_file` back into paths. Returns 1, or
// 0 when reading failed with an exception.
int CmdReadBackCode(const char* code_file);
}
