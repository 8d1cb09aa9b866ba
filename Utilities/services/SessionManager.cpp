#include "WyrdanPluginUtilities/services/SessionManager.h"

#include <algorithm>

#include "WyrdanPluginUtilities/services/ISessionObserver.h"

namespace kyr::orla::plugin::wyrdan {

SessionManager* SessionManager::instance() {
  static SessionManager manager;
  return &manager;
}

SessionManager::SessionManager() = default;

SessionManager::~SessionManager() = default;

SessionManager::SessionManager(SessionManager const& other) = default;

SessionManager& SessionManager::operator=(SessionManager const& other) = default;

void SessionManager::attach(ISessionObserver* observer) {
  if (!hasObserver(observer)) m_observers.push_back(observer);
}

// Observers attached by an observer's onSessionRelease are notified in the
// same pass, hence the index rather than an iterator.
void SessionManager::release() {
  for (std::size_t index = 0; index < m_observers.size(); ++index) {
    if (ISessionObserver* observer = m_observers[index]) observer->onSessionRelease();
  }
}

bool SessionManager::hasObserver(ISessionObserver* observer) {
  return std::find(m_observers.begin(), m_observers.end(), observer) != m_observers.end();
}

}  // namespace kyr::orla::plugin::wyrdan
