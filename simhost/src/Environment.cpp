#include "simhost/Environment.h"

#if defined(_WIN32)
#include "windows/Environment.inc"
#else
#include "posix/Environment.inc"
#endif
