/// \class kyr::orla::plugin::wyrdan::ISessionObserver
/// \ingroup wyrdan_services
/// The base of the plug-in's session observers. Constructing one registers
/// it with SessionManager; SessionManager::release() then calls its
/// onSessionRelease. Destruction does not unregister (see SessionManager):
/// an observer destroyed before the last release() leaves a dangling pointer
/// in the manager's list.
///
/// \par Threads and exceptions
/// Registration shares SessionManager's list, which is not synchronised:
/// construct observers on one thread at a time. onSessionRelease runs on the
/// thread that calls SessionManager::release(), and its exceptions pass to
/// that caller; construction throws only std::bad_alloc.
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT ISessionObserver {
 public:
  /// Registers this object with SessionManager::instance(), once. Throws
  /// only what growing the list throws (std::bad_alloc).
  ISessionObserver();
  /// A copy is not registered; attach it (SessionManager::attach) to be
  /// notified.
  ISessionObserver(ISessionObserver const& other);
  /// Registers nothing and copies nothing: the base has no state.
  ISessionObserver& operator=(ISessionObserver const& other);
  /// Stays in the manager's list: the manager keeps the pointer.
  virtual ~ISessionObserver();

  /// Called by SessionManager::release(), on the thread that calls it. An
  /// exception passes to release()'s caller and ends that notification pass.
  virtual void onSessionRelease() = 0;
};

}  // namespace kyr::orla::plugin::wyrdan
