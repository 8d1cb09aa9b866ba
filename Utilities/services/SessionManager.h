/// \class kyr::orla::plugin::wyrdan::SessionManager
/// \ingroup wyrdan_services
/// The plug-in's list of session observers, told when the plug-in's session
/// with the host ends. Observers register themselves when they are
/// constructed (ISessionObserver) and stay registered: the list only grows
/// and keeps plain pointers, so every registered observer has to outlive the
/// last release().
///
/// \par Threads and exceptions
/// Not synchronised: callers that register or release on several threads
/// serialise their calls (instance() itself is thread-safe). Registering
/// throws only std::bad_alloc; release() lets an observer's exception pass.
///
/// \code
///   class Cache : public ISessionObserver {
///     void onSessionRelease() override { clear(); }
///   };
///   Cache cache;                           // registered
///   SessionManager::instance()->release(); // cache.onSessionRelease()
/// \endcode
///
/// Makes no host call.
#pragma once

#include <vector>

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

class ISessionObserver;

class WYRDAN_EXPORT SessionManager {
 public:
  /// The manager, made on first use (thread-safe); it lives until the library unloads.
  static SessionManager* instance();

  /// Copies the list of observers (the pointers, not the observers).
  SessionManager(SessionManager const& other);
  /// Replaces this list with a copy of the other's.
  SessionManager& operator=(SessionManager const& other);

  /// Appends `observer` (not owned; null included) unless it is listed
  /// already. Throws only std::bad_alloc.
  void attach(ISessionObserver* observer);
  /// Calls onSessionRelease on every listed observer that is not null, in
  /// registration order; an observer attached during the pass is notified in
  /// the same pass. The list stays as it is; every call notifies again. An
  /// observer's exception passes to the caller and skips the observers after
  /// it.
  void release();

 private:
  SessionManager();
  ~SessionManager();

  bool hasObserver(ISessionObserver* observer);

  std::vector<ISessionObserver*> m_observers;
};

}  // namespace kyr::orla::plugin::wyrdan
