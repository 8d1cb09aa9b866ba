#include "WyrdanPluginUtilities/entities/EntityTypeID.h"

#include <cstdint>
#include <utility>

#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "zol/services/ITypeRegistry.h"

namespace kyr::orla::plugin::wyrdan {

using Zol::Services::TypeRegistry::ITypeRegistryInterface;

std::map<unsigned int, icu::UnicodeString> EntityTypeID::m_id2name;
std::map<icu::UnicodeString, unsigned int> EntityTypeID::m_name2id;

EntityTypeID::EntityTypeID(unsigned int typeId) : m_typeID(typeId) {
  if (const auto cached = m_id2name.find(typeId); cached != m_id2name.end()) {
    m_typeName = cached->second;
    return;
  }
  const ZolSmartPointer<ITypeRegistryInterface> registry = appfw::ServiceCacheAppFrame::typeRegistry_;
  if (!registry) return;
  registry->getTypeName(typeId, m_typeName);
  m_id2name.emplace(typeId, m_typeName);
}

EntityTypeID::EntityTypeID(icu::UnicodeString typeName) : m_typeID(0), m_typeName(std::move(typeName)) {
  if (const auto cached = m_name2id.find(m_typeName); cached != m_name2id.end()) {
    m_typeID = cached->second;
    return;
  }
  const ZolSmartPointer<ITypeRegistryInterface> registry = appfw::ServiceCacheAppFrame::typeRegistry_;
  if (!registry) return;
  std::uint32_t id = 0;
  registry->getTypeId(m_typeName, id);
  m_typeID = id;
  m_name2id.emplace(m_typeName, m_typeID);
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
