// Thin wrappers for the controls the dialogs use: list view, combo box and
// rich edit. Each wraps a control window that its dialog owns; the wrapper
// owns nothing. Texts are in the ANSI code page. Windows only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>

#include "framework/text.h"

namespace zu {

// A report-style list view with one column and full-row selection.
class ListView {
 public:
  explicit ListView(HWND control = nullptr) : control_(control) {}
  void Attach(HWND control) { control_ = control; }
  HWND hwnd() const { return control_; }

  // Report view, one column `width` pixels wide titled `title`, full-row
  // selection. Items are not selected by hovering over them.
  void SetUpSingleColumn(const char* title, int width);
  // Appends an item; returns its index, or -1.
  int AddItem(const char* text);
  void DeleteAll();
  int Count() const;
  Text ItemText(int index) const;
  // The first item whose text is `text`, or -1.
  int FindItem(const char* text) const;
  // The highlighted ("hot") item; -1 for none.
  void SetHotItem(int index);
  int HotItem() const;
  // Selects and focuses `index` alone (-1 clears the selection).
  void Select(int index);
  // Scrolls the list so that `index` is visible.
  void EnsureVisible(int index);
  // The first visible item, and how many items a page shows whole.
  int TopIndex() const;
  int CountPerPage() const;
  int SelectedItem() const;

  // The item of a click or double-click notification (NM_CLICK, NM_DBLCLK),
  // -1 when the click hit no item.
  static int ClickedItem(const NMHDR& header);

 private:
  HWND control_;
};

// A drop-down list combo box.
class ComboBox {
 public:
  explicit ComboBox(HWND control = nullptr) : control_(control) {}
  void Attach(HWND control) { control_ = control; }
  HWND hwnd() const { return control_; }

  // Adds an item (in sorted place when the control sorts); returns its index.
  int AddString(const char* text);
  void ResetContent();
  int Count() const;
  Text TextAt(int index) const;
  // The selected index, or -1.
  int CurSel() const;
  // Selects `index` (-1 clears); false when it is out of range.
  bool SetCurSel(int index);
  // Selects the item whose text is `text` exactly; false when there is none.
  bool SelectExact(const char* text);

 private:
  HWND control_;
};

// A rich edit control holding plain text.
class RichEdit {
 public:
  explicit RichEdit(HWND control = nullptr) : control_(control) {}
  void Attach(HWND control) { control_ = control; }
  HWND hwnd() const { return control_; }

  // Replaces the contents with `text`, streamed in as plain text.
  void SetPlainText(const std::string& text);
  // The contents, streamed out as plain text.
  std::string PlainText() const;

  // Replaces the contents with the plain text read from `file` (an open file
  // handle), from its position to its end. False when a read failed; the
  // control may then hold the part read before.
  bool LoadPlainText(HANDLE file);
  // Writes the contents as plain text to `file` at its position. False when
  // a write failed.
  bool SavePlainText(HANDLE file) const;

  // The most characters the control holds, typed or streamed in; the
  // control's own limit (32K or 64K characters) would cut a longer file
  // short.
  void SetTextLimit(LONG characters);
  // Selects characters `first` up to `last` (not included).
  void SetSelection(LONG first, LONG last);
  // The selection: its first character and the one after its last.
  std::pair<LONG, LONG> Selection() const;

 private:
  HWND control_;
};

}  // namespace zu
