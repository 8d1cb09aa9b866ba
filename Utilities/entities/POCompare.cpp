#include "WyrdanPluginUtilities/entities/POCompare.h"

#include "WyrdanPluginUtilities/entities/GUIDCompare.h"

namespace kyr::orla::plugin::wyrdan {

using Zol::PersistenceFW::CAEData::GUIDDATA;
using ObjectPtr = ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface>;

bool POCompare::operator()(ObjectPtr const& a, ObjectPtr const& b) const { return lessThan(a, b); }

bool POCompare::equals(ObjectPtr const& a, ObjectPtr const& b) const {
  return GUIDCompare().equal(getGUID(a), getGUID(b));
}

bool POCompare::lessThan(ObjectPtr const& a, ObjectPtr const& b) const {
  return GUIDCompare().lessThan(getGUID(a), getGUID(b));
}

GUIDDATA POCompare::getGUID(ObjectPtr const& object) const {
  GUIDDATA guid;
  if (object) object->getGUID(guid);
  return guid;
}

}  // namespace kyr::orla::plugin::wyrdan
