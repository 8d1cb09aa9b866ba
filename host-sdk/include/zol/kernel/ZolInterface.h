// The one base of every host interface, and the descriptor each interface
// type carries.
//
// An interface is declared as
//
//   class IFooInterface : public Zol::ZolIServiceInterface {
//    public:
//     static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IFoo"};
//     virtual Zol::ZolResult_24_8 bar(int value, std::string& out) = 0;
//   };
//
// Objects are reference counted; ZolSmartPointer<I> manages the count. An
// interface that extends another names it as `base_interface`, so that a
// query for the base's id finds it too.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "zol/kernel/ZolResult.h"
#include "zol/kernel/ZolTypeId.h"

namespace Zol {

/// The dotted type name and 128-bit id of an interface type. Unless the host
/// fixes an id, it is derived from the name.
struct ZolInterfaceDescriptor {
  const char* typeName;
  ZolTypeId typeId;

  constexpr explicit ZolInterfaceDescriptor(const char* name) : typeName(name), typeId(typeIdFromName(name)) {}
  constexpr ZolInterfaceDescriptor(const char* name, ZolTypeId id) : typeName(name), typeId(id) {}
};

/// Status codes of queryInterface(), as the interface cast reports them.
enum ZolQueryStatus : std::int32_t {
  kQueryOk = 0,
  kQueryNoInterface = 1,
  kQueryNoTypeCode = 2,
  kQueryNoProxyV1 = 3,
  kQueryNoProxyV2 = 4,
};

/// Base of every host interface ("Zol.ZolIService"). Slot order is fixed:
/// add a reference, release one, query an interface, service name, service id.
class ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.ZolIService"};

  virtual void addReference() noexcept = 0;
  /// Drops one reference; the object destroys itself when the count reaches 0.
  virtual void releaseReference() noexcept = 0;
  /// On success (code 0) stores an interface pointer for `id` in `*out`, with a
  /// reference added for the caller; otherwise stores null and returns the
  /// status (1: not implemented, 2-4 and others: see the interface cast).
  virtual ZolResult_24_8 queryInterface(const ZolTypeId& id, void** out) noexcept = 0;
  virtual std::string getServiceName() const = 0;
  virtual std::uint64_t getServiceId() const noexcept = 0;

 protected:
  virtual ~ZolIServiceInterface() = default;
};

/// True when interface `I` extends another interface (`I::base_interface`).
template <class I, class = void>
struct ZolHasBaseInterface : std::false_type {};
template <class I>
struct ZolHasBaseInterface<I, std::void_t<typename I::base_interface>> : std::true_type {};

/// The heart of a queryInterface for an object implementing `I`: when `id`
/// is the type id of `I` or of an interface `I` extends, stores `self` as
/// that interface in `out` and returns true (adding no reference); otherwise
/// stores nothing and returns false.
template <class I>
bool offerInterface(I* self, const ZolTypeId& id, void** out) noexcept {
  if (id == I::descriptor.typeId) {
    *out = self;
    return true;
  }
  if constexpr (ZolHasBaseInterface<I>::value) {
    return offerInterface<typename I::base_interface>(self, id, out);
  } else {
    return false;
  }
}

}  // namespace Zol
