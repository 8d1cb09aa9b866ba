#include "WyrdanPluginUtilities/entities/EntityHashCompare.h"

#include <cstdint>

namespace kyr::orla::plugin::wyrdan {

namespace {
std::size_t widened(int hash) { return static_cast<std::size_t>(static_cast<std::int64_t>(hash)); }
}  // namespace

std::size_t EntityHashCompare::operator()(Zol::PersistenceFW::CAEData::EntityReference const& reference) const {
  return widened(hashCode(reference));
}

std::size_t EntityHashCompare::operator()(ZolSmartPointer<appfw::IEntityInterface> const& entity) const {
  return widened(hashCode(entity));
}

bool EntityHashCompare::operator()(Zol::PersistenceFW::CAEData::EntityReference const& a,
                                   Zol::PersistenceFW::CAEData::EntityReference const& b) const {
  return lessThan(a, b);
}

bool EntityHashCompare::operator()(ZolSmartPointer<appfw::IEntityInterface> const& a,
                                   ZolSmartPointer<appfw::IEntityInterface> const& b) const {
  return lessThan(a, b);
}

}  // namespace kyr::orla::plugin::wyrdan
