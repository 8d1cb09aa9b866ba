// Interface casts: a query of the source object for the target interface.
// The policy is chosen at the call site:
//
//   auto entity = Zol::interfaceCast<IEntityInterface>(service);         // empty on failure
//   auto bin = Zol::interfaceCastOrThrow<ZolITrashBinInterface>(service);  // throws on failure
//
// Both give an empty pointer for an empty source.
#pragma once

#include <cstdint>
#include <string>

#include "zol/kernel/ZolKernelExport.h"
#include "zol/kernel/ZolSmartPointer.h"

namespace Zol {

/// The text of a failed cast to `targetTypeName` with query status `status`.
ZOL_KERNEL_EXPORT std::string castErrorText(const char* targetTypeName, std::int32_t status);
/// The exception code of a failed cast with query status `status`.
ZOL_KERNEL_EXPORT std::int32_t castErrorCode(std::int32_t status);
/// Raises the ZolSystemException_24 of a failed cast, with policy "ZolException".
[[noreturn]] ZOL_KERNEL_EXPORT void throwCastError(const char* targetTypeName, std::int32_t status);

namespace detail {
template <class To, class From>
ZolSmartPointer<To> queryTarget(const ZolSmartPointer<From>& source, std::int32_t& status) noexcept {
  void* out = nullptr;
  status = source->queryInterface(To::descriptor.typeId, &out).getCode();
  auto* target = static_cast<To*>(out);
  if (status != kQueryOk) {
    if (target) target->releaseReference();
    return {};
  }
  return ZolSmartPointer<To>::adopt(target);
}
}  // namespace detail

/// The `To` interface of the source object, or empty when the source is empty
/// or does not offer it.
template <class To, class From>
ZolSmartPointer<To> interfaceCast(const ZolSmartPointer<From>& source) noexcept {
  if (!source) return {};
  std::int32_t status = kQueryOk;
  return detail::queryTarget<To>(source, status);
}

/// The `To` interface of the source object; empty for an empty source. Throws
/// ZolSystemException_24 (see castErrorText/castErrorCode) when the query fails.
template <class To, class From>
ZolSmartPointer<To> interfaceCastOrThrow(const ZolSmartPointer<From>& source) {
  if (!source) return {};
  std::int32_t status = kQueryOk;
  ZolSmartPointer<To> target = detail::queryTarget<To>(source, status);
  if (status != kQueryOk) throwCastError(To::descriptor.typeName, status);
  if (!target) throwCastError(To::descriptor.typeName, kQueryNoInterface);
  return target;
}

}  // namespace Zol
