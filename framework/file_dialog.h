// The common open and save file dialogs. Under automation the real dialog is
// shown and answered by the script's "file" step (the name is typed into the
// dialog and OK pressed) or "cancel" step; with no such step it is cancelled.
// Windows only.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <optional>

#include "framework/text.h"

namespace zu {

struct FileDialogOptions {
  bool save = false;       // false: an open dialog
  Text default_extension;  // added to a name typed without one, e.g. "cut"
  Text filter;             // "Code files (*.cut)|*.cut|All files (*.*)|*.*||"
  Text initial_folder;     // empty: the system's choice
  Text initial_name;       // the name shown at first
  Text title;              // empty: the system's "Open" or "Save As"
  DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
};

// Runs the dialog; returns the chosen full path (ANSI code page), or nullopt
// when it was cancelled or failed.
std::optional<Text> RunFileDialog(const FileDialogOptions& options, HWND owner = nullptr);

// The filter in the system's form: '|' separators become NUL characters.
std::string SystemFilter(const Text& filter);

}  // namespace zu
