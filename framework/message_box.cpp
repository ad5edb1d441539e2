#include "framework/message_box.h"

#include <string>

#include "framework/automation.h"
#include "framework/code_page.h"
#include "framework/program_path.h"

namespace zu {
namespace {

// Control number of a message box's text, the same on Windows and Wine.
constexpr int kMessageTextId = 0xFFFF;

struct PendingBox {
  UINT type = 0;
  bool answered = false;
};
thread_local PendingBox* pending = nullptr;
thread_local HHOOK hook = nullptr;

const char* IconName(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONSTOP:
      return "stop";
    case MB_ICONEXCLAMATION:
      return "exclamation";
    case MB_ICONINFORMATION:
      return "information";
    case MB_ICONQUESTION:
      return "question";
    default:
      return "none";
  }
}

int DefaultButton(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
      return IDYES;
    default:
      return IDOK;
  }
}

int ButtonFor(const std::string& answer) {
  if (answer == "cancel")
    return IDCANCEL;
  if (answer == "yes")
    return IDYES;
  if (answer == "no")
    return IDNO;
  return IDOK;
}

const char* ButtonName(int button) {
  switch (button) {
    case IDCANCEL:
      return "cancel";
    case IDYES:
      return "yes";
    case IDNO:
      return "no";
    default:
      return "ok";
  }
}

// Sees the message box become active, records it and posts the answer, which
// the box's own message loop then carries out like a click.
LRESULT CALLBACK WatchForBox(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE && pending && !pending->answered) {
    HWND box = reinterpret_cast<HWND>(wparam);
    char class_name[16] = {};
    GetClassNameA(box, class_name, sizeof class_name);
    if (std::string(class_name) == "#32770") {
      pending->answered = true;
      Automation* automation = Automation::Get();
      int button = DefaultButton(pending->type);
      if (automation) {
        if (const AutomationStep* step = automation->Peek();
            step && step->kind == StepKind::Answer) {
          button = ButtonFor(step->text);
          automation->Advance();
        }
        automation->Record("message " + QuoteText(WindowTextUtf8(box)) + " " +
                           QuoteText(WindowTextUtf8(GetDlgItem(box, kMessageTextId))) + " " +
                           IconName(pending->type) + " -> " + ButtonName(button));
      }
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }
  }
  return CallNextHookEx(hook, code, wparam, lparam);
}

std::string ProgramName() {
  std::string name = ProgramPath();
  if (auto slash = name.find_last_of("\\/"); slash != std::string::npos)
    name.erase(0, slash + 1);
  if (auto dot = name.rfind('.'); dot != std::string::npos)
    name.erase(dot);
  return name;
}

}  // namespace

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  const std::string program = caption ? std::string() : ProgramName();
  const char* title = caption ? caption : program.c_str();
  if (!Automation::Get())
    return MessageBoxA(owner, text, title, type);

  PendingBox box{type, false};
  PendingBox* outer = pending;
  HHOOK outer_hook = hook;
  pending = &box;
  hook = SetWindowsHookExA(WH_CBT, WatchForBox, nullptr, GetCurrentThreadId());
  const int result = MessageBoxA(owner, text, title, type);
  UnhookWindowsHookEx(hook);
  hook = outer_hook;
  pending = outer;
  return result;
}

int ShowMessage(const char* text, MessageIcon icon, HWND owner, const char* caption) {
  UINT type = MB_OK;
  switch (icon) {
    case MessageIcon::Stop:
      type |= MB_ICONSTOP;
      break;
    case MessageIcon::Exclamation:
      type |= MB_ICONEXCLAMATION;
      break;
    case MessageIcon::Information:
      type |= MB_ICONINFORMATION;
      break;
    case MessageIcon::None:
      break;
  }
  return ShowMessageBox(owner, text, caption, type);
}

}  // namespace zu
