#include "WyrdanPluginUtilities/events/PluginEventManager.h"

#include <cstdint>
#include <utility>

#include "kyr/appfw/ServiceCacheAppFrame.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using Zol::Framework::EventFilter;
using Zol::Framework::ZolEvent;

constexpr std::int32_t kMode = 2;
constexpr std::int32_t kFired = 1;
constexpr std::int32_t kPublished = 0;

// Hands `id` to a host operation that writes a 64-bit id, and takes back
// what the host wrote (the id stays as it was when the host writes nothing).
template <class Call>
Zol::ZolResult_24_8 writingId(long long& id, Call call) {
  std::int64_t written = id;
  Zol::ZolResult_24_8 result = call(written);
  id = written;
  return result;
}

}  // namespace

std::string const PluginEventManager::Domain_Name = "KYR.Cormoran.Plugins.WyrdanPlugin";
long long PluginEventManager::Domain_Id = 0;
long long PluginEventManager::Channel_Id = 0;

PluginEventManager::PluginEventManager() : m_eventManager(appfw::ServiceCacheAppFrame::eventManager_) {
  if (!m_eventManager) return;
  const Zol::ZolResult_24_8 found =
      writingId(Domain_Id, [this](std::int64_t& id) { return m_eventManager->lookUpDomainId(Domain_Name, id); });
  if (found.getCode() != 0) {
    writingId(Domain_Id, [this](std::int64_t& id) { return m_eventManager->createDomainId(Domain_Name, id); });
  }
}

PluginEventManager::PluginEventManager(PluginEventManager const& other) = default;

PluginEventManager::PluginEventManager(PluginEventManager&& other) noexcept = default;

PluginEventManager& PluginEventManager::operator=(PluginEventManager const& other) {
  if (m_eventManager != other.m_eventManager) m_eventManager = other.m_eventManager;
  return *this;
}

PluginEventManager& PluginEventManager::operator=(PluginEventManager&& other) noexcept {
  m_eventManager.swap(other.m_eventManager);
  return *this;
}

PluginEventManager::~PluginEventManager() = default;

Zol::ZolResult_24_8 PluginEventManager::createDomainID(std::string name, long long& id) {
  if (!m_eventManager) return {};
  return writingId(id, [&](std::int64_t& written) { return m_eventManager->createDomainId(name, written); });
}

Zol::ZolResult_24_8 PluginEventManager::getDomainID(std::string name, long long& id) {
  if (!m_eventManager) return {};
  return writingId(id, [&](std::int64_t& written) { return m_eventManager->lookUpDomainId(name, written); });
}

Zol::ZolResult_24_8 PluginEventManager::addListener(long long& domainId, int const& eventId, ListenerPtr listener) {
  if (!m_eventManager) return {};
  return m_eventManager->addListener(domainId, listener, kMode, EventFilter{eventId});
}

Zol::ZolResult_24_8 PluginEventManager::addListener(int const& eventId, ListenerPtr listener) {
  return addListener(Domain_Id, eventId, std::move(listener));
}

Zol::ZolResult_24_8 PluginEventManager::addListener(EventFilter const& filter, ListenerPtr listener) {
  if (!m_eventManager) return {};
  return m_eventManager->addListener(Domain_Id, listener, kMode, filter);
}

Zol::ZolResult_24_8 PluginEventManager::addChannelListener(long long const& channelId, ListenerPtr listener) {
  if (!m_eventManager) return {};
  return m_eventManager->addListenerForAllEvents(channelId, listener, kMode);
}

Zol::ZolResult_24_8 PluginEventManager::addChannelListener(ListenerPtr listener) {
  if (!m_eventManager) return {};
  writingId(Channel_Id, [this](std::int64_t& id) { return m_eventManager->createChannelId(id); });
  return m_eventManager->addListenerForAllEvents(Channel_Id, listener, kMode);
}

Zol::ZolResult_24_8 PluginEventManager::fireEvent(long long& domainId, int const& eventId, Zol::ZolAny_24_8 const& data,
                                                  ListenerPtr listener) {
  if (!m_eventManager) return {};
  return m_eventManager->fireEvent(ZolEvent{domainId, eventId, data}, kFired, listener);
}

Zol::ZolResult_24_8 PluginEventManager::fireEvent(int const& eventId, Zol::ZolAny_24_8 const& data,
                                                  ListenerPtr listener) {
  return fireEvent(Domain_Id, eventId, data, std::move(listener));
}

Zol::ZolResult_24_8 PluginEventManager::publishEvent(int const& eventId, Zol::ZolAny_24_8 const& data) {
  return publishEvent(Domain_Id, eventId, data);
}

Zol::ZolResult_24_8 PluginEventManager::publishEvent(long long const& domainId, int const& eventId,
                                                     Zol::ZolAny_24_8 const& data) {
  if (!m_eventManager) return {};
  return m_eventManager->publishEvent(ZolEvent{domainId, eventId, data}, kPublished);
}

Zol::ZolResult_24_8 PluginEventManager::removeListener(long long& domainId, ListenerPtr listener) {
  if (!m_eventManager) return {};
  return m_eventManager->removeListener(domainId, listener);
}

Zol::ZolResult_24_8 PluginEventManager::removeListener(ListenerPtr listener) {
  return removeListener(Domain_Id, std::move(listener));
}

}  // namespace kyr::orla::plugin::wyrdan
