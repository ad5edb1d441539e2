#include "pathinput/move_progress.h"

#include <cstdio>

#include "host/services.h"

namespace zu {

MoveProgress::~MoveProgress() {
  if (!first_ && moves_ != shown_)
    Show();
}

void MoveProgress::Next() {
  ++moves_;
  if (first_ || moves_ % kProgressStep == 0)
    Show();
  first_ = false;
}

void MoveProgress::Show() {
  char text[64];
  std::snprintf(text, sizeof text, "生成刀位文件 %d/%d", moves_, path_);
  HostShowPrompt(text);
  shown_ = moves_;
}

}  // namespace zu
