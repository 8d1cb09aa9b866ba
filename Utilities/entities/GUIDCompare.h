/// \class kyr::orla::plugin::wyrdan::GUIDCompare
/// \ingroup wyrdan_entities
/// The order and equality of GUIDs, each read as two unsigned 64-bit words in
/// the platform's byte order (bytes 0-7, then 8-15). The zero GUID stands
/// for a missing one.
///
/// \par Threads and exceptions
/// Stateless and without host calls: any thread may use it, and nothing
/// throws.
///
/// \code
///   std::set<GUIDDATA, GUIDCompare> guids;
/// \endcode
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "zol/persistence/EntityReference.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT GUIDCompare {
 public:
  /// lessThan(a, b).
  bool operator()(Zol::PersistenceFW::CAEData::GUIDDATA const& a, Zol::PersistenceFW::CAEData::GUIDDATA const& b) const;
  /// Word 0 first, then word 1, both unsigned.
  bool lessThan(Zol::PersistenceFW::CAEData::GUIDDATA const& a, Zol::PersistenceFW::CAEData::GUIDDATA const& b) const;
  /// Both words equal.
  bool equal(Zol::PersistenceFW::CAEData::GUIDDATA const& a, Zol::PersistenceFW::CAEData::GUIDDATA const& b) const;
};

}  // namespace kyr::orla::plugin::wyrdan
