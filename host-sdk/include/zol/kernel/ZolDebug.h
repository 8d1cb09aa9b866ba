// Debugger output and assertion reports. Both reach a process-wide debug
// sink that a test may install: on Windows the sink receives, on the calling
// thread, what the process sends to the system's OutputDebugStringA; elsewhere
// this header declares a stand-in for it, which writes to the sink or, with
// none installed, to standard error.
//
//   ZOL_ASSERT(provider != NULLSP);   // reports "Assertion failed: provider != NULLSP ..."
#pragma once

#include <functional>
#include <string_view>

#include "zol/kernel/ZolKernelExport.h"

#if !defined(_WIN32)
/// Stand-in for the platform's debugger output: writes `text` to the debug sink.
ZOL_KERNEL_EXPORT void OutputDebugStringA(const char* text);
#endif

namespace Zol {

using ZolDebugSink = std::function<void(std::string_view)>;

/// Replaces the debug sink; an empty sink restores the default (standard
/// error for the stand-in, the system's debugger on Windows). Returns the
/// previous sink. Not synchronised with concurrent output.
ZOL_KERNEL_EXPORT ZolDebugSink setDebugSink(ZolDebugSink sink);

/// Reports a failed assertion on the debug sink as
/// "Assertion failed: <expression>, file <file>, line <line>\n" and returns:
/// the caller goes on with its failure path.
ZOL_KERNEL_EXPORT void reportAssertionFailure(const char* expression, const char* file, int line);

}  // namespace Zol

#define ZOL_ASSERT(expression) \
  ((expression) ? static_cast<void>(0) : ::Zol::reportAssertionFailure(#expression, __FILE__, __LINE__))
