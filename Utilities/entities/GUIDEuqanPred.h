/// \class kyr::orla::plugin::wyrdan::GUIDEuqanPred
/// \ingroup wyrdan_entities
/// A search predicate bound to one GUID.
///
/// \par Threads and exceptions
/// No host calls; changes nothing after construction, so any thread may use
/// it, and nothing throws.
///
/// \code
///   auto found = std::find_if(guids.begin(), guids.end(), GUIDEuqanPred(wanted));
/// \endcode
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "zol/persistence/EntityReference.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT GUIDEuqanPred {
 public:
  /// Keeps a copy of `guid`.
  GUIDEuqanPred(Zol::PersistenceFW::CAEData::GUIDDATA const& guid);  // NOLINT: implicit
  /// True when `guid` equals the bound one in both words.
  bool operator()(Zol::PersistenceFW::CAEData::GUIDDATA const& guid) const;

 private:
  Zol::PersistenceFW::CAEData::GUIDDATA m_guid;
};

}  // namespace kyr::orla::plugin::wyrdan
