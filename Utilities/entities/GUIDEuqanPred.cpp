#include "WyrdanPluginUtilities/entities/GUIDEuqanPred.h"

#include "WyrdanPluginUtilities/entities/GUIDCompare.h"

namespace kyr::orla::plugin::wyrdan {

GUIDEuqanPred::GUIDEuqanPred(Zol::PersistenceFW::CAEData::GUIDDATA const& guid) : m_guid(guid) {}

bool GUIDEuqanPred::operator()(Zol::PersistenceFW::CAEData::GUIDDATA const& guid) const {
  return GUIDCompare().equal(m_guid, guid);
}

}  // namespace kyr::orla::plugin::wyrdan
