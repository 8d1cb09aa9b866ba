/// \file
/// The simulated host's model as a whole: the engineering-object model of
/// assemblies (assembly representations with their children, part
/// representations, the parts they stand for and those parts' persistent
/// parts, all entities of the model), the base plug-in's model management
/// with its flush, the host's listener to the model persistence events, and
/// the type registry of entity type names and ids.
///
/// \code
///   simhost::SimAssemblyBuilder build(host.context(), host.model(), 30);
///   auto frame = build.assembly(u"Frame");
///   auto plate = build.partRep(frame, u"Plate", u"CompPart::FEPartRep");
///   auto hinge = build.assembly(u"Hinge", frame);
///   host.model().setCurrentDesignPart(plate->partEntity()->persistentPart());
///   host.modelManagement().setFlushResult(Zol::ZolResult_24_8::kFailure);
///   host.typeRegistry().addType(41, u"StudyManager.TessalyShaperStudy");
/// \endcode
///
/// As in SimEntities.h, host operations are journaled and fault-injectable,
/// and state is guarded for the caller's thread and the work thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <unicode/unistr.h>

#include "kyr/baseplugin/ModelManagement.h"
#include "simhost/services/model/SimEntities.h"
#include "simhost/testbed/SimObject.h"
#include "zol/eom/IEOMAssembly.h"
#include "zol/framework/ZolIEventManager.h"
#include "zol/persistence/PersistenceFW.h"
#include "zol/services/ITypeRegistry.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

/// A model entity that offers the interfaces `Roles` too: their queries are
/// answered here (an injected query status applies to them as well), every
/// other query as SimEntity answers it.
///
/// \par Threads and exceptions
/// As SimEntity's: thread-safe. Its host operations throw what a fault armed
/// for them throws (an injected exception, or its callback's); its other
/// members throw nothing but std::bad_alloc.
template <class... Roles>
class SimEntityWith : public SimEntity, public Roles... {
 public:
  using SimEntity::SimEntity;

  /// SimEntity's: one count for every interface.
  void addReference() noexcept override { SimEntity::addReference(); }
  /// SimEntity's: the last release destroys the object.
  void releaseReference() noexcept override { SimEntity::releaseReference(); }
  /// serviceName(); not journaled.
  std::string getServiceName() const override { return serviceName(); }
  /// serviceId(); not journaled.
  std::uint64_t getServiceId() const noexcept override { return serviceId(); }

  /// The object as one of `Roles` when `id` names it (or the status set with
  /// setQueryStatus for it), else as SimEntity answers. Not journaled.
  Zol::ZolResult_24_8 queryInterface(const Zol::ZolTypeId& id, void** out) noexcept override {
    void* const offered = role(id);
    if (offered == nullptr) return SimEntity::queryInterface(id, out);
    *out = nullptr;
    if (const std::int32_t status = queryStatusOverride(id)) return Zol::ZolResult_24_8(status);
    *out = offered;
    addRef();
    return {};
  }

 private:
  // This object as the role that `id` names; null when no role has it.
  void* role(const Zol::ZolTypeId& id) noexcept {
    void* found = nullptr;
    ((found = (found == nullptr && id == Roles::descriptor.typeId) ? static_cast<Roles*>(this) : found), ...);
    return found;
  }
};

/// An assembly's representation: an entity of type "Assembly::AssemblyRep"
/// whose EOM children are listed in the order they were added.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimAssemblyRep final : public SimEntityWith<Zol::EOM::IEOMAssemblyRepInterface> {
 public:
  /// The assembly representation of `reference`, named `name`, with no child.
  SimAssemblyRep(SimContextPtr context, EntityReference reference, icu::UnicodeString name);

  /// Appends `child` (any engineering object; empty included) to the children.
  void addChildObject(EOMObjectPtr child);
  /// Removes every occurrence of `child` (by object identity) from the
  /// children, as a test does to break a loop it made.
  void removeChildObject(const EOMObjectPtr& child);
  /// The children, in the order added.
  std::vector<EOMObjectPtr> childObjects() const;

  /// childObjects() as the host's child records.
  Zol::ZolResult_24_8 getChildren(Zol::EOM::EOMChildSequence& children) override;

 private:
  mutable std::mutex mutex_;
  std::vector<EOMObjectPtr> children_;
};

