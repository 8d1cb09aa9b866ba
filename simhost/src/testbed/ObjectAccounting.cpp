#include "simhost/testbed/ObjectAccounting.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <set>

#include "simhost/testbed/SimObject.h"
#include "zol/kernel/ZolHoldings.h"

namespace simhost {

namespace {

struct Registry {
  std::mutex mutex;
  std::set<const SimObjectBase*> live;
};

Registry& registry() {
  static auto* instance = new Registry();  // objects may die during static destruction
  return *instance;
}

std::string describe(const ObjectAccounting::LiveObject& object) {
  std::string line = object.serviceName + " (" + std::to_string(object.references);
  if (!object.heldBy.empty()) {
    line += ", held:";
    for (const std::string& holder : object.heldBy) line += " " + holder + ";";
    line.pop_back();
  }
  return line + ")\n";
}

}  // namespace

void ObjectAccounting::add(const SimObjectBase* object) {
  std::lock_guard<std::mutex> lock(registry().mutex);
  registry().live.insert(object);
}

void ObjectAccounting::remove(const SimObjectBase* object) {
  std::lock_guard<std::mutex> lock(registry().mutex);
  registry().live.erase(object);
}

std::size_t ObjectAccounting::liveCount() {
  std::lock_guard<std::mutex> lock(registry().mutex);
  return registry().live.size();
}

std::vector<ObjectAccounting::LiveObject> ObjectAccounting::liveObjects() {
  // Asked before taking the registry's lock: reporters may touch objects.
  // An object held on purpose then names what it holds in turn, which is
  // held on purpose too; each object is asked once, so cycles end.
  std::map<const SimObjectBase*, std::vector<std::string>> holders;
  std::vector<const SimObjectBase*> toAsk;
  const auto note = [&holders, &toAsk](std::vector<Zol::ZolHeldReference>& references) {
    for (Zol::ZolHeldReference& held : references) {
      const auto* object = dynamic_cast<const SimObjectBase*>(held.object);
      if (!object) continue;
      auto [entry, first] = holders.try_emplace(object);
      entry->second.push_back(std::move(held.holder));
      if (first) toAsk.push_back(object);
    }
  };
  std::vector<Zol::ZolHeldReference> declared = Zol::currentHeldReferences_24_8();
  note(declared);
  while (!toAsk.empty()) {
    const SimObjectBase* object = toAsk.back();
    toAsk.pop_back();
    Zol::ZolHeldReferences held(object->serviceName());
    object->reportHoldings(held);
    note(held.entries());
  }
  // Holders in name order: the order the kernel lists them in follows the
  // modules' static initialisation, which differs between platforms.
  for (auto& [object, names] : holders) std::sort(names.begin(), names.end());
  std::lock_guard<std::mutex> lock(registry().mutex);
  std::vector<LiveObject> objects;
  for (const SimObjectBase* object : registry().live) {
    auto held = holders.find(object);
    objects.push_back(LiveObject{object->serviceName(), object->referenceCount(),
                                 held == holders.end() ? std::vector<std::string>() : held->second});
  }
  return objects;
}

std::vector<ObjectAccounting::LiveObject> ObjectAccounting::leaks() {
  std::vector<LiveObject> leaked;
  for (LiveObject& object : liveObjects()) {
    if (object.references > object.heldBy.size()) leaked.push_back(std::move(object));
  }
  return leaked;
}

std::string ObjectAccounting::leakReport() {
  std::string text;
  for (const LiveObject& object : leaks()) text += describe(object);
  return text;
}

std::string ObjectAccounting::report() {
  std::string text;
  for (const LiveObject& object : liveObjects()) text += describe(object);
  return text;
}

}  // namespace simhost
