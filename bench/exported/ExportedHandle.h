// A service handle kept in a shared library and handed out by an exported
// function: the least any exported getter costs a plug-in, one call across
// the library boundary plus the handle's copy.
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace bench {

/// Keeps `service` (empty releases it).
[[gnu::visibility("default")]] void keepExportedHandle(const Zol::ZolIService& service);
/// A new reference to the kept service.
[[gnu::visibility("default")]] Zol::ZolIService exportedHandle();

}  // namespace bench
