#include "WyrdanPluginUtilities/entities/EntityTypeID.h"

#include <cstdint>
#include <utility>

#include "WyrdanPluginUtilities/entities/internal/TypeIdCache.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "zol/services/ITypeRegistry.h"

namespace kyr::orla::plugin::wyrdan {

using Zol::Services::TypeRegistry::ITypeRegistryInterface;

internal::TypeIdCache<unsigned int, icu::UnicodeString> EntityTypeID::m_id2name;
internal::TypeIdCache<icu::UnicodeString, unsigned int> EntityTypeID::m_name2id;

EntityTypeID::EntityTypeID(unsigned int typeId) : m_typeID(typeId) {
  if (const icu::UnicodeString* cached = m_id2name.find(typeId)) {
    m_typeName = *cached;
    return;
  }
  const ZolSmartPointer<ITypeRegistryInterface> registry = appfw::ServiceCacheAppFrame::typeRegistry_;
  if (!registry) return;
  icu::UnicodeString answer;
  registry->getTypeName(typeId, answer);
  m_typeName = m_id2name.add(typeId, answer);
}

EntityTypeID::EntityTypeID(icu::UnicodeString typeName) : m_typeID(0), m_typeName(std::move(typeName)) {
  if (const unsigned int* cached = m_name2id.find(m_typeName)) {
    m_typeID = *cached;
    return;
  }
  const ZolSmartPointer<ITypeRegistryInterface> registry = appfw::ServiceCacheAppFrame::typeRegistry_;
  if (!registry) return;
  std::uint32_t answer = 0;
  registry->getTypeId(m_typeName, answer);
  m_typeID = m_name2id.add(m_typeName, answer);
}

EntityTypeID::EntityTypeID(EntityTypeID const& other) = default;
EntityTypeID::EntityTypeID(EntityTypeID&& other) noexcept = default;
EntityTypeID& EntityTypeID::operator=(EntityTypeID const& other) = default;
// Written out because a defaulted move of the name onto itself would empty it.
EntityTypeID& EntityTypeID::operator=(EntityTypeID&& other) noexcept {
  if (this != &other) {
    m_typeID = other.m_typeID;
    m_typeName = std::move(other.m_typeName);
  }
  return *this;
}
EntityTypeID::~EntityTypeID() = default;

unsigned int EntityTypeID::typeID() const { return m_typeID; }

icu::UnicodeString EntityTypeID::typeName() const { return m_typeName; }

}  // namespace kyr::orla::plugin::wyrdan
