// ISessionObserver: the base of the plug-in's session observers. Constructing
// one registers it with SessionManager; SessionManager::release() then calls
// its onSessionRelease. Destruction does not unregister (see SessionManager).
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT ISessionObserver {
 public:
  /// Registers this object with SessionManager::instance(), once.
  ISessionObserver();
  /// A copy is not registered; attach it to be notified.
  ISessionObserver(ISessionObserver const& other);
  /// Registers nothing.
  ISessionObserver& operator=(ISessionObserver const& other);
  /// Stays in the manager's list.
  virtual ~ISessionObserver();

  /// Called by SessionManager::release().
  virtual void onSessionRelease() = 0;
};

}  // namespace kyr::orla::plugin::wyrdan
