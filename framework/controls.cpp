#include "framework/controls.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace zu {

void ListView::SetUpSingleColumn(const char* title, int width) {
  LONG style = GetWindowLongA(control_, GWL_STYLE);
  style = (style & ~LVS_TYPEMASK) | LVS_REPORT;
  SetWindowLongA(control_, GWL_STYLE, style);
  ListView_SetExtendedListViewStyle(control_, LVS_EX_FULLROWSELECT);
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<char*>(title);
  column.cx = width;
  SendMessageA(control_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
}

int ListView::AddItem(const char* text) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = Count();
  item.pszText = const_cast<char*>(text);
  return static_cast<int>(
      SendMessageA(control_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListView::DeleteAll() {
  SendMessageA(control_, LVM_DELETEALLITEMS, 0, 0);
}

int ListView::Count() const {
  return static_cast<int>(SendMessageA(control_, LVM_GETITEMCOUNT, 0, 0));
}

Text ListView::ItemText(int index) const {
  std::vector<char> buffer(1024, '\0');
  LVITEMA item{};
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(buffer.size());
  SendMessageA(control_, LVM_GETITEMTEXTA, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
  return Text(buffer.data());
}

int ListView::FindItem(const char* text) const {
  for (int i = 0, n = Count(); i < n; ++i) {
    if (ItemText(i) == text)
      return i;
  }
  return -1;
}

void ListView::SetHotItem(int index) {
  SendMessageA(control_, LVM_SETHOTITEM, static_cast<WPARAM>(index), 0);
}

int ListView::HotItem() const {
  return static_cast<int>(SendMessageA(control_, LVM_GETHOTITEM, 0, 0));
}

void ListView::Select(int index) {
  LVITEMA clear{};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(control_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(&clear));
  if (index < 0)
    return;
  LVITEMA set{};
  set.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  set.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(control_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&set));
}

void ListView::EnsureVisible(int index) {
  SendMessageA(control_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

int ListView::TopIndex() const {
  return static_cast<int>(SendMessageA(control_, LVM_GETTOPINDEX, 0, 0));
}

int ListView::CountPerPage() const {
  return static_cast<int>(SendMessageA(control_, LVM_GETCOUNTPERPAGE, 0, 0));
}

int ListView::SelectedItem() const {
  return static_cast<int>(
      SendMessageA(control_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int ListView::ClickedItem(const NMHDR& header) {
  return reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
}

int ComboBox::AddString(const char* text) {
  return static_cast<int>(SendMessageA(control_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

void ComboBox::ResetContent() {
  SendMessageA(control_, CB_RESETCONTENT, 0, 0);
}

int ComboBox::Count() const {
  return static_cast<int>(SendMessageA(control_, CB_GETCOUNT, 0, 0));
}

Text ComboBox::TextAt(int index) const {
  const LRESULT length = SendMessageA(control_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR)
    return Text();
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(control_, CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(buffer.data()));
  return Text(buffer.data());
}

int ComboBox::CurSel() const {
  return static_cast<int>(SendMessageA(control_, CB_GETCURSEL, 0, 0));
}

bool ComboBox::SetCurSel(int index) {
  const LRESULT result = SendMessageA(control_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  return index < 0 || result != CB_ERR;
}

bool ComboBox::SelectExact(const char* text) {
  const LRESULT index = SendMessageA(control_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(text));
  return index != CB_ERR && SetCurSel(static_cast<int>(index));
}

namespace {

// How many of the `n` bytes just read to hand to a rich edit now; the rest
// is read again for the next chunk. The control converts each chunk from the
// ANSI code page on its own, so a chunk must not end inside a double-byte
// character; and a chunk ending in CR followed by one starting with LF would
// make that one line end two (Wine's control does so). A single byte goes
// whole, so that the stream always moves on.
std::size_t WholeChunk(const BYTE* bytes, std::size_t n) {
  std::size_t end = 0;
  std::size_t keep = 0;
  while (end < n) {
    keep = end;
    end += IsDBCSLeadByte(bytes[end]) ? 2 : 1;
  }
  if (end == n)
    keep = n;
  if (keep > 0 && bytes[keep - 1] == '\r')
    --keep;
  return keep > 0 ? keep : n;
}

struct StreamSource {
  const std::string* text;
  std::size_t offset;
};

DWORD CALLBACK ReadFromText(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto* source = reinterpret_cast<StreamSource*>(cookie);
  const std::size_t left = source->text->size() - source->offset;
  std::size_t n = std::min(left, static_cast<std::size_t>(wanted));
  std::memcpy(buffer, source->text->data() + source->offset, n);
  n = WholeChunk(buffer, n);
  source->offset += n;
  *given = static_cast<LONG>(n);
  return 0;
}

DWORD CALLBACK WriteToText(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer),
                                                 static_cast<std::size_t>(count));
  *taken = count;
  return 0;
}

// A failed read or write hands over nothing and stops the stream.
DWORD CALLBACK ReadFromFile(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  DWORD read = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(wanted), &read,
                nullptr)) {
    *given = 0;
    return 1;
  }
  const std::size_t keep = WholeChunk(buffer, read);
  if (keep < read) {
    LARGE_INTEGER back;
    back.QuadPart = -static_cast<LONGLONG>(read - keep);
    if (!SetFilePointerEx(reinterpret_cast<HANDLE>(cookie), back, nullptr, FILE_CURRENT)) {
      *given = 0;
      return 1;
    }
  }
  *given = static_cast<LONG>(keep);
  return 0;
}

DWORD CALLBACK WriteToFile(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
  DWORD written = 0;
  if (!WriteFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(count), &written,
                 nullptr) ||
      written != static_cast<DWORD>(count)) {
    *taken = 0;
    return 1;
  }
  *taken = count;
  return 0;
}

}  // namespace

void RichEdit::SetPlainText(const std::string& text) {
  StreamSource source{&text, 0};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadFromText};
  SendMessageA(control_, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
}

std::string RichEdit::PlainText() const {
  std::string text;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&text), 0, &WriteToText};
  SendMessageA(control_, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
  return text;
}

bool RichEdit::LoadPlainText(HANDLE file) {
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(file), 0, &ReadFromFile};
  SendMessageA(control_, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
  return stream.dwError == 0;
}

bool RichEdit::SavePlainText(HANDLE file) const {
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(file), 0, &WriteToFile};
  SendMessageA(control_, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
  return stream.dwError == 0;
}

void RichEdit::SetTextLimit(LONG characters) {
  SendMessageA(control_, EM_EXLIMITTEXT, 0, characters);
}

void RichEdit::SetSelection(LONG first, LONG last) {
  CHARRANGE range{first, last};
  SendMessageA(control_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

std::pair<LONG, LONG> RichEdit::Selection() const {
  CHARRANGE range{};
  SendMessageA(control_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return {range.cpMin, range.cpMax};
}

}  // namespace zu
