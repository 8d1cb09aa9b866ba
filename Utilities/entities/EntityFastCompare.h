/// \class kyr::orla::plugin::wyrdan::EntityFastCompare
/// \ingroup wyrdan_entities
/// A cheap order of entities for sorting and searching: it compares the first
/// two identifier words of their references itself, with no call into the
/// host's adapter manager. The container and the third word are not looked
/// at; empty entity pointers come first.
///
/// \par Threads and exceptions
/// Stateless: any thread may use it. Each comparison asks both non-empty
/// entities for their references (host calls whose results are not
/// examined); host exceptions pass to the caller.
///
/// \code
///   std::sort(entities.begin(), entities.end(), EntityFastCompare());
/// \endcode
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "kyr/appfw/IEntity.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT EntityFastCompare {
 public:
  /// lessThan(a, b).
  bool operator()(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& a,
                  ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& b) const;
  /// Both empty, or both non-empty with equal first and second words.
  bool equal(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& a,
             ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& b) const;
  /// Empty before non-empty; otherwise (first word, second word), unsigned.
  bool lessThan(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& a,
                ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& b) const;
};

}  // namespace kyr::orla::plugin::wyrdan
