// The base of the benchmarks' own host objects: the five operations every
// host interface inherits (reference counting, the interface query, service
// name and id), and nothing else, so that a measured host call costs a
// virtual call and the work it does, with no journal or fault injection.
//
//   class Container final : public bench::HostObject<Zol::ZolIServiceInterface> {};
//   Zol::ZolIService container = bench::makeHostObject<Container>();
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>

#include "zol/kernel/ZolSmartPointer.h"

/// Exports a class of the benchmarks' host-object library.
#define BENCH_HOST_EXPORT [[gnu::visibility("default")]]

namespace bench {

/// A reference-counted object implementing `Primary` and `Others`; its
/// "Zol.ZolIService" identity is the `Primary` interface. The count is
/// atomic, as a host's is, since a plug-in runs in a multi-threaded host.
template <class Primary, class... Others>
class HostObject : public Primary, public Others... {
 public:
  HostObject() = default;
  HostObject(const HostObject&) = delete;
  HostObject& operator=(const HostObject&) = delete;

  void addReference() noexcept override { references_.fetch_add(1, std::memory_order_relaxed); }
  void releaseReference() noexcept override {
    if (references_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }

  Zol::ZolResult_24_8 queryInterface(const Zol::ZolTypeId& id, void** out) noexcept override {
    *out = nullptr;
    if (id == Zol::ZolIServiceInterface::descriptor.typeId) {
      *out = static_cast<Zol::ZolIServiceInterface*>(static_cast<Primary*>(this));
    } else if (!(Zol::offerInterface<Primary>(this, id, out) || (Zol::offerInterface<Others>(this, id, out) || ...))) {
      return Zol::ZolResult_24_8(Zol::kQueryNoInterface);
    }
    addReference();
    return {};
  }

  std::string getServiceName() const override { return Primary::descriptor.typeName; }
  std::uint64_t getServiceId() const noexcept override { return 1; }

 protected:
  ~HostObject() override = default;

 private:
  std::atomic<std::uint32_t> references_{0};
};

/// A new host object; the returned pointer holds its first reference.
template <class T, class... Args>
ZolSmartPointer<T> makeHostObject(Args&&... args) {
  return ZolSmartPointer<T>(new T(std::forward<Args>(args)...));
}

}  // namespace bench
