// Held references: what a module keeps on purpose beyond any one call, such
// as a service cache or the provider it keeps until it is unloaded. While it
// is loaded, a module registers a reporter that names each such reference, so
// that a host's leak check can tell what is held from what leaked.
//
//   const Zol::ZolHoldingsRegistration kHoldings("MyPlugin", [](Zol::ZolHeldReferences& held) {
//     held.add("service cache", cachedService);
//   });
//   for (const Zol::ZolHeldReference& reference : Zol::currentHeldReferences_24_8()) ...
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "zol/kernel/ZolKernelExport.h"
#include "zol/kernel/ZolSmartPointer.h"

namespace Zol {

/// One reference a module holds: who holds it, and the interface pointer held.
struct ZolHeldReference {
  std::string holder;  // "<module>: <what>"
  ZolIServiceInterface* object;
};

/// What a reporter fills: the references its module holds right now.
class ZOL_KERNEL_EXPORT ZolHeldReferences {
 public:
  explicit ZolHeldReferences(std::string module) : module_(std::move(module)) {}

  /// Names `reference` as held for `what`; an empty pointer holds nothing.
  /// A pointer to an object's own class, which reaches the service
  /// interface through several of its interfaces, is named by the identity
  /// the object answers for "Zol.ZolIService".
  template <class I>
  void add(std::string_view what, const ZolSmartPointer<I>& reference) {
    if (!reference) return;
    if constexpr (std::is_convertible_v<I*, ZolIServiceInterface*>) {
      addObject(what, reference.get());
    } else if (const ZolIServiceInterface* identity = detail::objectIdentity(reference.get())) {
      addObject(what, const_cast<ZolIServiceInterface*>(identity));
    }
  }

  std::vector<ZolHeldReference>& entries() noexcept { return entries_; }

 private:
  void addObject(std::string_view what, ZolIServiceInterface* object);

  std::string module_;
  std::vector<ZolHeldReference> entries_;
};

/// Fills `held` with the references its module holds. Called while nothing
/// else uses that module's state.
using ZolHoldingsReporter = void (*)(ZolHeldReferences& held);

/// Registers `reporter` under `module` for the lifetime of this object; a
/// module keeps one as a static, next to the state it reports.
class ZOL_KERNEL_EXPORT ZolHoldingsRegistration {
 public:
  ZolHoldingsRegistration(std::string module, ZolHoldingsReporter reporter);
  ~ZolHoldingsRegistration();
  ZolHoldingsRegistration(const ZolHoldingsRegistration&) = delete;
  ZolHoldingsRegistration& operator=(const ZolHoldingsRegistration&) = delete;

 private:
  std::uint64_t id_;
};

/// Every reference that the registered reporters say their modules hold now,
/// in registration order. Not synchronised with the modules' own use of what
/// they report: call it while they are idle.
ZOL_KERNEL_EXPORT std::vector<ZolHeldReference> currentHeldReferences_24_8();

}  // namespace Zol
