// How declarations of the host's libraries are exported: from zuhost.dll in
// the Windows build (ZUHOST_BUILDING is defined while building it), imported
// by the plug-in and the host program; nothing in the native build, where the
// host's libraries are a static library.
#pragma once

#if defined(_WIN32)
#if defined(ZUHOST_BUILDING)
#define ZUHOST_API __declspec(dllexport)
#else
#define ZUHOST_API __declspec(dllimport)
#endif
#else
#define ZUHOST_API
#endif
