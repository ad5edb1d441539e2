// A library that carries the plug-in's version resource but none of its
// entry points: the host must refuse it after the identity check passes.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
  return TRUE;
}
