/// \class kyr::orla::plugin::wyrdan::EOMCompare
/// \ingroup wyrdan_entities
/// The order of EOM objects by GUID (an empty pointer counting as the zero
/// GUID), their own equality test, and a predicate bound to one object.
///
/// \par Threads and exceptions
/// Holds at most the bound object and changes nothing after construction:
/// any thread may use it. Each comparison asks the objects for their GUIDs
/// or their equality (host calls); host exceptions pass to the caller.
///
/// \code
///   std::set<ZolSmartPointer<IEOMObjectInterface>, EOMCompare> objects;     // by GUID
///   std::find_if(objects.begin(), objects.end(), EOMCompare(wanted));       // the host's equality
/// \endcode
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "zol/eom/IEOMObjectFactory.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT EOMCompare {
 public:
  /// Nothing bound: the one-argument form is always false.
  EOMCompare();
  /// Binds `object` (a new reference; empty binds nothing).
  EOMCompare(ZolSmartPointer<Zol::EOM::IEOMObjectInterface> const& object);  // NOLINT: implicit

  /// lessThan(a, b).
  bool operator()(ZolSmartPointer<Zol::EOM::IEOMObjectInterface> const& a,
                  ZolSmartPointer<Zol::EOM::IEOMObjectInterface> const& b) const;
  /// The bound object's equality test against `object`; false when nothing is bound.
  bool operator()(ZolSmartPointer<Zol::EOM::IEOMObjectInterface> const& object) const;
  /// a's equality test against b (b may be empty); false when a is empty.
  bool equals(ZolSmartPointer<Zol::EOM::IEOMObjectInterface> const& a,
              ZolSmartPointer<Zol::EOM::IEOMObjectInterface> const& b) const;
  /// GUID order (GUIDCompare) of the GUIDs the objects report.
  bool lessThan(ZolSmartPointer<Zol::EOM::IEOMObjectInterface> const& a,
                ZolSmartPointer<Zol::EOM::IEOMObjectInterface> const& b) const;

 private:
  ZolSmartPointer<Zol::EOM::IEOMObjectInterface> m_object;
};

}  // namespace kyr::orla::plugin::wyrdan
