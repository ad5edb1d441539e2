// zuhost.dll: the host's libraries (path model, math, geometry I/O, part
// document, application services) and the post-path writer, all of
// hostcore and hostpostpath, exported for the host program and the plug-in.
// The library has no start-up work of its own.
#include "host/host_api.h"
