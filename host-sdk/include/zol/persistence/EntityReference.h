// Records of the persistence framework that identify model objects.
#pragma once

#include <cstdint>
#include <cstring>

#include "zol/kernel/ZolKernelExport.h"
#include "zol/kernel/ZolSequence.h"
#include "zol/kernel/ZolSmartPointer.h"
#include "zol/kernel/ZolTypeCode.h"

namespace Zol::PersistenceFW::CAEData {

/// Identifies one entity: the container that owns it and three identifier
/// words. The empty reference has no container and all words 0.
struct EntityReference {
  ZolIService container;
  std::uint32_t first = 0;
  std::uint32_t second = 0;
  std::uint32_t third = 0;
};

/// Same container object (pointer identity) and same words.
inline bool operator==(const EntityReference& a, const EntityReference& b) {
  return a.container == b.container && a.first == b.first && a.second == b.second && a.third == b.third;
}
inline bool operator!=(const EntityReference& a, const EntityReference& b) { return !(a == b); }

using EntityReferenceSequence = ZolSequence<EntityReference>;

/// The host's type id of an entity reference as a value: an any holding one
/// streams the container (object), then the first, second and third words
/// (unsigned 32-bit each).
inline constexpr ZolTypeId kEntityReferenceTypeId{0xcde6bd48aead3286ULL, 0x9e63981ff9afda25ULL};
/// "Zol.PersistenceFW.CAEData.EntityReference", registered when the SDK loads.
ZOL_KERNEL_EXPORT ZolTypeCode_24_8 getTC_EntityReference() noexcept;

/// A 16-byte object identity, laid out as the platform's GUID.
struct GUIDDATA {
  std::uint32_t Data1 = 0;
  std::uint16_t Data2 = 0;
  std::uint16_t Data3 = 0;
  std::uint8_t Data4[8] = {};
};
static_assert(sizeof(GUIDDATA) == 16, "GUIDDATA is 16 bytes");

inline bool operator==(const GUIDDATA& a, const GUIDDATA& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
inline bool operator!=(const GUIDDATA& a, const GUIDDATA& b) { return !(a == b); }

}  // namespace Zol::PersistenceFW::CAEData
