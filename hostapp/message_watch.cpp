#include "hostapp/message_watch.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "framework/automation_script.h"
#include "framework/code_page.h"

namespace zuhost {

namespace {

// The controls of a message box: its text (the same number on Windows and
// Wine), its icon (0x14 on Windows, 0x440 on Wine) and its buttons (IDOK to
// IDCONTINUE).
constexpr int kTextId = 0xFFFF;
constexpr int kIconIds[] = {0x14, 0x440};

bool IsIconId(int id) {
  return id == kIconIds[0] || id == kIconIds[1];
}

thread_local MessageWatch* watch = nullptr;
thread_local HHOOK hook = nullptr;
thread_local std::vector<HWND> seen;
thread_local bool host_shows = false;

BOOL CALLBACK OnlyBoxControl(HWND child, LPARAM flag) {
  const int id = GetDlgCtrlID(child);
  if (id != kTextId && !IsIconId(id) && (id < IDOK || id > IDCONTINUE)) {
    *reinterpret_cast<bool*>(flag) = false;
    return FALSE;
  }
  return TRUE;
}

// A dialog of the system's message box: its text and icon, and buttons
// only (a dialog of the plug-in's has other controls).
bool IsMessageBox(HWND window) {
  char class_name[16] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  if (std::string(class_name) != "#32770" || !GetDlgItem(window, kTextId))
    return false;
  bool only_box_controls = true;
  EnumChildWindows(window, OnlyBoxControl, reinterpret_cast<LPARAM>(&only_box_controls));
  return only_box_controls;
}

const char* IconOf(HWND box) {
  HWND icon_control = GetDlgItem(box, kIconIds[0]);
  if (!icon_control)
    icon_control = GetDlgItem(box, kIconIds[1]);
  if (!icon_control)
    return "none";
  const auto icon = reinterpret_cast<HICON>(SendMessageA(icon_control, STM_GETICON, 0, 0));
  if (!icon)
    return "none";
  if (icon == LoadIcon(nullptr, IDI_HAND))
    return "stop";
  if (icon == LoadIcon(nullptr, IDI_EXCLAMATION))
    return "exclamation";
  if (icon == LoadIcon(nullptr, IDI_ASTERISK))
    return "information";
  if (icon == LoadIcon(nullptr, IDI_QUESTION))
    return "question";
  return "icon";
}

LRESULT CALLBACK WatchBoxes(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE && watch && !host_shows) {
    HWND window = reinterpret_cast<HWND>(wparam);
    // A box is activated again when a window it opened closes: seen once.
    std::erase_if(seen, [](HWND box) { return !IsWindow(box); });
    if (IsMessageBox(window) && std::find(seen.begin(), seen.end(), window) == seen.end()) {
      seen.push_back(window);
      watch->Seen(zu::WindowTextUtf8(GetDlgItem(window, kTextId)), IconOf(window));
    }
  }
  return CallNextHookEx(hook, code, wparam, lparam);
}

}  // namespace

MessageWatch::MessageWatch(std::function<void(const std::string&)> event)
    : event_(std::move(event)) {
  watch = this;
  hook = SetWindowsHookExA(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
}

MessageWatch::~MessageWatch() {
  if (hook)
    UnhookWindowsHookEx(hook);
  hook = nullptr;
  watch = nullptr;
}

void MessageWatch::HostShows(const std::function<void()>& show) {
  host_shows = true;
  show();
  host_shows = false;
}

void MessageWatch::Seen(const std::string& text, const char* icon) {
  if (std::string(icon) == "stop")
    ++stops_;
  event_("message " + zu::QuoteText(text) + " " + icon);
}

}  // namespace zuhost
