#include "WyrdanPluginUtilities/entities/EOMCompare.h"

#include "WyrdanPluginUtilities/entities/GUIDCompare.h"

namespace kyr::orla::plugin::wyrdan {

using EOMPtr = ZolSmartPointer<Zol::EOM::IEOMObjectInterface>;

namespace {
Zol::PersistenceFW::CAEData::GUIDDATA guidOf(EOMPtr const& object) {
  return object ? object->getGUID() : Zol::PersistenceFW::CAEData::GUIDDATA();
}
}  // namespace

EOMCompare::EOMCompare() = default;

EOMCompare::EOMCompare(EOMPtr const& object) : m_object(object) {}

bool EOMCompare::operator()(EOMPtr const& a, EOMPtr const& b) const { return lessThan(a, b); }

bool EOMCompare::operator()(EOMPtr const& object) const { return m_object && m_object->isEqual(object); }

bool EOMCompare::equals(EOMPtr const& a, EOMPtr const& b) const { return a && a->isEqual(b); }

bool EOMCompare::lessThan(EOMPtr const& a, EOMPtr const& b) const {
  return GUIDCompare().lessThan(guidOf(a), guidOf(b));
}

}  // namespace kyr::orla::plugin::wyrdan
