/// \class kyr::orla::plugin::wyrdan::POCompare
/// \ingroup wyrdan_entities
/// The order and equality of persistent objects by their GUIDs (an empty
/// pointer, or an object whose GUID query fails without writing one, counts
/// as the zero GUID).
///
/// \par Threads and exceptions
/// Stateless: any thread may use it. Each comparison asks both objects for
/// their GUIDs (host calls whose results are not examined); host exceptions
/// pass to the caller.
///
/// \code
///   std::set<ZolSmartPointer<IPersistentObjectInterface>, POCompare> objects;
/// \endcode
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "zol/persistence/EntityReferenceList.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT POCompare {
 public:
  /// lessThan(a, b).
  bool operator()(ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> const& a,
                  ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> const& b) const;
  /// Equal GUIDs (two empty pointers are equal).
  bool equals(ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> const& a,
              ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> const& b) const;
  /// GUID order (GUIDCompare).
  bool lessThan(ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> const& a,
                ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> const& b) const;

 protected:
  /// The object's GUID as its query leaves it; the zero GUID for an empty pointer.
  Zol::PersistenceFW::CAEData::GUIDDATA getGUID(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> const& object) const;
};

}  // namespace kyr::orla::plugin::wyrdan