/// The persistence framework's part behind an engineering part: a
/// persistent object (with the GUID a test gives it) that is an IPart.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimPersistentPart final
    : public SimPersistentObjectBase<Zol::PersistenceFW::CAEData::IPartInterface> {
 public:
  using SimPersistentObjectBase::SimPersistentObjectBase;
};

/// An engineering part that is an entity of the model; its persistent part
/// is set with setPersistentPart (empty at first).
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimPartEntity final : public SimEntityWith<Zol::EOM::IEOMPartInterface> {
 public:
  using SimEntityWith::SimEntityWith;

  /// Sets what getPersistentPart answers; empty takes it away.
  void setPersistentPart(ZolSmartPointer<SimPersistentPart> part);
  /// The persistent part; empty when none is set.
  ZolSmartPointer<SimPersistentPart> persistentPart() const;

  /// persistentPart(), empty included.
  Zol::ZolResult_24_8 getPersistentPart(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface>& part) override;

 private:
  mutable std::mutex mutex_;
  ZolSmartPointer<SimPersistentPart> persistentPart_;
};

/// A part's representation in an assembly: an entity of one of the part
/// representation types that is an EOM instance of its part. Both getPart
/// (IEOMObject) and getEOMPart (IEOMInstance) answer the EOM state's part,
/// the part entity given at construction until setPart changes it.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimPartRep final : public SimEntityWith<Zol::EOM::IEOMInstanceInterface> {
 public:
  /// The representation of `reference`, of type `typeName`, standing for
  /// `part`.
  SimPartRep(SimContextPtr context, EntityReference reference, icu::UnicodeString name, icu::UnicodeString typeName,
             ZolSmartPointer<SimPartEntity> part);

  /// The part entity the representation was made for.
  const ZolSmartPointer<SimPartEntity>& partEntity() const noexcept { return partEntity_; }

  /// The EOM state's part (part()), empty included.
  Zol::ZolResult_24_8 getEOMPart(EOMObjectPtr& part) override;

 private:
  const ZolSmartPointer<SimPartEntity> partEntity_;
};

/// Builds the EOM model of assemblies in a model: every object it makes is
/// an entity of the model with the reference (`first`, n, 0), n counting
/// from 1 in the order made. It builds through the host's own access (not
/// journaled).
///
/// \par Threads and exceptions
/// One thread at a time. Its members throw nothing but std::bad_alloc.
class SIMHOST_EXPORT SimAssemblyBuilder {
 public:
  /// A builder of `model`'s objects, whose references' first word is
  /// `first`. `model` must outlive the builder.
  SimAssemblyBuilder(SimContextPtr context, SimModel& model, std::uint32_t first);

  /// A new assembly representation, appended to `parent`'s children unless
  /// `parent` is empty.
  ZolSmartPointer<SimAssemblyRep> assembly(icu::UnicodeString name, const ZolSmartPointer<SimAssemblyRep>& parent = {});
  /// A new part named `name` (type "Part::Part") with a persistent part of
  /// the part's GUID, and its representation of `typeName`, also named
  /// `name`, appended to `parent`'s children unless `parent` is empty.
  ZolSmartPointer<SimPartRep> partRep(const ZolSmartPointer<SimAssemblyRep>& parent, icu::UnicodeString name,
                                      icu::UnicodeString typeName);

 private:
  EntityReference nextReference();

  const SimContextPtr context_;
  SimModel& model_;
  const std::uint32_t first_;
  std::uint32_t made_ = 0;
};

