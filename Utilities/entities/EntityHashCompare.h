/// \class kyr::orla::plugin::wyrdan::EntityHashCompare
/// \ingroup wyrdan_entities
/// EntityCompare shaped as hash-container traits: one argument gives the
/// host's hash, two give the host's strict order.
///
/// \par Threads and exceptions
/// An EntityCompare: its construction, its reliance on the adapter manager,
/// its exceptions and its thread-safety are EntityCompare's. Construct the
/// first comparator before comparators are used on several threads; host
/// exceptions pass to the caller.
///
/// \code
///   std::unordered_set<EntityReference, EntityHashCompare, EntityEquanPred...>  // hash
///   std::set<ZolSmartPointer<IEntityInterface>, EntityHashCompare> ordered;    // order
/// \endcode
#pragma once

#include <cstddef>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "WyrdanPluginUtilities/entities/EntityCompare.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT EntityHashCompare : public EntityCompare {
 public:
  /// The host's hash, sign-extended to 64 bits (a hash of -1 gives every bit set).
  std::size_t operator()(Zol::PersistenceFW::CAEData::EntityReference const& reference) const;
  /// The same for the reference the entity reports (the empty reference for
  /// an empty entity).
  std::size_t operator()(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity) const;
  /// The host's strict order (not an equality).
  bool operator()(Zol::PersistenceFW::CAEData::EntityReference const& a,
                  Zol::PersistenceFW::CAEData::EntityReference const& b) const;
  /// The host's strict order of the references the entities report.
  bool operator()(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& a,
                  ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& b) const;
};

}  // namespace kyr::orla::plugin::wyrdan
