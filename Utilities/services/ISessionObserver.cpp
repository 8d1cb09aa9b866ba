#include "WyrdanPluginUtilities/services/ISessionObserver.h"

#include "WyrdanPluginUtilities/services/SessionManager.h"

namespace kyr::orla::plugin::wyrdan {

ISessionObserver::ISessionObserver() { SessionManager::instance()->attach(this); }

ISessionObserver::ISessionObserver(ISessionObserver const&) = default;

ISessionObserver& ISessionObserver::operator=(ISessionObserver const&) = default;

ISessionObserver::~ISessionObserver() = default;

}  // namespace kyr::orla::plugin::wyrdan
