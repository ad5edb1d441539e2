// Extension modules: libraries whose resources (dialogs) the framework finds
// as if they were the program's own. A library registers itself when it is
// loaded and deregisters when it is unloaded. Windows only.
#pragma once

#include <windows.h>

namespace zu {

// Adds `module` to the modules searched for resources. Returns false when the
// module cannot be registered; a library's load notification then refuses the
// load. Setting the environment variable ZU_TEST_REFUSE_EXTENSION_MODULE to 1
// makes every registration fail, so that tests can see a refused load.
[[nodiscard]] bool RegisterExtensionModule(HINSTANCE module);

// Removes `module`; unknown modules are ignored.
void UnregisterExtensionModule(HINSTANCE module);

// The module that holds the resource (`type`, `name`): the current resource
// module first, then registered modules, newest first, then the program. Null
// when none has it.
HINSTANCE FindResourceModule(LPCSTR type, LPCSTR name);

// The module searched first for resources (the UI library's "current
// resource handle"); null for none.
HINSTANCE CurrentResourceModule();
void SetCurrentResourceModule(HINSTANCE module);

// Loads the rich-edit control library once per process; false when it cannot
// be loaded.
bool InitRichEdit();

}  // namespace zu
