// dialog_shot MODULE RESOURCE_ID OUT.bmp [ID=TEXT ...]: shows dialog
// RESOURCE_ID of the library or program MODULE, as the plug-in would show
// it, and saves what the screen shows of it as a 24-bit BMP. The module is
// loaded as data, so its load notification does not run. Each ID=TEXT
// fills control ID as the dialog would when it runs: a list view gets one
// item per '|'-separated part, in a column as wide as the list; a combo box
// gets one item per part and shows the first in its order; any other
// control gets TEXT as its text.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

INT_PTR CALLBACK KeepOpen(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

void Pump(DWORD milliseconds) {
  const DWORD until = GetTickCount() + milliseconds;
  while (GetTickCount() < until) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

// The '|'-separated parts of `text`.
std::vector<std::wstring> Parts(const std::wstring& text) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  for (;;) {
    const auto bar = text.find(L'|', start);
    parts.push_back(text.substr(start, bar == std::wstring::npos ? bar : bar - start));
    if (bar == std::wstring::npos)
      return parts;
    start = bar + 1;
  }
}

// Fills a control from an ID=TEXT argument; false when it names none.
bool Fill(HWND dialog, const std::wstring& argument) {
  const auto equals = argument.find(L'=');
  if (equals == std::wstring::npos)
    return false;
  HWND control = GetDlgItem(dialog, std::wcstol(argument.c_str(), nullptr, 10));
  if (!control)
    return false;
  const std::wstring text = argument.substr(equals + 1);
  wchar_t kind[64] = {};
  GetClassNameW(control, kind, 64);
  if (std::wstring(kind) == WC_COMBOBOXW) {
    // The items, as the control orders them; the first is chosen.
    for (const std::wstring& item : Parts(text))
      SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageW(control, CB_SETCURSEL, 0, 0);
    return true;
  }
  if (std::wstring(kind) != WC_LISTVIEWW)
    return SetWindowTextW(control, text.c_str()) != FALSE;
  RECT client;
  GetClientRect(control, &client);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = client.right - client.left;
  SendMessageW(control, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  ListView_SetExtendedListViewStyle(control, LVS_EX_FULLROWSELECT);
  std::vector<std::wstring> items = Parts(text);
  for (std::size_t index = 0; index < items.size(); ++index) {
    LVITEMW row{};
    row.mask = LVIF_TEXT;
    row.iItem = static_cast<int>(index);
    row.pszText = items[index].data();
    SendMessageW(control, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
  }
  return true;
}

bool SaveBitmap(HDC source, const RECT& area, const char* path) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap)
    return false;
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, area.left, area.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  const DWORD image_size = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + image_size;
  bool ok = false;
  if (FILE* out = std::fopen(path, "wb")) {
    ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
         std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
         std::fwrite(bits, 1, image_size, out) == image_size;
    ok = std::fclose(out) == 0 && ok;
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: dialog_shot MODULE RESOURCE_ID OUT.bmp [ID=TEXT ...]\n");
    return 1;
  }
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  LoadLibraryA("riched20.dll");
  HMODULE module = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) {
    std::fprintf(stderr, "cannot load %s (error %lu)\n", argv[1], GetLastError());
    return 2;
  }
  const int id = std::atoi(argv[2]);
  HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(id), nullptr, KeepOpen, 0);
  if (!dialog) {
    std::fprintf(stderr, "cannot create dialog %d (error %lu)\n", id, GetLastError());
    return 3;
  }
  // The texts as the command line holds them: argv has them in the ANSI
  // code page, which cannot hold every character.
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count != argc) {
    std::fprintf(stderr, "cannot read the command line\n");
    DestroyWindow(dialog);
    return 5;
  }
  for (int i = 4; i < argc; ++i) {
    if (!Fill(dialog, arguments[i])) {
      std::fprintf(stderr, "no control for %s\n", argv[i]);
      LocalFree(arguments);
      DestroyWindow(dialog);
      return 5;
    }
  }
  LocalFree(arguments);
  SetWindowPos(dialog, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  UpdateWindow(dialog);
  Pump(1500);
  RECT area;
  GetWindowRect(dialog, &area);
  HDC screen = GetDC(nullptr);
  const bool saved = SaveBitmap(screen, area, argv[3]);
  ReleaseDC(nullptr, screen);
  DestroyWindow(dialog);
  if (!saved) {
    std::fprintf(stderr, "cannot write %s\n", argv[3]);
    return 4;
  }
  std::printf("saved dialog %d (%ld x %ld pixels) to %s\n", id, area.right - area.left,
              area.bottom - area.top, argv[3]);
  return 0;
}
