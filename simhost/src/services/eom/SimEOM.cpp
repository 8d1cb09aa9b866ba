#include "simhost/services/eom/SimEOM.h"

#include <algorithm>

#include "simhost/testbed/ArgumentText.h"

namespace simhost {

GUIDDATA guidOf(const EOMObjectPtr& object) {
  if (!object) return {};
  if (const auto* state = dynamic_cast<const SimEOMState*>(object.get())) return state->guid();
  return object->getGUID();
}

SimEOMState::SimEOMState(icu::UnicodeString name, icu::UnicodeString typeName, const GUIDDATA& guid)
    : name_(std::move(name)), typeName_(std::move(typeName)), guid_(guid) {}

SimEOMState::~SimEOMState() = default;

icu::UnicodeString SimEOMState::name() const { return name_.get(); }
void SimEOMState::rename(icu::UnicodeString name) { name_.set(std::move(name)); }
icu::UnicodeString SimEOMState::typeName() const { return typeName_; }
GUIDDATA SimEOMState::guid() const { return guid_.get(); }
void SimEOMState::setGUID(const GUIDDATA& guid) { guid_.set(guid); }
bool SimEOMState::state() const { return state_; }
void SimEOMState::setState(bool state) { state_ = state; }
bool SimEOMState::excluded() const { return excluded_; }
void SimEOMState::setExcluded(bool excluded) { excluded_ = excluded; }
int SimEOMState::markCount() const { return marks_; }
void SimEOMState::countMark() { ++marks_; }
EOMObjectPtr SimEOMState::part() const { return part_.get(); }
void SimEOMState::setPart(EOMObjectPtr part) { part_.set(std::move(part)); }
PersistentObjectPtr SimEOMState::primaryPersistentObject() const { return primary_.get(); }
void SimEOMState::setPrimaryPersistentObject(PersistentObjectPtr object) { primary_.set(std::move(object)); }
PersistentObjectPtr SimEOMState::secondaryPersistentObject() const { return secondary_.get(); }
void SimEOMState::setSecondaryPersistentObject(PersistentObjectPtr object) { secondary_.set(std::move(object)); }
void SimEOMState::setHasPrimaryAnswer(std::optional<bool> answer) { hasPrimaryAnswer_.set(answer); }
void SimEOMState::setHasSecondaryAnswer(std::optional<bool> answer) { hasSecondaryAnswer_.set(answer); }

bool SimEOMState::primaryAnswer() const { return hasPrimaryAnswer_.get().value_or(static_cast<bool>(primary_.get())); }

bool SimEOMState::secondaryAnswer() const {
  return hasSecondaryAnswer_.get().value_or(static_cast<bool>(secondary_.get()));
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
