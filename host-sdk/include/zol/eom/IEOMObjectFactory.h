// Engineering objects (EOM objects): their identity and state, their
// dependency edges, the factory that opens and wraps them, and the dependency
// manager that generates them.
//
//   ZolSmartPointer<Zol::EOM::IEOMObjectInterface> part;
//   factory->open(guid, part);
//   if (auto edges = Zol::interfaceCast<Zol::EOM::IEOMDependenciesInterface>(upstream))
//   edges->addDownstreamObject(part);
#pragma once

#include <unicode/unistr.h>

#include "zol/kernel/ZolSequence.h"
#include "zol/kernel/ZolSmartPointer.h"
#include "zol/persistence/EntityReferenceList.h"

namespace Zol::EOM {

using Zol::PersistenceFW::CAEData::GUIDDATA;

/// An engineering object ("Zol.EOM.IEOMObject").
class IEOMObjectInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.EOM.IEOMObject"};

  virtual ZolResult_24_8 getName(icu::UnicodeString& name) = 0;
  virtual ZolResult_24_8 setName(const icu::UnicodeString& name) = 0;
  virtual ZolResult_24_8 getTypeName(icu::UnicodeString& typeName) = 0;
  /// The engineering part this object stands for (a part representation's
  /// part, IEOMAssembly.h); empty for an object that stands for none.
  virtual ZolResult_24_8 getPart(ZolSmartPointer<IEOMObjectInterface>& part) = 0;
  /// The object's identity; the zero GUID when it has none.
  virtual GUIDDATA getGUID() = 0;
  /// The host's yes/no state of the object.
  virtual bool getState() = 0;
  /// The host's own identity test: true when `other` is this engineering
  /// object (an empty `other` is never).
  virtual bool isEqual(const ZolSmartPointer<IEOMObjectInterface>& other) = 0;

  /// Whether the object has a primary persistent object, and that object.
  virtual bool hasPrimaryPersistentObject() = 0;
  virtual ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> getPrimaryPersistentObject() = 0;
  /// Whether the object has a secondary persistent object, and that object.
  virtual bool hasSecondaryPersistentObject() = 0;
  virtual ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> getSecondaryPersistentObject() = 0;

  /// Marks the object for generation.
  virtual void mark() = 0;
  /// True when the object is left out of generation.
  virtual bool isExcluded() = 0;
};

using IEOMObjectSequence = ZolSequence<ZolSmartPointer<IEOMObjectInterface>>;
using GUIDSequence = ZolSequence<GUIDDATA>;

/// The dependency edges of an engineering object, kept on its upstream side
/// ("Zol.EOM.IEOMDependencies"): each downstream object or GUID added here
/// depends on this object.
class IEOMDependenciesInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.EOM.IEOMDependencies"};

  virtual ZolResult_24_8 addDownstreamObject(const ZolSmartPointer<IEOMObjectInterface>& object) = 0;
  virtual ZolResult_24_8 addDownstreamObjects(const IEOMObjectSequence& objects) = 0;
  virtual ZolResult_24_8 addDownstreamGUIDs(const GUIDSequence& guids) = 0;
  virtual ZolResult_24_8 removeDownstreamObject(const ZolSmartPointer<IEOMObjectInterface>& object) = 0;
  virtual ZolResult_24_8 removeDownstreamObjects(const IEOMObjectSequence& objects) = 0;
  virtual ZolResult_24_8 removeDownstreamGUIDs(const GUIDSequence& guids) = 0;
  /// The GUIDs of the objects this one depends on.
  virtual ZolResult_24_8 getUpstreamGUIDs(GUIDSequence& guids) = 0;
  /// The GUIDs of the objects that depend on this one.
  virtual ZolResult_24_8 getDownstreamGUIDs(GUIDSequence& guids) = 0;
};

/// ("Zol.EOM.IEOMObjectFactory")
class IEOMObjectFactoryInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.EOM.IEOMObjectFactory"};
  /// The EOM object that wraps `object`; empty when none does.
  virtual ZolResult_24_8 wrap(const ZolIService& object, ZolSmartPointer<IEOMObjectInterface>& eomObject) = 0;
  /// The EOM object with `guid`; empty (and a failure) when there is none.
  virtual ZolResult_24_8 open(const GUIDDATA& guid, ZolSmartPointer<IEOMObjectInterface>& eomObject) = 0;
};

/// Generates engineering objects ("Zol.EOM.IEOMDependencyManager").
class IEOMDependencyManagerInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.EOM.IEOMDependencyManager"};
  /// Generates `objects`, in the order given.
  virtual ZolResult_24_8 bulkGenerate(const IEOMObjectSequence& objects) = 0;
};

}  // namespace Zol::EOM
