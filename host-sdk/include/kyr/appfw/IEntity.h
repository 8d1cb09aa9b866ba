// Model entities, host entity lists and the root manager that resolves
// entity references.
#pragma once

#include <cstdint>
#include <string>

#include <unicode/unistr.h>

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
  virtual Zol::ZolResult_24_8 getName(icu::UnicodeString& name) = 0;
  virtual Zol::ZolResult_24_8 getTypeName(icu::UnicodeString& typeName) = 0;
  /// Makes `parent` this entity's parent; an empty `parent` clears it.
  virtual Zol::ZolResult_24_8 setParent(const ZolSmartPointer<IEntityInterface>& parent) = 0;
  /// Adds `child` to this entity's children, under `name`.
  virtual Zol::ZolResult_24_8 addChild(const ZolSmartPointer<IEntityInterface>& child,
                                       const icu::UnicodeString& name) = 0;
};

using IEntities = ZolSequence<ZolSmartPointer<IEntityInterface>>;

/// The host's own comparison of entity references
/// ("kyr.orla.appfw.IInterfaceAdapterManager"), offered by the root manager.
class IInterfaceAdapterManagerInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IInterfaceAdapterManager"};
  virtual bool areEqual(const Zol::PersistenceFW::CAEData::EntityReference& a,
                        const Zol::PersistenceFW::CAEData::EntityReference& b) = 0;
  /// A strict order of references.
  virtual bool isLess(const Zol::PersistenceFW::CAEData::EntityReference& a,
                      const Zol::PersistenceFW::CAEData::EntityReference& b) = 0;
  /// Equal references hash alike.
  virtual std::int32_t hashCode(const Zol::PersistenceFW::CAEData::EntityReference& reference) = 0;
};

/// The host's selection ("kyr.orla.appfw.ISelectionManager"), offered by the
/// "kyr.orla.appfw.SelectionManager" service.
class ISelectionManagerInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.ISelectionManager"};
  /// A new, empty entity-reference list.
  virtual Zol::ZolResult_24_8 createEntityReferenceList(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceListInterface>& list) = 0;
};

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
