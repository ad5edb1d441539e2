#include "ui/post_code_choice.h"

#include "ui/post_code_dlg.h"

namespace zu {

PostCodeChoice RunPostCodeDialog() {
  CPostCodeDlg dialog;
  PostCodeChoice choice;
  choice.result = static_cast<int>(dialog.DoModal());
  choice.mode = dialog.mode;
  choice.code_file = dialog.code_file;
  choice.tool_location_file = dialog.tool_location_file;
  return choice;
}

}  // namespace zu
