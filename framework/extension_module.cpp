#include "framework/extension_module.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace zu {
namespace {

// Registration happens under the loader lock, so no other thread can be in
// here at the same time; commands run on one thread.
std::vector<HINSTANCE>& Modules() {
  static std::vector<HINSTANCE> modules;
  return modules;
}

bool RefusedForTest() {
  const char* value = std::getenv("ZU_TEST_REFUSE_EXTENSION_MODULE");
  return value && std::strcmp(value, "1") == 0;
}

}  // namespace

bool RegisterExtensionModule(HINSTANCE module) {
  if (!module || RefusedForTest())
    return false;
  auto& modules = Modules();
  if (std::find(modules.begin(), modules.end(), module) == modules.end()) {
    modules.push_back(module);
  }
  return true;
}

void UnregisterExtensionModule(HINSTANCE module) {
  auto& modules = Modules();
  modules.erase(std::remove(modules.begin(), modules.end(), module), modules.end());
}

namespace {
HINSTANCE current_resources = nullptr;
}

HINSTANCE CurrentResourceModule() {
  return current_resources;
}

void SetCurrentResourceModule(HINSTANCE module) {
  current_resources = module;
}

HINSTANCE FindResourceModule(LPCSTR type, LPCSTR name) {
  if (current_resources && FindResourceA(current_resources, name, type))
    return current_resources;
  const auto& modules = Modules();
  for (auto it = modules.rbegin(); it != modules.rend(); ++it) {
    if (FindResourceA(*it, name, type))
      return *it;
  }
  HINSTANCE program = GetModuleHandleA(nullptr);
  return FindResourceA(program, name, type) ? program : nullptr;
}

bool InitRichEdit() {
  static HMODULE library = LoadLibraryA("riched20.dll");
  return library != nullptr;
}

}  // namespace zu
