// What the user chose in the post-code dialog of entry point 1's first call.
#pragma once

#include "framework/text.h"

namespace zu {

struct PostCodeChoice {
  int result = 2;           // IDOK (1) or IDCANCEL (2)
  int mode = 0;             // 0 pick paths, 1 post an existing tool-location file
  Text code_file;           // the code file to be written
  Text tool_location_file;  // mode 1: the tool-location file to post
};

// Runs the post-code dialog on PostSettings; on OK the settings are saved.
PostCodeChoice RunPostCodeDialog();

}  // namespace zu
