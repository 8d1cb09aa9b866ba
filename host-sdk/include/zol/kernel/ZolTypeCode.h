// Type codes: the kernel's handle to a registered type, found by 128-bit id
// or by dotted name. Registered types live for the whole process, so a type
// code is a cheap, copyable handle that callers may cache.
//
//   static const Zol::ZolTypeCode_24_8 tc = Zol::getCachedTypeCodeInit_24_8(kMyStructId);
//   if (any.getTypeCode() == tc) ...
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "zol/kernel/ZolInterface.h"
#include "zol/kernel/ZolKernelExport.h"
#include "zol/kernel/ZolTypeId.h"

namespace Zol {

namespace detail {
struct ZolTypeRecord;
}

class ZOL_KERNEL_EXPORT ZolTypeCode_24_8 {
 public:
  /// The empty type code: no type.
  constexpr ZolTypeCode_24_8() noexcept = default;

  bool empty() const noexcept { return record_ == nullptr; }
  explicit operator bool() const noexcept { return record_ != nullptr; }
  /// The type's id; the null id for the empty type code.
  ZolTypeId getTypeId() const noexcept;
  /// The type's dotted name; empty for the empty type code.
  const std::string& getName() const noexcept;

  /// The kernel's type-code comparison: same registered type.
  friend bool operator==(const ZolTypeCode_24_8& a, const ZolTypeCode_24_8& b) noexcept {
    return a.record_ == b.record_;
  }
  friend bool operator!=(const ZolTypeCode_24_8& a, const ZolTypeCode_24_8& b) noexcept {
    return a.record_ != b.record_;
  }

 private:
  friend class ZolTypeRegistryAccess;
  explicit ZolTypeCode_24_8(const detail::ZolTypeRecord* record) noexcept : record_(record) {}
  const detail::ZolTypeRecord* record_ = nullptr;
};

/// Registers a type, or returns the existing one when the same name and id
/// are registered already. Throws Zol::Framework::Reflection::TypeCodeException
/// when the name or the id is registered with a different partner.
ZOL_KERNEL_EXPORT ZolTypeCode_24_8 registerTypeCode_24_8(std::string_view name, const ZolTypeId& id);

/// Registers a type for as long as the module that holds it is loaded: each
/// area of the SDK registers its fixed ids where it defines them, so that a
/// stream naming them reads before anyone asked for their type code.
///
///   const Zol::ZolTypeRegistration kPointType{"Test.Point", kPointTypeId};
class ZOL_KERNEL_EXPORT ZolTypeRegistration {
 public:
  ZolTypeRegistration(std::string_view name, const ZolTypeId& id) : typeCode_(registerTypeCode_24_8(name, id)) {}
  const ZolTypeCode_24_8& typeCode() const noexcept { return typeCode_; }

 private:
  ZolTypeCode_24_8 typeCode_;
};

/// The type code of a registered id; empty when the id is unknown. Each
/// thread remembers the ids it found recently, so repeated look-ups of the
/// same few ids do not take the registry's lock.
ZOL_KERNEL_EXPORT ZolTypeCode_24_8 getCachedTypeCodeInit_24_8(const ZolTypeId& id) noexcept;

/// How often getCachedTypeCodeInit_24_8 was answered from the calling
/// thread's recent ids (hits) or had to ask the shared registry (misses).
struct ZolTypeCodeCacheStats {
  std::uint64_t hits = 0;
  std::uint64_t misses = 0;
};
/// The calling thread's counters since it started.
ZOL_KERNEL_EXPORT ZolTypeCodeCacheStats getTypeCodeCacheStats_24_8() noexcept;

/// The type code of a registered dotted name. An unknown name gives the empty
/// type code, or throws TypeCodeException when `throwIfUnknown` is set.
ZOL_KERNEL_EXPORT ZolTypeCode_24_8 getCachedTypeCode_24_8(std::string_view name, bool throwIfUnknown);

/// Built-in scalar and string types.
ZOL_KERNEL_EXPORT ZolTypeCode_24_8 getTC_Zol_Boolean_24_8() noexcept;
ZOL_KERNEL_EXPORT ZolTypeCode_24_8 getTC_Zol_Int32_24_8() noexcept;
ZOL_KERNEL_EXPORT ZolTypeCode_24_8 getTC_Zol_UInt32_24_8() noexcept;
ZOL_KERNEL_EXPORT ZolTypeCode_24_8 getTC_Zol_Int64_24_8() noexcept;
ZOL_KERNEL_EXPORT ZolTypeCode_24_8 getTC_Zol_UInt64_24_8() noexcept;
ZOL_KERNEL_EXPORT ZolTypeCode_24_8 getTC_Zol_Double_24_8() noexcept;
/// Narrow (UTF-8) string.
ZOL_KERNEL_EXPORT ZolTypeCode_24_8 getTC_Zol_ZolString_24_8() noexcept;
/// Unicode (UTF-16) string.
ZOL_KERNEL_EXPORT ZolTypeCode_24_8 getTC_Zol_ZolUString_24_8() noexcept;

/// The type code of interface `I`, registered from its descriptor on first
/// use and cached per interface type.
template <class I>
const ZolTypeCode_24_8& interfaceTypeCode() {
  static const ZolTypeCode_24_8 typeCode = registerTypeCode_24_8(I::descriptor.typeName, I::descriptor.typeId);
  return typeCode;
}

}  // namespace Zol
