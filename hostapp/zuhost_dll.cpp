// zuhost.dll: the host's libraries (path model, math, geometry I/O, part
// document, application services, path optimiser) and the post-path writer,
// all of hostcore, hostpostpath and the path fitter (pathfit/), exported for
// the host program and the plug-in.
// The library has no start-up work of its own.
#include "host/host_api.h"
