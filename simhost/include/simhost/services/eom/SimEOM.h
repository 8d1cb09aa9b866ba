/// \file
/// Simulated engineering objects (EOM objects): their state, their IEOMObject
/// and IEOMDependencies operations over the host's dependency graph, and
/// SimEOMObject, an engineering object that is not an entity. Entities
/// (SimEntities.h) are engineering objects through the same pieces.
///
/// \code
///   auto part = host.addEOMObject("bracket", "Part", partGuid);  // known to the factory's open()
///   part->setState(true);
///   part->setSecondaryPersistentObject(persistent);
///   part->setHasSecondaryAnswer(false);  // the yes/no query now disagrees with the fetch
/// \endcode
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <unicode/unistr.h>

#include "simhost/services/eom/SimDependencyGraph.h"
#include "simhost/testbed/SimObject.h"
#include "simhost/testbed/Synchronized.h"
#include "zol/eom/IEOMObjectFactory.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

/// A persistent object of the host.
using PersistentObjectPtr = ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface>;
/// An engineering object of the host.
using EOMObjectPtr = ZolSmartPointer<Zol::EOM::IEOMObjectInterface>;

/// The GUID of an engineering object: a simulated one's own (read without
/// journaling), else the object's answer (its exception passing); the zero
/// GUID for an empty pointer.
SIMHOST_EXPORT GUIDDATA guidOf(const EOMObjectPtr& object);

/// The engineering-object state of a simulated object, and the host's own
/// (not journaled) access to it. Polymorphic so that the host finds the
/// state of an EOM object it is handed.
///
/// \par Threads and exceptions
/// Thread-safe. Its members throw nothing but std::bad_alloc.
class SIMHOST_EXPORT SimEOMState {
 public:
  /// The state of an object named `name` of type `typeName` with `guid`
  /// (the zero GUID: none).
  SimEOMState(icu::UnicodeString name, icu::UnicodeString typeName, const GUIDDATA& guid);
  /// Not copyable: the state is one object's.
  SimEOMState(const SimEOMState&) = delete;
  /// Not assignable, for the same reason.
  SimEOMState& operator=(const SimEOMState&) = delete;
  /// Releases the persistent objects and the part it refers to.
  virtual ~SimEOMState();

  /// What getName answers.
  icu::UnicodeString name() const;
  /// Changes the name, as setName does, without journaling.
  void rename(icu::UnicodeString name);
  /// What getTypeName answers; fixed at construction.
  icu::UnicodeString typeName() const;
  /// The zero GUID when the object has none.
  GUIDDATA guid() const;
  /// Gives the object `guid` (the zero GUID takes it away).
  void setGUID(const GUIDDATA& guid);
  /// What getState answers; false at first.
  bool state() const;
  /// Sets what getState answers.
  void setState(bool state);
  /// What isExcluded answers; false at first.
  bool excluded() const;
  /// Sets what isExcluded answers.
  void setExcluded(bool excluded);
  /// How often mark() was called. The journal has the order of the marks of
  /// every object of the host.
  int markCount() const;

  /// What getPrimaryPersistentObject answers; empty at first.
  PersistentObjectPtr primaryPersistentObject() const;
  /// Sets what getPrimaryPersistentObject answers; empty takes it away.
  void setPrimaryPersistentObject(PersistentObjectPtr object);
  /// What getSecondaryPersistentObject answers; empty at first.
  PersistentObjectPtr secondaryPersistentObject() const;
  /// Sets what getSecondaryPersistentObject answers; empty takes it away.
  void setSecondaryPersistentObject(PersistentObjectPtr object);
  /// What getPart answers: the engineering part the object stands for;
  /// empty at first.
  EOMObjectPtr part() const;
  /// Sets what getPart answers; empty takes it away.
  void setPart(EOMObjectPtr part);
  /// Makes hasPrimaryPersistentObject answer `answer` whatever is set;
  /// nothing restores the default answer, whether one is set.
  void setHasPrimaryAnswer(std::optional<bool> answer);
  /// The same for hasSecondaryPersistentObject.
  void setHasSecondaryAnswer(std::optional<bool> answer);
  /// What hasPrimaryPersistentObject answers.
  bool primaryAnswer() const;
  /// What hasSecondaryPersistentObject answers.
  bool secondaryAnswer() const;

