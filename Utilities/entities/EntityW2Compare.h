/// \class kyr::orla::plugin::wyrdan::EntityW2Compare
/// \ingroup wyrdan_entities
/// An EOM-aware order of entities. When either entity is also an EOM object
/// it compares EOM identities (GUID order, the EOM object's own equality);
/// when neither is, it asks the host's adapter manager as EntityCompare does.
/// In a mixed set every plain entity comes before every EOM object with a
/// non-zero GUID.
///
/// \par Threads and exceptions
/// Stateless itself; comparing two plain entities constructs an
/// EntityCompare, so the first such comparison finds the adapter manager and
/// should happen before comparators are used on several threads (see
/// EntityCompare). Host exceptions pass to the caller.
///
/// \code
///   std::set<ZolSmartPointer<IEntityInterface>, EntityW2Compare> objects;
/// \endcode
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "kyr/appfw/IEntity.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT EntityW2Compare {
 public:
  /// lessThan(a, b).
  bool operator()(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& a,
                  ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& b) const;
  /// Neither an EOM object: EntityCompare::equals. Otherwise false when `a`
  /// is not one, else a's EOM equality test against b's EOM object (which
  /// may be empty). Throws what EntityCompare's constructor throws when the
  /// adapter manager is needed and cannot be found.
  bool equal(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& a,
             ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& b) const;
  /// Neither an EOM object: EntityCompare::lessThan. Otherwise the GUID
  /// order, an entity that is no EOM object counting as the zero GUID.
  /// Throws what EntityCompare's constructor throws when the adapter manager
  /// is needed and cannot be found.
  bool lessThan(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& a,
                ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& b) const;
};

}  // namespace kyr::orla::plugin::wyrdan
