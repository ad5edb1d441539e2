#include "ui/post_code_choice.h"

#include "shell/post_settings.h"

namespace zu {

// The post-code dialog is not built yet: the choice is the saved settings,
// as if the dialog had been confirmed unchanged.
PostCodeChoice RunPostCodeDialog() {
  PostCodeChoice choice;
  choice.result = 1;
  choice.mode = PostSettings.PickPath;
  choice.code_file = PostSettings.CodePathName;
  choice.tool_location_file = PostSettings.PmfPathName;
  return choice;
}

}  // namespace zu
