// The engineering-object model of an assembly: an assembly representation
// lists its children, each a sub-assembly's representation or a part
// representation; a part representation (an instance of a part in the
// assembly) stands for an engineering part, whose persistent part the
// persistence framework keeps. The type names tell the kinds apart:
// "Assembly::AssemblyRep" for assemblies, "CompPart::FEPartRep",
// "Part::ConcentratedPartRep" and "CompPart::ComputationalPartRep" for part
// representations.
//
//   auto assembly = Zol::interfaceCast<Zol::EOM::IEOMAssemblyRepInterface>(entity);
//   Zol::EOM::EOMChildSequence children;
//   if (assembly) assembly->getChildren(children);
//   for (const Zol::EOM::EOMChild& child : children) child.object->getPart(part);
#pragma once

#include "zol/eom/IEOMObjectFactory.h"
#include "zol/kernel/ZolSequence.h"
#include "zol/kernel/ZolSmartPointer.h"
#include "zol/persistence/EntityReferenceList.h"

namespace Zol::EOM {

/// One child of an assembly representation.
struct EOMChild {
  ZolSmartPointer<IEOMObjectInterface> object;
};

using EOMChildSequence = ZolSequence<EOMChild>;

/// An assembly's representation ("Zol.EOM.IEOMAssemblyRep").
class IEOMAssemblyRepInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.EOM.IEOMAssemblyRep"};
  /// The assembly's children, in the assembly's order.
  virtual ZolResult_24_8 getChildren(EOMChildSequence& children) = 0;
};

/// An instance of an engineering part in an assembly ("Zol.EOM.IEOMInstance").
class IEOMInstanceInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.EOM.IEOMInstance"};
  /// The engineering part instantiated; empty when there is none.
  virtual ZolResult_24_8 getEOMPart(ZolSmartPointer<IEOMObjectInterface>& part) = 0;
};

/// An engineering part ("Zol.EOM.IEOMPart").
class IEOMPartInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.EOM.IEOMPart"};
  /// The persistence framework's part behind it (one that offers
  /// Zol.PersistenceFW.CAEData.IPart); empty when there is none.
  virtual ZolResult_24_8 getPersistentPart(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface>& part) = 0;
};

}  // namespace Zol::EOM
