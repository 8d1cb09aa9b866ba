/// \class kyr::orla::plugin::wyrdan::EntityEquanPred
/// \ingroup wyrdan_entities
/// A search predicate bound to one entity (and its reference), true for what
/// the host calls equal to it.
///
/// \par Threads and exceptions
/// An EntityCompare: its construction, its reliance on the adapter manager,
/// its exceptions and its thread-safety are EntityCompare's. Construct the
/// first comparator before comparators are used on several threads; host
/// exceptions pass to the caller.
///
/// \code
///   auto found = std::find_if(entities.begin(), entities.end(), EntityEquanPred(wanted));
/// \endcode
///
/// The bound entity and reference do not change after construction.
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "WyrdanPluginUtilities/entities/EntityCompare.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT EntityEquanPred : public EntityCompare {
 public:
  /// Binds `entity` (may be empty) and the reference it reports (the empty
  /// reference for an empty entity).
  EntityEquanPred(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);  // NOLINT: implicit
  /// Binds `reference` and the root manager's entity of it (empty when the
  /// host finds none: the reference still matches).
  EntityEquanPred(Zol::PersistenceFW::CAEData::EntityReference const& reference);  // NOLINT: implicit

  /// The host's equality of the bound reference and `reference`.
  bool operator()(Zol::PersistenceFW::CAEData::EntityReference const& reference) const;
  /// EntityCompare::equals of the bound entity and `entity`: both asked for
  /// their references again.
  bool operator()(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity) const;

 private:
  ZolSmartPointer<kyr::orla::appfw::IEntityInterface> m_entity;
  Zol::PersistenceFW::CAEData::EntityReference m_reference;
};

}  // namespace kyr::orla::plugin::wyrdan
