// 128-bit type ids of the component kernel.
//
// Every kernel type (interfaces, structs, scalar types) is known by a dotted
// name and a 128-bit id. Ids fixed by the host are written out where they are
// used; all others are derived from the dotted name at compile time:
//
//   constexpr Zol::ZolTypeId id = Zol::typeIdFromName("kyr.orla.appfw.IEntity");
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Zol {

/// A 128-bit type id, as two 64-bit words. The all-zero id means "no type".
struct ZolTypeId {
  std::uint64_t high = 0;
  std::uint64_t low = 0;

  constexpr bool isNull() const { return high == 0 && low == 0; }

  friend constexpr bool operator==(const ZolTypeId& a, const ZolTypeId& b) {
    return a.high == b.high && a.low == b.low;
  }
  friend constexpr bool operator!=(const ZolTypeId& a, const ZolTypeId& b) { return !(a == b); }
  friend constexpr bool operator<(const ZolTypeId& a, const ZolTypeId& b) {
    return a.high != b.high ? a.high < b.high : a.low < b.low;
  }
};

/// Hash functor for unordered containers keyed by type id.
struct ZolTypeIdHash {
  std::size_t operator()(const ZolTypeId& id) const noexcept {
    return static_cast<std::size_t>(id.high ^ (id.low * 0x9e3779b97f4a7c15ULL));
  }
};

namespace detail {
constexpr std::uint64_t fnv1a64(std::string_view text, std::uint64_t basis) {
  std::uint64_t hash = basis;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}
}  // namespace detail

/// Deterministic id for a dotted type name: two FNV-1a hashes with different
/// offset bases. Never returns the null id for a non-empty name in practice.
constexpr ZolTypeId typeIdFromName(std::string_view name) {
  return ZolTypeId{detail::fnv1a64(name, 0xcbf29ce484222325ULL), detail::fnv1a64(name, 0x84222325cbf29ce4ULL)};
}

}  // namespace Zol
