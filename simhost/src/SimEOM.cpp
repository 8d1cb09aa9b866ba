#include "simhost/SimEOM.h"

#include <algorithm>

#include "simhost/ArgumentText.h"

namespace simhost {

GUIDDATA guidOf(const EOMObjectPtr& object) {
  if (!object) return {};
  if (const auto* state = dynamic_cast<const SimEOMState*>(object.get())) return state->guid();
  return object->getGUID();
}

SimEOMState::SimEOMState(icu::UnicodeString name, icu::UnicodeString typeName, const GUIDDATA& guid)
    : name_(std::move(name)), typeName_(std::move(typeName)), guid_(guid) {}

SimEOMState::~SimEOMState() = default;

icu::UnicodeString SimEOMState::name() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return name_;
}

void SimEOMState::rename(icu::UnicodeString name) {
  std::lock_guard<std::mutex> lock(mutex_);
  name_ = std::move(name);
}

icu::UnicodeString SimEOMState::typeName() const { return typeName_; }

GUIDDATA SimEOMState::guid() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return guid_;
}

void SimEOMState::setGUID(const GUIDDATA& guid) {
  std::lock_guard<std::mutex> lock(mutex_);
  guid_ = guid;
}

bool SimEOMState::state() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return state_;
}

void SimEOMState::setState(bool state) {
  std::lock_guard<std::mutex> lock(mutex_);
  state_ = state;
}

bool SimEOMState::excluded() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return excluded_;
}

void SimEOMState::setExcluded(bool excluded) {
  std::lock_guard<std::mutex> lock(mutex_);
  excluded_ = excluded;
}

int SimEOMState::markCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return marks_;
}

void SimEOMState::countMark() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++marks_;
}

EOMObjectPtr SimEOMState::part() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return part_;
}

void SimEOMState::setPart(EOMObjectPtr part) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::swap(part_, part);  // the previous part goes outside the lock
}

PersistentObjectPtr SimEOMState::primaryPersistentObject() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return primary_;
}

void SimEOMState::setPrimaryPersistentObject(PersistentObjectPtr object) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::swap(primary_, object);  // the previous one goes outside the lock
}

PersistentObjectPtr SimEOMState::secondaryPersistentObject() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return secondary_;
}

void SimEOMState::setSecondaryPersistentObject(PersistentObjectPtr object) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::swap(secondary_, object);
}

void SimEOMState::setHasPrimaryAnswer(std::optional<bool> answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  hasPrimaryAnswer_ = answer;
}

void SimEOMState::setHasSecondaryAnswer(std::optional<bool> answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  hasSecondaryAnswer_ = answer;
}

bool SimEOMState::primaryAnswer() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return hasPrimaryAnswer_.value_or(static_cast<bool>(primary_));
}

bool SimEOMState::secondaryAnswer() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return hasSecondaryAnswer_.value_or(static_cast<bool>(secondary_));
}

bool SimEOMState::sameObjectAs(const EOMObjectPtr& other) const {
  if (!other) return false;
  if (dynamic_cast<const SimEOMState*>(other.get()) == this) return true;
  const GUIDDATA mine = guid();
  return mine != GUIDDATA{} && guidOf(other) == mine;
}

Zol::ZolResult_24_8 SimEOMState::changeDownstream(SimDependencyGraph& graph, bool add,
                                                  const std::vector<GUIDDATA>& downstream,
                                                  SimDependencyGraph::Via via) const {
  const GUIDDATA upstream = guid();
  const auto missing = [](const GUIDDATA& guid) { return guid == GUIDDATA{}; };
  if (missing(upstream) || std::any_of(downstream.begin(), downstream.end(), missing)) {
    return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  }
  for (const GUIDDATA& guid : downstream) {
    if (add) {
      graph.add(upstream, guid, via);
    } else {
      graph.remove(upstream, guid, via);
    }
  }
  return {};
}

SimEOMObject::SimEOMObject(SimContextPtr context, icu::UnicodeString name, icu::UnicodeString typeName,
                           const GUIDDATA& guid)
    : SimEOMBehaviour(std::move(context), "EOM object " + argumentText(name), name, std::move(typeName), guid) {}

}  // namespace simhost
