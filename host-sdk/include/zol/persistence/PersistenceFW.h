// The persistence framework: its current session, that session's model and
// project, the model's parts, and the default names of new objects.
#pragma once

#include <cstdint>

#include <unicode/unistr.h>

#include "zol/kernel/ZolSmartPointer.h"
#include "zol/persistence/EntityReference.h"

namespace Zol::PersistenceFW::CAEData {

/// An assembly of the model ("Zol.PersistenceFW.CAEData.IAssembly").
class IAssemblyInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IAssembly"};
  /// The reference of the entity that stands for the assembly.
  virtual ZolResult_24_8 getEntityReference(EntityReference& reference) = 0;
};

/// A part of the model ("Zol.PersistenceFW.CAEData.IPart"); a persistent
/// object too, which gives its identity.
class IPartInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IPart"};
};

/// An open model ("Zol.PersistenceFW.CAEData.IModel").
class IModelInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IModel"};
  /// The model's root assembly; empty when the model has none.
  virtual ZolResult_24_8 getRootAssembly(ZolSmartPointer<IAssemblyInterface>& assembly) = 0;
  /// The part being designed now; empty when there is none.
  virtual ZolResult_24_8 getCurrentDesignPart(ZolSmartPointer<IPartInterface>& part) = 0;
};

/// What a project records of the product that made it.
struct ProductRecord {
  icu::UnicodeString vendor;
  icu::UnicodeString version;
  icu::UnicodeString build;
  /// The product's name, as the product info names it ("Orla Modeler").
  icu::UnicodeString productName;
};

/// The project of a persistence session ("Zol.PersistenceFW.CAEData.IProject").
class IProjectInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IProject"};
  virtual ZolResult_24_8 getProductRecord(ProductRecord& record) = 0;
};

/// A persistence session ("Zol.PersistenceFW.CAEData.IPersistenceSession").
class IPersistenceSessionInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IPersistenceSession"};
  /// The session's model; empty when none is open.
  virtual ZolResult_24_8 getModel(ZolSmartPointer<IModelInterface>& model) = 0;
  /// The session's project; empty when there is none.
  virtual ZolResult_24_8 getProject(ZolSmartPointer<IProjectInterface>& project) = 0;
};

/// The persistence framework ("Zol.PersistenceFW.CAEData.IPFW").
class IPFWInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IPFW"};
  /// The current session; empty when there is none.
  virtual ZolResult_24_8 getCurrentSession(ZolSmartPointer<IPersistenceSessionInterface>& session) = 0;
  /// Registers `name` as a default name of new objects of the entity type
  /// `typeId` (a type may have several): such objects are named `name`
  /// followed by a number counted from `firstNumber`, counted for each
  /// owning object on its own when `perOwner` is set.
  virtual ZolResult_24_8 registerDefaultName(std::uint32_t typeId, const icu::UnicodeString& name,
                                             std::int32_t firstNumber, bool perOwner) = 0;
};

}  // namespace Zol::PersistenceFW::CAEData
