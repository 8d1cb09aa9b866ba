// The persistence framework: its current session and that session's model.
#pragma once

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

/// An open model ("Zol.PersistenceFW.CAEData.IModel").
class IModelInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IModel"};
  /// The model's root assembly; empty when the model has none.
  virtual ZolResult_24_8 getRootAssembly(ZolSmartPointer<IAssemblyInterface>& assembly) = 0;
};

/// A persistence session ("Zol.PersistenceFW.CAEData.IPersistenceSession").
class IPersistenceSessionInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IPersistenceSession"};
  /// The session's model; empty when none is open.
  virtual ZolResult_24_8 getModel(ZolSmartPointer<IModelInterface>& model) = 0;
};

/// The persistence framework ("Zol.PersistenceFW.CAEData.IPFW").
class IPFWInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IPFW"};
  /// The current session; empty when there is none.
  virtual ZolResult_24_8 getCurrentSession(ZolSmartPointer<IPersistenceSessionInterface>& session) = 0;
};

}  // namespace Zol::PersistenceFW::CAEData