/// The "kyr.orla.plugin.baseplugin.ModelManagement" service: counts its
/// flushes and answers each with the result a test sets (success at first).
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimModelManagement final
    : public SimObject<kyr::orla::plugin::baseplugin::ZolIModelManagementInterface> {
 public:
  using SimObject::SimObject;

  /// The code flushModel answers from now on; 0 is success.
  void setFlushResult(std::int32_t code) noexcept { flushResult_.store(code, std::memory_order_release); }
  /// How often flushModel ran (its injected faults aside), failed flushes included.
  std::size_t flushes() const noexcept { return flushes_.load(std::memory_order_acquire); }

  /// Counts the flush and answers the result set (kFailure and the like
  /// as a result, not an exception).
  Zol::ZolResult_24_8 flushModel() override;

 private:
  std::atomic<std::int32_t> flushResult_{0};
  std::atomic<std::size_t> flushes_{0};
};

/// The host's listener to "kyr.orla.appfw.ModelPersistence": decodes each
/// event's payload, a "kyr.orla.appfw.ModelPersistenceEvent" whose stream
/// holds that type code again, the model's name and the written flag. A
/// payload of another type, a stream that does not read so, or bytes left
/// over is a host failure. Its handleEvent is the host's own, not
/// journaled.
///
/// \par Threads and exceptions
/// Thread-safe. handleEvent records what it cannot decode as a host failure
/// instead of throwing; its members throw nothing but std::bad_alloc.
class SIMHOST_EXPORT SimPersistenceListener final : public SimObject<Zol::Framework::ZolIEventListenerInterface> {
 public:
  /// The domain it listens to.
  static constexpr const char* kDomain = "kyr.orla.appfw.ModelPersistence";

  /// One event decoded.
  /// \ingroup simhost_host
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
  struct Record {
    std::int32_t eventId = 0;      ///< 21 before the model is written, 3 after
    icu::UnicodeString modelName;  ///< the model's name
    /// The flag: true once the model is written.
    bool written = false;
  };

  using SimObject::SimObject;

  /// The events decoded, oldest first.
  std::vector<Record> records() const;
  /// Decodes and keeps the event; an undecodable one is a host failure.
  Zol::Framework::HandleEventStatus handleEvent(const Zol::Framework::ZolEvent& event) override;

 private:
  mutable std::mutex mutex_;
  std::vector<Record> records_;
};

/// The type registry: entity types a test adds, by id and by name (names
/// case-sensitive). Unknown ids have the empty name, unknown names the id 0.
/// Counts its look-ups.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimTypeRegistry final : public SimObject<Zol::Services::TypeRegistry::ITypeRegistryInterface> {
 public:
  using SimObject::SimObject;

  /// Adds (or renames) the type `id`, also found by `name` from now on.
  void addType(std::uint32_t id, icu::UnicodeString name);
  /// How often getTypeName was asked (its injected faults aside).
  std::size_t nameLookUps() const noexcept { return nameLookUps_.load(std::memory_order_acquire); }
  /// How often getTypeId was asked (its injected faults aside).
  std::size_t idLookUps() const noexcept { return idLookUps_.load(std::memory_order_acquire); }

  /// The name of type `id`; the empty name for an unknown id.
  Zol::ZolResult_24_8 getTypeName(std::uint32_t id, icu::UnicodeString& name) override;
  /// The id of the type named `name`; 0 for an unknown name.
  Zol::ZolResult_24_8 getTypeId(const icu::UnicodeString& name, std::uint32_t& id) override;

 private:
  mutable std::mutex mutex_;
  std::map<std::uint32_t, icu::UnicodeString> names_;
  std::map<icu::UnicodeString, std::uint32_t> ids_;
  std::atomic<std::size_t> nameLookUps_{0};
  std::atomic<std::size_t> idLookUps_{0};
};

/// @}

}  // namespace simhost
