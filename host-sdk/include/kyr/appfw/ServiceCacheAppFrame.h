// The host's service cache: process-wide pointers to the framework's central
// services, set by the host at start-up and cleared at shut-down. Each may be
// empty; callers test before use.
#pragma once

#include "zol/kernel/ZolKernelExport.h"
#include "zol/kernel/ZolSmartPointer.h"

namespace Zol::Framework {
class ZolIEventManagerInterface;
class ZolIServiceAccess;
}  // namespace Zol::Framework
namespace Zol::PersistenceFW::CAEData {
class IEntityReferenceListFactoryInterface;
class IPFWInterface;
}  // namespace Zol::PersistenceFW::CAEData
namespace Zol::EOM {
class IEOMObjectFactoryInterface;
}
namespace Zol::Services::TypeRegistry {
class ITypeRegistryInterface;
}

namespace kyr::orla::appfw {

class IFrameworkAccessInterface;
class ICmdProcessorInterface;
class IRootManagerInterface;
class IEntRefContainerFactoryInterface;
class ZolITransactionBrokerFactoryInterface;

class ZOL_KERNEL_EXPORT ServiceCacheAppFrame {
 public:
  ServiceCacheAppFrame() = delete;

  static ZolSmartPointer<IFrameworkAccessInterface> frameworkAccess_;
  static ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface> eventManager_;
  static ZolSmartPointer<ICmdProcessorInterface> commandProcessor_;
  static ZolSmartPointer<IRootManagerInterface> rootManager_;
  static ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceListFactoryInterface> entRefListFactory_;
  static ZolSmartPointer<IEntRefContainerFactoryInterface> entRefFactory_;
  static ZolSmartPointer<IEntRefContainerFactoryInterface> entRefContainerFactory_;
  static ZolSmartPointer<Zol::EOM::IEOMObjectFactoryInterface> eomObjectFactory_;
  static ZolSmartPointer<Zol::PersistenceFW::CAEData::IPFWInterface> PFW_;
  static ZolSmartPointer<ZolITransactionBrokerFactoryInterface> transactionBrokerFactory_;
  static ZolSmartPointer<Zol::Services::TypeRegistry::ITypeRegistryInterface> typeRegistry_;
  /// Not reference counted; the host keeps the access object alive.
  static Zol::Framework::ZolIServiceAccess* zolServiceAccess_;

  /// Empties every member (the host's shut-down).
  static void clear();
};

}  // namespace kyr::orla::appfw
