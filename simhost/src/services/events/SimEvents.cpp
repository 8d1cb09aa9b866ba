#include "simhost/services/events/SimEvents.h"

#include <algorithm>
#include <future>
#include <memory>
#include <set>
#include <utility>

namespace simhost {

using Zol::Framework::EventFilter;
using Zol::Framework::HandleEventStatus;
using Zol::Framework::ZolEvent;

namespace {

// One numbering for the process, and one id per domain name for the
// process: a plug-in library keeps some ids for the whole process, so on a
// later host it must meet the same domains under the same ids, and never an
// id it kept naming something else. The ids a test chose are taken out of
// the numbering, so that no domain or channel numbered later shares one.
struct Numbering {
  std::mutex mutex;
  std::int64_t next = 1;
  std::set<std::int64_t> chosen;  // only those the numbering has not passed yet
};

Numbering& numbering() {
  static auto* instance = new Numbering();  // hosts may outlive static destruction
  return *instance;
}

std::int64_t newId() {
  Numbering& ids = numbering();
  std::lock_guard<std::mutex> lock(ids.mutex);
  while (ids.chosen.erase(ids.next) > 0) ++ids.next;
  return ids.next++;
}

void reserveId(std::int64_t id) {
  Numbering& ids = numbering();
  std::lock_guard<std::mutex> lock(ids.mutex);
  if (id >= ids.next) ids.chosen.insert(id);
}

std::int64_t processDomainId(const std::string& name) {
  static std::mutex mutex;
  static auto* ids = new std::map<std::string, std::int64_t>();  // hosts may outlive static destruction
  std::lock_guard<std::mutex> lock(mutex);
  auto [it, inserted] = ids->try_emplace(name, 0);
  if (inserted) it->second = newId();
  return it->second;
}

bool admits(const EventFilter& filter, std::int32_t eventId) {
  return filter.empty() || std::find(filter.begin(), filter.end(), eventId) != filter.end();
}

}  // namespace

std::int64_t SimEventManager::findOrCreateDomain(const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = domains_.find(name);
  if (it == domains_.end()) it = domains_.emplace(name, processDomainId(name)).first;
  return it->second;
}

std::int64_t SimEventManager::defineDomain(const std::string& name) { return findOrCreateDomain(name); }

std::int64_t SimEventManager::defineDomain(const std::string& name, std::int64_t id) {
  reserveId(id);
  std::lock_guard<std::mutex> lock(mutex_);
  domains_[name] = id;
  return id;
}

void SimEventManager::chooseChannelIds(std::vector<std::int64_t> ids) {
  for (const std::int64_t id : ids) reserveId(id);
  std::lock_guard<std::mutex> lock(mutex_);
  chosenChannels_.insert(chosenChannels_.end(), ids.begin(), ids.end());
}

std::optional<std::int64_t> SimEventManager::domainId(const std::string& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = domains_.find(name);
  if (it == domains_.end()) return std::nullopt;
  return it->second;
}

std::int64_t SimEventManager::defineChannel() { return newId(); }

std::vector<SimEventManager::Subscription> SimEventManager::subscriptions(std::int64_t id) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = subscriptions_.find(id);
  return it == subscriptions_.end() ? std::vector<Subscription>() : it->second;
}

std::vector<SimEventManager::Listener> SimEventManager::recipients(const ZolEvent& event) const {
  std::vector<Listener> listeners;
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = subscriptions_.find(event.domainId);
  if (it == subscriptions_.end()) return listeners;
  for (const Subscription& subscription : it->second) {
    if (admits(subscription.filter, event.eventId)) listeners.push_back(subscription.listener);
  }
  return listeners;
}

// Listeners run unlocked, so they may subscribe and unsubscribe; such a change
// reaches the next event, not this one.
std::size_t SimEventManager::deliver(const ZolEvent& event) {
  const std::vector<Listener> listeners = recipients(event);
  for (const Listener& listener : listeners) listener->handleEvent(event);
  return listeners.size();
}

void SimEventManager::deliverOnThreads(std::size_t threads, const std::vector<ZolEvent>& events) {
  std::vector<std::future<void>> running;
  running.reserve(threads);
  for (std::size_t thread = 0; thread < threads; ++thread) {
    running.push_back(std::async(std::launch::async, [this, &events] {
      for (const ZolEvent& event : events) deliver(event);
    }));
  }
  // A future of std::async waits for its thread when destroyed, so a
  // rethrown exception leaves no thread behind.
  for (std::future<void>& delivery : running) delivery.get();
}

