#include "zol/kernel/ZolKernel.h"

#include <atomic>
#include <mutex>

namespace Zol {

namespace {

// A kernel object that lives as long as the process: counting is a no-op.
template <class I>
class StaticKernelObject : public I {
 public:
  void addReference() noexcept override {}
  void releaseReference() noexcept override {}
  ZolResult_24_8 queryInterface(const ZolTypeId& id, void** out) noexcept override {
    if (id == I::descriptor.typeId) {
      *out = static_cast<I*>(this);
    } else if (id == ZolIServiceInterface::descriptor.typeId) {
      *out = static_cast<ZolIServiceInterface*>(this);
    } else {
      *out = nullptr;
      return ZolResult_24_8(kQueryNoInterface);
    }
    return {};
  }
  std::string getServiceName() const override { return I::descriptor.typeName; }
  std::uint64_t getServiceId() const noexcept override { return 1; }
};

class ServiceManager final : public StaticKernelObject<ZolIServiceManagerInterface> {
 public:
  ZolResult_24_8 allocateServiceId(std::uint64_t& id) override {
    id = next_.fetch_add(1, std::memory_order_relaxed);
    return {};
  }

 private:
  std::atomic<std::uint64_t> next_{2};
};

class KernelAccess final : public StaticKernelObject<ZolIKernelAccessInterface> {
 public:
  ZolResult_24_8 getLogger(ZolSmartPointer<Framework::Logger::ZolILoggerInterface>& logger) override {
    std::lock_guard<std::mutex> lock(mutex_);
    logger = logger_;
    return logger ? ZolResult_24_8() : ZolResult_24_8(ZolResult_24_8::kFailure);
  }

  void setLogger(const ZolSmartPointer<Framework::Logger::ZolILoggerInterface>& logger) override {
    std::lock_guard<std::mutex> lock(mutex_);
    logger_ = logger;
  }

 private:
  std::mutex mutex_;
  ZolSmartPointer<Framework::Logger::ZolILoggerInterface> logger_;
};

// The kernel access a host installed in place of the kernel's own; null for none.
std::atomic<ZolIKernelAccessInterface*> installedKernelAccess{nullptr};

}  // namespace

// Both live as long as the process, so plug-ins may use them during their
// own static destruction.
ZolIServiceManagerInterface* getServiceManagerInterface_24_8() {
  static auto* manager = new ServiceManager();
  return manager;
}

ZolIKernelAccessInterface* getKernelAccessInterface_24_8() {
  if (ZolIKernelAccessInterface* installed = installedKernelAccess.load(std::memory_order_acquire)) return installed;
  static auto* access = new KernelAccess();
  return access;
}

void setKernelAccessInterface_24_8(ZolIKernelAccessInterface* access) {
  installedKernelAccess.store(access, std::memory_order_release);
}

}  // namespace Zol