  /// The host's identity test of IEOMObject::isEqual: `other` is this very
  /// object, or an object with the same GUID when this one has a GUID.
  /// Never true for an empty `other`.
  bool sameObjectAs(const EOMObjectPtr& other) const;

 protected:
  /// Counts one mark().
  void countMark();
  /// Adds (or removes) the edges from this object's GUID to each of
  /// `downstream` on `graph`. Fails (kFailure), changing nothing, when this
  /// object has no GUID or one of `downstream` is the zero GUID.
  Zol::ZolResult_24_8 changeDownstream(SimDependencyGraph& graph, bool add, const std::vector<GUIDDATA>& downstream,
                                       SimDependencyGraph::Via via) const;

 private:
  Synchronized<icu::UnicodeString> name_;
  const icu::UnicodeString typeName_;
  Synchronized<GUIDDATA> guid_;
  std::atomic<bool> state_{false};
  std::atomic<bool> excluded_{false};
  std::atomic<int> marks_{0};
  Synchronized<PersistentObjectPtr> primary_;
  Synchronized<PersistentObjectPtr> secondary_;
  Synchronized<EOMObjectPtr> part_;
  Synchronized<std::optional<bool>> hasPrimaryAnswer_;
  Synchronized<std::optional<bool>> hasSecondaryAnswer_;
};

/// IEOMObject with its name queries under other names, for an object that
/// is an entity too, whose name queries have the same signatures; see
/// FacetInterface.
///
/// \par Threads and exceptions
/// It keeps no state: the object that implements it is thread-safe or not
/// (every simulated one is), and getName and getTypeName throw what its
/// getEOMName and getEOMTypeName throw.
class SIMHOST_EXPORT SimEOMObjectFacet : public Zol::EOM::IEOMObjectInterface {
 public:
  /// The interface this facet answers for.
  using facet_of = Zol::EOM::IEOMObjectInterface;
  /// IEOMObject's getName: getEOMName.
  Zol::ZolResult_24_8 getName(icu::UnicodeString& name) final { return getEOMName(name); }
  /// IEOMObject's getTypeName: getEOMTypeName.
  Zol::ZolResult_24_8 getTypeName(icu::UnicodeString& typeName) final { return getEOMTypeName(typeName); }

 protected:
  /// The object's EOM name.
  virtual Zol::ZolResult_24_8 getEOMName(icu::UnicodeString& name) = 0;
  /// The object's EOM type name.
  virtual Zol::ZolResult_24_8 getEOMTypeName(icu::UnicodeString& typeName) = 0;
};

