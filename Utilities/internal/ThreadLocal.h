// WYRDAN_THREAD_LOCAL: a thread-local variable of a trivial type with a
// constant initial value, declared in a header and read inline on a hot
// path. The standard thread_local makes every read from another source file
// go through the variable's initialisation function; on ELF platforms gcc's
// and clang's __thread has no such function, and the initial-exec model
// reaches it with one instruction (the library is linked, not opened at run
// time by plug-ins that use it). Windows keeps its own thread-local model.
#pragma once

#if defined(__GNUC__) && !defined(_WIN32)
#define WYRDAN_THREAD_LOCAL __thread __attribute__((tls_model("initial-exec")))
#else
#define WYRDAN_THREAD_LOCAL thread_local
#endif
