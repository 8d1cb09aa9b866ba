#include "WyrdanPluginUtilities/entities/EntityFastCompare.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using Zol::PersistenceFW::CAEData::EntityReference;
using EntityPtr = ZolSmartPointer<appfw::IEntityInterface>;

EntityReference referenceOf(EntityPtr const& entity) {
  EntityReference reference;
  entity->getReference(reference);
  return reference;
}

}  // namespace

bool EntityFastCompare::operator()(EntityPtr const& a, EntityPtr const& b) const { return lessThan(a, b); }

bool EntityFastCompare::equal(EntityPtr const& a, EntityPtr const& b) const {
  if (!a || !b) return !a && !b;
  const EntityReference x = referenceOf(a);
  const EntityReference y = referenceOf(b);
  return x.first == y.first && x.second == y.second;
}

bool EntityFastCompare::lessThan(EntityPtr const& a, EntityPtr const& b) const {
  if (!b) return false;
  if (!a) return true;
  const EntityReference x = referenceOf(a);
  const EntityReference y = referenceOf(b);
  return x.first < y.first || (x.first == y.first && x.second < y.second);
}

}  // namespace kyr::orla::plugin::wyrdan
