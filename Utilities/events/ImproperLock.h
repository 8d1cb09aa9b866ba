/// \class kyr::orla::plugin::wyrdan::ImproperLock
/// \ingroup wyrdan_events
/// The exception raised when a thread takes a lock of the library that it
/// already holds. The library's locks are not recursive; the handler registry
/// (EventHandler) raises it when an event is delivered to it, on the same
/// thread, while it is calling the host to change a subscription.
///
/// \par Threads and exceptions
/// Holds nothing: any thread may use one. Never throws.
///
/// \code
///   try { EventHandler::instance()->handleEvent(event); }
///   catch (const ImproperLock&) { ... delivered while the registry was busy on this thread ... }
/// \endcode
///
/// Derives from std::exception, not from the host kernel's exception family.
#pragma once

#include <exception>

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT ImproperLock : public std::exception {
 public:
  /// A fixed text naming the misuse; valid for the life of the program.
  const char* what() const noexcept override;
};

}  // namespace kyr::orla::plugin::wyrdan
