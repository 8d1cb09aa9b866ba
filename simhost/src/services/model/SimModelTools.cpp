#include "simhost/services/model/SimModelTools.h"

#include <algorithm>

#include "kyr/appfw/ModelPersistenceRecords.h"
#include "zol/kernel/ZolException.h"

namespace simhost {

// Defined here as well, so that the DLL exports it: on Windows gcc exports
// no inline static data member of an exported class, yet a program that
// binds one to a reference imports it.
constexpr const char* SimPersistenceListener::kDomain;

SimAssemblyRep::SimAssemblyRep(SimContextPtr context, EntityReference reference, icu::UnicodeString name)
    : SimEntityWith(std::move(context), std::move(reference), std::move(name), u"Assembly::AssemblyRep") {}

void SimAssemblyRep::addChildObject(EOMObjectPtr child) {
  std::lock_guard<std::mutex> lock(mutex_);
  children_.push_back(std::move(child));
}

void SimAssemblyRep::removeChildObject(const EOMObjectPtr& child) {
  std::lock_guard<std::mutex> lock(mutex_);
  children_.erase(std::remove_if(children_.begin(), children_.end(),
                                 [&child](const EOMObjectPtr& object) { return Zol::isSameObject(object, child); }),
                  children_.end());
}

std::vector<EOMObjectPtr> SimAssemblyRep::childObjects() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return children_;
}

Zol::ZolResult_24_8 SimAssemblyRep::getChildren(Zol::EOM::EOMChildSequence& children) {
  if (auto answered = call<Zol::EOM::IEOMAssemblyRepInterface>("getChildren", out(children))) return *answered;
  const std::vector<EOMObjectPtr> objects = childObjects();
  Zol::EOM::EOMChildSequence listed;
  listed.reserve(objects.size());
  for (const EOMObjectPtr& object : objects) listed.push_back(Zol::EOM::EOMChild{object});
  children = std::move(listed);
  return {};
}

void SimPartEntity::setPersistentPart(ZolSmartPointer<SimPersistentPart> part) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::swap(persistentPart_, part);  // the previous part goes outside the lock
}

ZolSmartPointer<SimPersistentPart> SimPartEntity::persistentPart() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return persistentPart_;
}

Zol::ZolResult_24_8 SimPartEntity::getPersistentPart(
    ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface>& part) {
  if (auto answered = call<Zol::EOM::IEOMPartInterface>("getPersistentPart", out(part))) return *answered;
  part = persistentPart();
  return {};
}

SimPartRep::SimPartRep(SimContextPtr context, EntityReference reference, icu::UnicodeString name,
                       icu::UnicodeString typeName, ZolSmartPointer<SimPartEntity> part)
    : SimEntityWith(std::move(context), std::move(reference), std::move(name), std::move(typeName)),
      partEntity_(std::move(part)) {
  setPart(partEntity_);
}

Zol::ZolResult_24_8 SimPartRep::getEOMPart(EOMObjectPtr& part) {
  if (auto answered = call<Zol::EOM::IEOMInstanceInterface>("getEOMPart", out(part))) return *answered;
  part = this->part();
  return {};
}

SimAssemblyBuilder::SimAssemblyBuilder(SimContextPtr context, SimModel& model, std::uint32_t first)
    : context_(std::move(context)), model_(model), first_(first) {}

EntityReference SimAssemblyBuilder::nextReference() { return model_.referenceOf(first_, ++made_, 0); }

ZolSmartPointer<SimAssemblyRep> SimAssemblyBuilder::assembly(icu::UnicodeString name,
                                                             const ZolSmartPointer<SimAssemblyRep>& parent) {
  auto assembly = makeSimObject<SimAssemblyRep>(context_, nextReference(), std::move(name));
  model_.addEntity(assembly);
  if (parent) parent->addChildObject(assembly);
  return assembly;
}

ZolSmartPointer<SimPartRep> SimAssemblyBuilder::partRep(const ZolSmartPointer<SimAssemblyRep>& parent,
                                                        icu::UnicodeString name, icu::UnicodeString typeName) {
  auto part = makeSimObject<SimPartEntity>(context_, nextReference(), name, u"Part::Part");
  auto persistent =
      makeSimObject<SimPersistentPart>(context_, "persistent part " + argumentText(name), part->reference());
  persistent->setGUID(part->guid());
  part->setPersistentPart(persistent);
  model_.addEntity(part);
  auto rep = makeSimObject<SimPartRep>(context_, nextReference(), std::move(name), std::move(typeName), part);
  model_.addEntity(rep);
  if (parent) parent->addChildObject(rep);
  return rep;
}

Zol::ZolResult_24_8 SimModelManagement::flushModel() {
  if (auto answered = call("flushModel")) return *answered;
  flushes_.fetch_add(1, std::memory_order_acq_rel);
  return Zol::ZolResult_24_8(flushResult_.load(std::memory_order_acquire));
}

std::vector<SimPersistenceListener::Record> SimPersistenceListener::records() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return records_;
}

Zol::Framework::HandleEventStatus SimPersistenceListener::handleEvent(const Zol::Framework::ZolEvent& event) {
  const Zol::ZolAny_24_8& payload = event.data;
  const Zol::ZolTypeCode_24_8 expected = kyr::orla::appfw::getTC_ModelPersistenceEvent();
  std::string problem;
  Record record;
  record.eventId = event.eventId;
  if (payload.holdsNothing() || payload.getTypeCode() != expected) {
    problem = "a payload of type " +
              (payload.holdsNothing() ? std::string("nothing") : payload.getTypeCode().getName()) + ", not " +
              expected.getName();
  } else {
    try {
      Zol::ZolInStream_24_8 in = payload.openStream();
      Zol::ZolTypeCode_24_8 own;
      Zol::marshaller_extract(in, own);
      Zol::marshaller_extract(in, record.modelName);
      Zol::marshaller_extract(in, record.written);
      in.expectEnd();
      if (own != expected) problem = "the stream starts with " + own.getName() + ", not its own type code";
    } catch (const Zol::ZolException_24& e) {
      problem = "the record does not read: " + e.getText();
    }
  }
  if (!problem.empty()) {
    context()->failures.record(serviceName(), "event " + std::to_string(event.eventId) + ": " + problem);
    return Zol::Framework::EventNotHandled;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  records_.push_back(std::move(record));
  return Zol::Framework::EventHandled;
}

void SimTypeRegistry::addType(std::uint32_t id, icu::UnicodeString name) {
  std::lock_guard<std::mutex> lock(mutex_);
  icu::UnicodeString& slot = names_[id];
  if (!slot.isEmpty()) ids_.erase(slot);
  slot = name;
  ids_[std::move(name)] = id;
}

Zol::ZolResult_24_8 SimTypeRegistry::getTypeName(std::uint32_t id, icu::UnicodeString& name) {
  if (auto answered = call("getTypeName", id, out(name))) return *answered;
  nameLookUps_.fetch_add(1, std::memory_order_acq_rel);
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = names_.find(id);
  name = it == names_.end() ? icu::UnicodeString() : it->second;
  return {};
}

Zol::ZolResult_24_8 SimTypeRegistry::getTypeId(const icu::UnicodeString& name, std::uint32_t& id) {
  if (auto answered = call("getTypeId", name, out(id))) return *answered;
  idLookUps_.fetch_add(1, std::memory_order_acq_rel);
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = ids_.find(name);
  id = it == ids_.end() ? 0 : it->second;
  return {};
}

}  // namespace simhost
