#include "simhost/services/app/SimAppExecutive.h"

namespace simhost {

using kyr::orla::appfw::Severity;

void SimFlushTarget::flush() {
  if (call("flush")) return;  // void: an answer or error result skips the flush
  flushes_.fetch_add(1, std::memory_order_acq_rel);
}

SimProductInfo::SimProductInfo(SimContextPtr context, std::string name, icu::UnicodeString productName)
    : SimObject(std::move(context), std::move(name)), productName_(std::move(productName)) {}

Zol::ZolResult_24_8 SimProductInfo::getProductName(icu::UnicodeString& name) {
  if (auto answered = call("getProductName", out(name))) return *answered;
  name = productName_.get();
  return {};
}

SimAppExecutive::SimAppExecutive(SimContextPtr context, std::string name, ZolSmartPointer<SimEventManager> events)
    : SimObject(std::move(context), std::move(name)), events_(std::move(events)), modelName_(u"Model") {}

void SimAppExecutive::setPlugin(const std::string& domain, ZolSmartPointer<kyr::orla::appfw::IPluginInterface> plugin) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (plugin) {
    std::swap(plugins_[domain], plugin);
  } else if (auto it = plugins_.find(domain); it != plugins_.end()) {
    std::swap(it->second, plugin);
    plugins_.erase(it);
  }
}

std::vector<SimAppExecutive::Publication> SimAppExecutive::publications() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return publications_;
}

std::vector<SimAppExecutive::ShownMessage> SimAppExecutive::shownMessages() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return shownMessages_;
}

// The plug-ins and records are moved out first, so that their release does
// not run under the lock.
void SimAppExecutive::clear() {
  std::map<std::string, ZolSmartPointer<kyr::orla::appfw::IPluginInterface>> plugins;
  std::vector<Publication> publications;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    plugins.swap(plugins_);
    publications.swap(publications_);
    shownMessages_.clear();
  }
  events_.set({});
  flushTarget_.set({});
  productInfo_.set({});
}

Zol::ZolResult_24_8 SimAppExecutive::getCurrentModelName(icu::UnicodeString& name) {
  if (auto answered = call("getCurrentModelName", out(name))) return *answered;
  name = modelName_.get();
  return {};
}

Zol::ZolResult_24_8 SimAppExecutive::getActiveModes(ZolSequence<std::string>& modes) {
  if (auto answered = call("getActiveModes", out(modes))) return *answered;
  const std::vector<std::string> active = modes_.get();
  modes = ZolSequence<std::string>(active.begin(), active.end());
  return {};
}

Zol::ZolResult_24_8 SimAppExecutive::getEventManager(
    ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface>& manager) {
  if (auto answered = call("getEventManager", out(manager))) return *answered;
  manager = events_.get();
  return {};
}

Zol::ZolResult_24_8 SimAppExecutive::publishEvent(const std::string& sender, const Zol::Framework::ZolEvent& event,
                                                  bool fire) {
  if (auto answered = call("publishEvent", sender, event, fire)) return *answered;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    publications_.push_back(Publication{sender, event, fire});
  }
  if (const ZolSmartPointer<SimEventManager> events = events_.get()) events->deliver(event);
  return {};
}

Zol::ZolResult_24_8 SimAppExecutive::getFlushTarget(ZolSmartPointer<kyr::orla::appfw::IFlushTargetInterface>& target) {
  if (auto answered = call("getFlushTarget", out(target))) return *answered;
  target = flushTarget_.get();
  return {};
}

Zol::ZolResult_24_8 SimAppExecutive::getProductInfo(ZolSmartPointer<kyr::orla::appfw::IProductInfoInterface>& info) {
  if (auto answered = call("getProductInfo", out(info))) return *answered;
  info = productInfo_.get();
  return {};
}

Zol::ZolResult_24_8 SimAppExecutive::showMessage(const Zol::ZolResult_24_8& result, Severity severity, bool details) {
  if (auto answered = call("showMessage", "result " + std::to_string(result.getCode()),
                           static_cast<std::int32_t>(severity), details))
    return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  shownMessages_.push_back(ShownMessage{{}, result.getCode(), severity, details});
  return {};
}

Zol::ZolResult_24_8 SimAppExecutive::showMessage(const icu::UnicodeString& text, Severity severity) {
  if (auto answered = call("showMessage", text, static_cast<std::int32_t>(severity))) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  shownMessages_.push_back(ShownMessage{text, 0, severity, false});
  return {};
}

Zol::ZolResult_24_8 SimAppExecutive::getPlugin(const std::string& domain,
                                               ZolSmartPointer<kyr::orla::appfw::IPluginInterface>& plugin) {
  if (auto answered = call("getPlugin", domain, out(plugin))) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  if (const auto it = plugins_.find(domain); it != plugins_.end()) plugin = it->second;
  return {};
}

bool SimAppExecutive::isBatchMode() {
  if (auto answered = callReturning<bool, kyr::orla::appfw::ZolIAppExecutiveInterface>("isBatchMode")) return *answered;
  return batch_.load(std::memory_order_acquire);
}

}  // namespace simhost
