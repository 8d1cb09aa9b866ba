// Model entities, host entity lists and the root manager that resolves
// entity references.
#pragma once

#include <string>

#include "kyr/appfw/ICmdProcessor.h"
#include "zol/kernel/ZolAny.h"
#include "zol/kernel/ZolSequence.h"
#include "zol/persistence/EntityReferenceList.h"

namespace kyr::orla::appfw {

/// A model entity ("kyr.orla.appfw.IEntity").
class IEntityInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IEntity"};
  virtual Zol::ZolResult_24_8 getReference(Zol::PersistenceFW::CAEData::EntityReference& reference) = 0;
  /// Sets attribute `name`; fills `undo` with the change's undo/redo command.
  virtual Zol::ZolResult_24_8 setAttribute(const std::string& name, const Zol::ZolAny_24_8& value,
                                           ZolSmartPointer<IURCommandInterface>& undo) = 0;
};

using IEntities = ZolSequence<ZolSmartPointer<IEntityInterface>>;

/// A host entity list ("kyr.orla.appfw.IEntityList").
class IEntityListInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IEntityList"};
  /// The references of the list's entities, in list order.
  virtual Zol::ZolResult_24_8 getEntityReferenceList(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface>& list) = 0;
};

/// ("kyr.orla.appfw.IRootManager")
class IRootManagerInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IRootManager"};
  /// The entity `reference` names; empty when it names none.
  virtual Zol::ZolResult_24_8 getEntity(const Zol::PersistenceFW::CAEData::EntityReference& reference,
                                        ZolSmartPointer<IEntityInterface>& entity) = 0;
  /// A new entity list of `entities`.
  virtual Zol::ZolResult_24_8 makeEntityList(const IEntities& entities,
                                             ZolSmartPointer<IEntityListInterface>& list) = 0;
};

}  // namespace kyr::orla::appfw