/// A simulated object that is an engineering object: IEOMObject and
/// IEOMDependencies over its SimEOMState, the dependencies on the host's
/// graph (SimContext::dependencies) with this object's GUID upstream. Every
/// operation is journaled; operations without a result ignore an injected
/// error result (injected exceptions propagate). `EntityFacets` are the
/// object's other interfaces, first of which is its identity when given.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
template <class... EntityFacets>
class SimEOMBehaviour : public SimObject<EntityFacets..., SimEOMObjectFacet, Zol::EOM::IEOMDependenciesInterface>,
                        public SimEOMState {
  using Base = SimObject<EntityFacets..., SimEOMObjectFacet, Zol::EOM::IEOMDependenciesInterface>;
  using EOM = Zol::EOM::IEOMObjectInterface;
  using Dependencies = Zol::EOM::IEOMDependenciesInterface;
  using Via = SimDependencyGraph::Via;

 public:
  /// An object of `context` named `serviceName` in the journal, with the
  /// EOM name, type name and GUID given.
  SimEOMBehaviour(SimContextPtr context, std::string serviceName, icu::UnicodeString name, icu::UnicodeString typeName,
                  const GUIDDATA& guid)
      : Base(std::move(context), std::move(serviceName)), SimEOMState(std::move(name), std::move(typeName), guid) {}

  /// The persistent objects and the part the object refers to.
  void reportHoldings(Zol::ZolHeldReferences& held) const override {
    held.add("primary persistent object", this->primaryPersistentObject());
    held.add("secondary persistent object", this->secondaryPersistentObject());
    held.add("part", this->part());
  }

  /// Renames the object.
  Zol::ZolResult_24_8 setName(const icu::UnicodeString& name) override {
    if (auto answered = this->template call<EOM>("setName", name)) return *answered;
    rename(name);
    return {};
  }
  /// guid(); the zero GUID when the object has none.
  GUIDDATA getGUID() override {
    if (auto answered = this->template callReturning<GUIDDATA, EOM>("getGUID")) return *answered;
    return guid();
  }
  /// state().
  bool getState() override {
    if (auto answered = this->template callReturning<bool, EOM>("getState")) return *answered;
    return state();
  }
  /// part(), empty included.
  Zol::ZolResult_24_8 getPart(EOMObjectPtr& part) override {
    if (auto answered = this->template call<EOM>("getPart", out(part))) return *answered;
    part = this->part();
    return {};
  }
  /// sameObjectAs(`other`).
  bool isEqual(const EOMObjectPtr& other) override {
    if (auto answered = this->template callReturning<bool, EOM>("isEqual", other)) return *answered;
    return sameObjectAs(other);
  }
  /// primaryAnswer().
  bool hasPrimaryPersistentObject() override {
    if (auto answered = this->template callReturning<bool, EOM>("hasPrimaryPersistentObject")) return *answered;
    return primaryAnswer();
  }
  /// primaryPersistentObject(), whatever hasPrimaryPersistentObject says.
  PersistentObjectPtr getPrimaryPersistentObject() override {
    if (auto answered = this->template callReturning<PersistentObjectPtr, EOM>("getPrimaryPersistentObject"))
      return *answered;
    return primaryPersistentObject();
  }
  /// secondaryAnswer().
  bool hasSecondaryPersistentObject() override {
    if (auto answered = this->template callReturning<bool, EOM>("hasSecondaryPersistentObject")) return *answered;
    return secondaryAnswer();
  }
  /// secondaryPersistentObject(), whatever hasSecondaryPersistentObject says.
  PersistentObjectPtr getSecondaryPersistentObject() override {
    if (auto answered = this->template callReturning<PersistentObjectPtr, EOM>("getSecondaryPersistentObject"))
      return *answered;
    return secondaryPersistentObject();
  }
  /// Counts a mark (markCount).
  void mark() override {
    if (this->template call<EOM>("mark")) return;  // void: an answer or error result skips the mark
    countMark();
  }
  /// excluded().
  bool isExcluded() override {
    if (auto answered = this->template callReturning<bool, EOM>("isExcluded")) return *answered;
    return excluded();
  }

  /// Adds the edge from this object to `object` (Via::Object); fails
  /// (kFailure), adding nothing, when either has no GUID.
  Zol::ZolResult_24_8 addDownstreamObject(const EOMObjectPtr& object) override {
    if (auto answered = this->template call<Dependencies>("addDownstreamObject", object)) return *answered;
    return changeDownstream(graph(), true, {guidOf(object)}, Via::Object);
  }
  /// Adds the edges to every object (Via::Objects); fails (kFailure), adding
  /// none, when this object or one of them has no GUID.
  Zol::ZolResult_24_8 addDownstreamObjects(const Zol::EOM::IEOMObjectSequence& objects) override {
    if (auto answered = this->template call<Dependencies>("addDownstreamObjects", objects)) return *answered;
    return changeDownstream(graph(), true, guidsOf(objects), Via::Objects);
  }
  /// Adds the edges to every GUID (Via::GUIDs); fails (kFailure), adding
  /// none, when this object has no GUID or one of them is zero.
  Zol::ZolResult_24_8 addDownstreamGUIDs(const Zol::EOM::GUIDSequence& guids) override {
    if (auto answered = this->template call<Dependencies>("addDownstreamGUIDs", guids)) return *answered;
    return changeDownstream(graph(), true, std::vector<GUIDDATA>(guids.begin(), guids.end()), Via::GUIDs);
  }
  /// Removes the edge to `object`, as addDownstreamObject adds it; success
  /// also when there was no such edge.
  Zol::ZolResult_24_8 removeDownstreamObject(const EOMObjectPtr& object) override {
    if (auto answered = this->template call<Dependencies>("removeDownstreamObject", object)) return *answered;
    return changeDownstream(graph(), false, {guidOf(object)}, Via::Object);
  }
  /// Removes the edges to every object, as addDownstreamObjects adds them.
  Zol::ZolResult_24_8 removeDownstreamObjects(const Zol::EOM::IEOMObjectSequence& objects) override {
    if (auto answered = this->template call<Dependencies>("removeDownstreamObjects", objects)) return *answered;
    return changeDownstream(graph(), false, guidsOf(objects), Via::Objects);
  }
  /// Removes the edges to every GUID, as addDownstreamGUIDs adds them.
  Zol::ZolResult_24_8 removeDownstreamGUIDs(const Zol::EOM::GUIDSequence& guids) override {
    if (auto answered = this->template call<Dependencies>("removeDownstreamGUIDs", guids)) return *answered;
    return changeDownstream(graph(), false, std::vector<GUIDDATA>(guids.begin(), guids.end()), Via::GUIDs);
  }
  /// The GUIDs this object depends on, in edge order; empty for an object
  /// without a GUID.
  Zol::ZolResult_24_8 getUpstreamGUIDs(Zol::EOM::GUIDSequence& guids) override {
    if (auto answered = this->template call<Dependencies>("getUpstreamGUIDs", out(guids))) return *answered;
    const std::vector<GUIDDATA> found = graph().upstreamOf(guid());
    guids = Zol::EOM::GUIDSequence(found.begin(), found.end());
    return {};
  }
  /// The GUIDs that depend on this object, in edge order; empty for an
  /// object without a GUID.
  Zol::ZolResult_24_8 getDownstreamGUIDs(Zol::EOM::GUIDSequence& guids) override {
    if (auto answered = this->template call<Dependencies>("getDownstreamGUIDs", out(guids))) return *answered;
    const std::vector<GUIDDATA> found = graph().downstreamOf(guid());
    guids = Zol::EOM::GUIDSequence(found.begin(), found.end());
    return {};
  }

 protected:
  /// name(), journaled as IEOMObject's getName.
  Zol::ZolResult_24_8 getEOMName(icu::UnicodeString& name) override {
    if (auto answered = this->template call<EOM>("getName", out(name))) return *answered;
    name = this->name();
    return {};
  }
  /// typeName(), journaled as IEOMObject's getTypeName.
  Zol::ZolResult_24_8 getEOMTypeName(icu::UnicodeString& typeName) override {
    if (auto answered = this->template call<EOM>("getTypeName", out(typeName))) return *answered;
    typeName = this->typeName();
    return {};
  }

 private:
  SimDependencyGraph& graph() const { return this->context()->dependencies; }
  static std::vector<GUIDDATA> guidsOf(const Zol::EOM::IEOMObjectSequence& objects) {
    std::vector<GUIDDATA> guids;
    guids.reserve(objects.size());
    for (const EOMObjectPtr& object : objects) guids.push_back(guidOf(object));
    return guids;
  }
};

/// An engineering object that is not an entity. Its journal name is
/// "EOM object <name>".
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimEOMObject final : public SimEOMBehaviour<> {
 public:
  /// An object of `context` with the EOM name, type name and GUID given
  /// (none by default).
  SimEOMObject(SimContextPtr context, icu::UnicodeString name, icu::UnicodeString typeName, const GUIDDATA& guid = {});
};

/// @}

}  // namespace simhost
