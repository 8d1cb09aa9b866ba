// Entity-reference lists (read-only and writable), their iterator and their
// factory.
#pragma once

#include "zol/kernel/ZolSmartPointer.h"
#include "zol/persistence/EntityReference.h"

namespace Zol::PersistenceFW::CAEData {

/// ("Zol.PersistenceFW.CAEData.IEntityReferenceIterator")
class IEntityReferenceIteratorInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IEntityReferenceIterator"};
  /// Fills `reference` with the next reference and answers true; false at the end.
  virtual bool next(EntityReference& reference) = 0;
};

/// A read-only list of entity references ("Zol.PersistenceFW.CAEData.IEntityReferenceConstList").
class IEntityReferenceConstListInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IEntityReferenceConstList"};
  /// An iterator from the first reference, in list order.
  virtual ZolResult_24_8 getIterator(ZolSmartPointer<IEntityReferenceIteratorInterface>& iterator) = 0;
  virtual ZolResult_24_8 getCount(std::uint32_t& count) = 0;
};

/// A writable list ("Zol.PersistenceFW.CAEData.IEntityReferenceList"); also a
/// read-only list.
class IEntityReferenceListInterface : public IEntityReferenceConstListInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IEntityReferenceList"};
  using base_interface = IEntityReferenceConstListInterface;
  virtual ZolResult_24_8 append(const EntityReference& reference) = 0;
};

/// ("Zol.PersistenceFW.CAEData.IEntityReferenceListFactory")
class IEntityReferenceListFactoryInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IEntityReferenceListFactory"};
  /// A new, empty list.
  virtual ZolResult_24_8 createList(ZolSmartPointer<IEntityReferenceListInterface>& list) = 0;
};

/// A model object of the persistence framework ("Zol.PersistenceFW.CAEData.IPersistentObject").
class IPersistentObjectInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IPersistentObject"};
  /// The reference of the entity that stands for this object, if any.
  virtual ZolResult_24_8 getEntityReference(EntityReference& reference) = 0;
  /// The object's identity; writes nothing and fails when it has none.
  virtual ZolResult_24_8 getGUID(GUIDDATA& guid) = 0;
  /// The persistent object that owns this one; empty for a top-level object.
  virtual ZolResult_24_8 getOwner(ZolSmartPointer<IPersistentObjectInterface>& owner) = 0;
  /// Whether the object's dependency edges may be changed now.
  virtual ZolResult_24_8 isEligible(bool& eligible) = 0;
};

/// A persistent object that holds others ("Zol.PersistenceFW.CAEData.IContainer").
class IContainerInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IContainer"};
};

}  // namespace Zol::PersistenceFW::CAEData
