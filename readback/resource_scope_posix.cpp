// The native build has no module resources: nothing to switch.
#include "readback/resource_scope.h"

namespace zu {

void* ReadBackResourceHandle = nullptr;

void RememberReadBackResources() {}

ResourceScope::ResourceScope() = default;
ResourceScope::~ResourceScope() = default;

}  // namespace zu
