// The module resource handle a reading started with (the plug-in's, as the
// UI library keeps one current), made current again while a finished path is
// handed to the host, whose drawing may look for resources; the one current
// before is restored afterwards. A no-op in the native build.
#pragma once

namespace zu {

// The resource handle current when the reading started (an HINSTANCE on
// Windows); null before.
extern void* ReadBackResourceHandle;

// Remembers the current resource handle in ReadBackResourceHandle.
void RememberReadBackResources();

class ResourceScope {
 public:
  ResourceScope();
  ~ResourceScope();
  ResourceScope(const ResourceScope&) = delete;
  ResourceScope& operator=(const ResourceScope&) = delete;

 private:
  void* previous_ = nullptr;
};

}  // namespace zu
