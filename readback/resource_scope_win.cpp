// The module resource handle through the UI framework's current one.
#include <windows.h>

#include "framework/extension_module.h"
#include "readback/resource_scope.h"

namespace zu {

void* ReadBackResourceHandle = nullptr;

void RememberReadBackResources() {
  ReadBackResourceHandle = CurrentResourceModule();
}

ResourceScope::ResourceScope() : previous_(CurrentResourceModule()) {
  SetCurrentResourceModule(static_cast<HINSTANCE>(ReadBackResourceHandle));
}

ResourceScope::~ResourceScope() {
  SetCurrentResourceModule(static_cast<HINSTANCE>(previous_));
}

}  // namespace zu
