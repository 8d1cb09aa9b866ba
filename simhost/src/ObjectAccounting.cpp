#include "simhost/ObjectAccounting.h"

#include <mutex>
#include <set>

#include "simhost/SimObject.h"

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
  std::lock_guard<std::mutex> lock(registry().mutex);
  std::vector<LiveObject> objects;
  for (const SimObjectBase* object : registry().live) {
    objects.push_back(LiveObject{object->serviceName(), object->referenceCount()});
  }
  return objects;
}

std::string ObjectAccounting::report() {
  std::string text;
  for (const LiveObject& object : liveObjects()) {
    text += object.serviceName + " (" + std::to_string(object.references) + ")\n";
  }
  return text;
}

}  // namespace simhost
