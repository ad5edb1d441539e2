// The code display dialog (resource 9002) of the text road: the code files a
// post run produced, one at a time in a rich edit, chosen by name from a
// sorted list; Save writes the edited text back over the shown file. The
// caller sets the file shown first and the files to list, and ignores the
// result. Windows only.
#pragma once

#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/text.h"
#include "framework/text_array.h"

namespace zu {

class CCodeViewDlg : public ModalDialog {
 public:
  explicit CCodeViewDlg(HWND parent = nullptr);

  // The file shown: set by the caller, then the last one loaded (even when
  // it could not be opened).
  Text current_file;
  // The full paths of the files to list. Their names are listed; a path
  // without '\\' is skipped.
  TextArray files;
  // The folder of the last listed path: a chosen name is opened there.
  Text file_folder;

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  // Makes `path` the current file and shows it; a file that cannot be
  // opened leaves the text as it was.
  void Load(const Text& path);
  // Writes the text over the file it was loaded from; nothing when no file
  // was loaded, or that one cannot be opened (or no longer exists).
  void Save();

  ComboBox names_;
  RichEdit text_;
  // The file the text was loaded from: a file that could not be read is the
  // current file, but its text is another file's, which must not be saved
  // over it.
  Text shown_file_;
};

}  // namespace zu
