// The message boxes the plug-in shows while the host runs a command: each
// is printed and recorded as a host event (`message "TEXT" stop`), so that
// a command run from a console says what a person would have read, and the
// host can tell that a command ended on an error. Windows only.
#pragma once

#include <functional>
#include <string>

namespace zuhost {

class MessageWatch {
 public:
  // `event` gets each box as a UTF-8 event line. Watches the calling
  // thread's message boxes until destroyed.
  explicit MessageWatch(std::function<void(const std::string&)> event);
  ~MessageWatch();
  MessageWatch(const MessageWatch&) = delete;
  MessageWatch& operator=(const MessageWatch&) = delete;

  // How many boxes with the stop icon were shown.
  int stops() const { return stops_; }

  // What a box tells (for the hook).
  void Seen(const std::string& text, const char* icon);

  // Runs `show`, which shows a message box of the host's own (already an
  // event of its own): not reported again.
  static void HostShows(const std::function<void()>& show);

 private:
  std::function<void(const std::string&)> event_;
  int stops_ = 0;
};

}  // namespace zuhost
