// Debugger output and assertion reports. Both go to a process-wide debug
// sink: standard error unless a test installs its own.
//
//   ZOL_ASSERT(provider != NULLSP);   // reports "Assertion failed: provider != NULLSP ..."
#pragma once

#include <functional>
#include <string_view>

#include "zol/kernel/ZolKernelExport.h"

/// Stand-in for the platform's debugger output: writes `text` to the debug sink.
ZOL_KERNEL_EXPORT void OutputDebugStringA(const char* text);

namespace Zol {

using ZolDebugSink = std::function<void(std::string_view)>;

/// Replaces the debug sink; an empty sink restores standard error. Returns
/// the previous sink. Not synchronised with concurrent output.
ZOL_KERNEL_EXPORT ZolDebugSink setDebugSink(ZolDebugSink sink);

/// Reports a failed assertion on the debug sink as
/// "Assertion failed: <expression>, file <file>, line <line>\n" and returns:
/// the caller goes on with its failure path.
ZOL_KERNEL_EXPORT void reportAssertionFailure(const char* expression, const char* file, int line);

}  // namespace Zol

#define ZOL_ASSERT(expression) \
  ((expression) ? static_cast<void>(0) : ::Zol::reportAssertionFailure(#expression, __FILE__, __LINE__))
