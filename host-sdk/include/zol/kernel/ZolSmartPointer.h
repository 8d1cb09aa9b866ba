// ZolSmartPointer<I>: the intrusive, reference-counted pointer to a host
// interface. Copying adds a reference, destruction releases one.
//
//   ZolSmartPointer<IFooInterface> foo = ...;
//   Zol::ZolIService any = foo;                    // upcast, shares
//   auto again = Zol::interfaceCast<IFooInterface>(any);  // query (ZolCast.h)
#pragma once

#include <cassert>
#include <cstddef>
#include <type_traits>
#include <utility>

#include "zol/kernel/ZolInterface.h"

template <class I>
class ZolSmartPointer {
 public:
  using interface_type = I;

  constexpr ZolSmartPointer() noexcept = default;
  constexpr ZolSmartPointer(std::nullptr_t) noexcept {}  // NOLINT: empty from NULLSP

  /// Shares `p`: adds a reference when `p` is not null.
  explicit ZolSmartPointer(I* p) noexcept : p_(p) {
    if (p_) p_->addReference();
  }

  /// Takes over a reference the caller already owns (no reference added).
  static ZolSmartPointer adopt(I* p) noexcept {
    ZolSmartPointer result;
    result.p_ = p;
    return result;
  }

  ZolSmartPointer(const ZolSmartPointer& other) noexcept : ZolSmartPointer(other.p_) {}
  ZolSmartPointer(ZolSmartPointer&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}

  /// Implicit upcast from a pointer to a derived interface.
  template <class J, class = std::enable_if_t<std::is_convertible_v<J*, I*>>>
  ZolSmartPointer(const ZolSmartPointer<J>& other) noexcept  // NOLINT: implicit upcast
      : ZolSmartPointer(static_cast<I*>(other.get())) {}
  template <class J, class = std::enable_if_t<std::is_convertible_v<J*, I*>>>
  ZolSmartPointer(ZolSmartPointer<J>&& other) noexcept  // NOLINT: implicit upcast
      : p_(static_cast<I*>(other.detach())) {}

  ZolSmartPointer& operator=(const ZolSmartPointer& other) noexcept {
    ZolSmartPointer(other).swap(*this);
    return *this;
  }
  ZolSmartPointer& operator=(ZolSmartPointer&& other) noexcept {
    ZolSmartPointer(std::move(other)).swap(*this);
    return *this;
  }
  ZolSmartPointer& operator=(std::nullptr_t) noexcept {
    reset();
    return *this;
  }

  ~ZolSmartPointer() { reset(); }

  I* get() const noexcept { return p_; }
  I* operator->() const noexcept {
    assert(p_ != nullptr && "dereferencing an empty ZolSmartPointer");
    return p_;
  }
  I& operator*() const noexcept { return *operator->(); }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  bool isNull() const noexcept { return p_ == nullptr; }

  /// Releases the held reference, if any.
  void reset() noexcept {
    if (I* old = std::exchange(p_, nullptr)) old->releaseReference();
  }
  /// Gives up ownership of the held reference without releasing it.
  I* detach() noexcept { return std::exchange(p_, nullptr); }
  void swap(ZolSmartPointer& other) noexcept { std::swap(p_, other.p_); }

  static constexpr const Zol::ZolInterfaceDescriptor& descriptor() noexcept { return I::descriptor; }

  friend bool operator==(const ZolSmartPointer& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }
  friend bool operator!=(const ZolSmartPointer& a, std::nullptr_t) noexcept { return a.p_ != nullptr; }
  friend bool operator==(std::nullptr_t, const ZolSmartPointer& a) noexcept { return a.p_ == nullptr; }
  friend bool operator!=(std::nullptr_t, const ZolSmartPointer& a) noexcept { return a.p_ != nullptr; }
  /// Pointer identity of the interface; see Zol::isSameObject for object identity.
  friend bool operator==(const ZolSmartPointer& a, const ZolSmartPointer& b) noexcept { return a.p_ == b.p_; }
  friend bool operator!=(const ZolSmartPointer& a, const ZolSmartPointer& b) noexcept { return a.p_ != b.p_; }

 private:
  I* p_ = nullptr;
};

/// The empty smart pointer, for comparisons: `if (sp != NULLSP)`.
inline constexpr std::nullptr_t NULLSP = nullptr;

namespace Zol {

/// A reference to any service object ("Zol.ZolIService").
using ZolIService = ZolSmartPointer<ZolIServiceInterface>;

namespace detail {
// The object's "Zol.ZolIService" identity. Queried through the pointer's own
// type, so that objects implementing several interfaces compare too.
template <class T>
const ZolIServiceInterface* objectIdentity(T* object) noexcept {
  void* out = nullptr;
  object->queryInterface(ZolIServiceInterface::descriptor.typeId, &out);
  auto* identity = static_cast<ZolIServiceInterface*>(out);
  if (identity) identity->releaseReference();
  return identity;
}
}  // namespace detail

/// True when both pointers reach the same object (compared through the
/// object's "Zol.ZolIService" identity). Two empty pointers are the same.
template <class A, class B>
bool isSameObject(const ZolSmartPointer<A>& a, const ZolSmartPointer<B>& b) noexcept {
  if (!a || !b) return !a && !b;
  return detail::objectIdentity(a.get()) == detail::objectIdentity(b.get());
}

}  // namespace Zol
