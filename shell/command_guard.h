// Keeps C++ exceptions inside the plug-in. The host calls the entry points
// through a plain C interface and cannot catch what a command throws (an
// allocation that fails, a library's own error): it would end the host with
// the command open. Each entry point runs its body through RunGuarded.
#pragma once

#include <exception>
#include <string>

namespace zu {

// What a command does when its body throws: `report` is given the
// message to show, then `end` ends the command (the pick state reset, the
// picking ended, the command ended) so that the host does not stay in it.
struct CommandFailure {
  void (*report)(const std::string& message) = nullptr;
  void (*end)() = nullptr;
};

// The message for a command that stopped on `what` (the exception's own
// text, or empty when it has none).
inline std::string CommandFailureMessage(const char* what) {
  std::string message = "后置处理命令出错，已经结束。";
  if (what && *what)
    message += std::string("\n") + what;
  return message;
}

// Reports the failure `what` and ends the command. Reporting may itself fail
// (to allocate): the host must still not see an exception.
inline void EndFailedCommand(const CommandFailure& failure, const char* what) noexcept {
  try {
    failure.report(CommandFailureMessage(what));
  } catch (...) {
  }
  failure.end();
}

// Runs `body` and returns what it returns; when it throws, reports and ends
// the command through `failure` and returns `failed_result`.
template <typename Body>
int RunGuarded(Body&& body, const CommandFailure& failure, int failed_result) noexcept {
  try {
    return body();
  } catch (const std::exception& error) {
    EndFailedCommand(failure, error.what());
  } catch (...) {
    EndFailedCommand(failure, nullptr);
  }
  return failed_result;
}

}  // namespace zu
