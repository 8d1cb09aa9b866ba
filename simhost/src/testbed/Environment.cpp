#include "simhost/testbed/Environment.h"

#if defined(_WIN32)
#include "windows/Environment.inc"
#else
#include "posix/Environment.inc"
#endif
