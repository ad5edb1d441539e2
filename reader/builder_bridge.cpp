#include "reader/builder_bridge.h"

namespace zureader {

void BuilderBridge::FeedTo(double x, double y, double z, int compensation) {
  // The builder changes nothing for a value other than 0, 1 and 2, which is
  // what the interpreter's "unchanged" is.
  builder_.FeedTo(x, y, z, compensation);
}

void BuilderBridge::SetToolName(std::string_view name) {
  // A NUL inside the name would cut it short; the name ends there as the
  // builder would read it anyway.
  name_.assign(name.substr(0, name.find('\0')));
  builder_.SetToolName(name_.c_str());
}

}  // namespace zureader