void SimEventManager::clear() {
  std::map<std::int64_t, std::vector<Subscription>> released;
  std::lock_guard<std::mutex> lock(mutex_);
  released.swap(subscriptions_);
}

Zol::ZolResult_24_8 SimEventManager::lookUpDomainId(const std::string& name, std::int64_t& id) {
  if (auto answered = call("lookUpDomainId", name, out(id))) return *answered;
  const std::optional<std::int64_t> found = domainId(name);
  if (!found) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  id = *found;
  return {};
}

Zol::ZolResult_24_8 SimEventManager::createDomainId(const std::string& name, std::int64_t& id) {
  if (auto answered = call("createDomainId", name, out(id))) return *answered;
  id = findOrCreateDomain(name);
  return {};
}

Zol::ZolResult_24_8 SimEventManager::createChannelId(std::int64_t& id) {
  if (auto answered = call("createChannelId", out(id))) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  if (chosenChannels_.empty()) {
    id = newId();
  } else {
    id = chosenChannels_.front();
    chosenChannels_.pop_front();
  }
  return {};
}

Zol::ZolResult_24_8 SimEventManager::subscribe(std::int64_t id, const Listener& listener, std::int32_t mode,
                                               const EventFilter& filter, bool allEvents) {
  if (!listener) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<Subscription>& subscribed = subscriptions_[id];
  auto it = std::find_if(subscribed.begin(), subscribed.end(), [&listener](const Subscription& subscription) {
    return Zol::isSameObject(subscription.listener, listener);
  });
  if (it == subscribed.end()) {
    subscribed.push_back(Subscription{listener, mode, filter, allEvents});
  } else {
    it->mode = mode;
    it->filter = filter;
    it->allEvents = allEvents;
  }
  return {};
}

Zol::ZolResult_24_8 SimEventManager::addHostListener(std::int64_t id, const Listener& listener, std::int32_t mode) {
  return subscribe(id, listener, mode, EventFilter(), true);
}

Zol::ZolResult_24_8 SimEventManager::addListener(std::int64_t id, const Listener& listener, std::int32_t mode,
                                                 const EventFilter& filter) {
  if (auto answered = call("addListener", id, listener, mode, filter)) return *answered;
  return subscribe(id, listener, mode, filter, false);
}

Zol::ZolResult_24_8 SimEventManager::addListenerForAllEvents(std::int64_t id, const Listener& listener,
                                                             std::int32_t mode) {
  if (auto answered = call("addListenerForAllEvents", id, listener, mode)) return *answered;
  return subscribe(id, listener, mode, EventFilter(), true);
}

Zol::ZolResult_24_8 SimEventManager::fireEvent(const ZolEvent& event, std::int32_t value, const Listener& sender) {
  if (auto answered = call("fireEvent", event, value, sender)) return *answered;
  deliver(event);
  return {};
}

Zol::ZolResult_24_8 SimEventManager::publishEvent(const ZolEvent& event, std::int32_t value) {
  if (auto answered = call("publishEvent", event, value)) return *answered;
  deliver(event);
  return {};
}

Zol::ZolResult_24_8 SimEventManager::removeListener(std::int64_t id, const Listener& listener) {
  if (auto answered = call("removeListener", id, listener)) return *answered;
  Listener removed;  // released outside the lock
  std::lock_guard<std::mutex> lock(mutex_);
  auto subscribed = subscriptions_.find(id);
  if (subscribed == subscriptions_.end()) return {};
  auto it = std::find_if(
      subscribed->second.begin(), subscribed->second.end(),
      [&listener](const Subscription& subscription) { return Zol::isSameObject(subscription.listener, listener); });
  if (it == subscribed->second.end()) return {};
  removed = std::move(it->listener);
  subscribed->second.erase(it);
  if (subscribed->second.empty()) subscriptions_.erase(subscribed);
  return {};
}

SimPluginListener::SimPluginListener(SimContextPtr context, std::string name, Callback callback)
    : SimObject(std::move(context), std::move(name)), callback_(std::move(callback)) {}

HandleEventStatus SimPluginListener::handleEvent(const ZolEvent& event) {
  deliveries_.fetch_add(1, std::memory_order_acq_rel);
  return callback_ ? callback_(event) : Zol::Framework::EventNotHandled;
}

ZolSmartPointer<SimPluginListener> makePluginListener(SimPluginListener::Callback callback) {
  return makeSimObject<SimPluginListener>(std::make_shared<SimContext>(), kPluginInitializerService,
                                          std::move(callback));
}

}  // namespace simhost
