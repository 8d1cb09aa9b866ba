// The kernel's base for service objects that a module implements itself and
// hands to the host: an atomic reference count, a service id from the
// kernel's service manager, a service name, and the interface query.
//
//   inline constexpr char kJobName[] = "MyPlugin.Job";
//   class Job : public Zol::Framework::ZolServiceObjectImpl1<ZolSmartPointer<IJobInterface>, kJobName> {
//    public:
//     Zol::ZolResult_24_8 run() override;
//   };
//   ZolSmartPointer<IJobInterface> job(new Job());  // the first reference
//
// The object destroys itself when its last reference is released, on
// whichever thread releases it; it is never deleted directly.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "zol/kernel/ZolKernel.h"
#include "zol/kernel/ZolSmartPointer.h"

namespace Zol::Framework {

/// Implements "Zol.ZolIService" and the interface `SmartPointer` points to.
/// Only ZolSmartPointer<I> is accepted.
template <class SmartPointer, const char* Name>
class ZolServiceObjectImpl1;

template <class I, const char* Name>
class ZolServiceObjectImpl1<ZolSmartPointer<I>, Name> : public I {
 public:
  /// Starts with no reference. The service id is the service manager's (its
  /// result is not examined); 1 without a service manager.
  ZolServiceObjectImpl1() : serviceName_(Name) {
    if (ZolIServiceManagerInterface* manager = getServiceManagerInterface_24_8()) {
      manager->allocateServiceId(serviceId_);
    }
  }
  ZolServiceObjectImpl1(const ZolServiceObjectImpl1&) = delete;
  ZolServiceObjectImpl1& operator=(const ZolServiceObjectImpl1&) = delete;

  void addReference() noexcept override { references_.fetch_add(1, std::memory_order_relaxed); }
  /// The release that takes the count to 0 destroys the object; the
  /// acquire-release order makes every other thread's use of it happen before.
  void releaseReference() noexcept override {
    if (references_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }
  /// The ids of "Zol.ZolIService", of `I` and of the interfaces `I` extends
  /// give this object with a reference added; any other id gives null and
  /// result 1.
  ZolResult_24_8 queryInterface(const ZolTypeId& id, void** out) noexcept override {
    *out = nullptr;
    if (id == ZolIServiceInterface::descriptor.typeId) {
      *out = static_cast<ZolIServiceInterface*>(this);
    } else if (!offerInterface<I>(this, id, out)) {
      return ZolResult_24_8(kQueryNoInterface);
    }
    addReference();
    return {};
  }
  std::string getServiceName() const override { return serviceName_; }
  std::uint64_t getServiceId() const noexcept override { return serviceId_; }

 protected:
  ~ZolServiceObjectImpl1() override = default;

 private:
  std::atomic<std::uint32_t> references_{0};
  std::uint64_t serviceId_ = 1;
  std::string serviceName_;
};

}  // namespace Zol::Framework
