/// \class kyr::orla::plugin::wyrdan::GenerativeHelper
/// \ingroup wyrdan_eom
/// Asks the host to generate engineering objects, either by queueing them on
/// the command processor's generate list or by handing a batch to the EOM
/// dependency manager at once, without duplicates and in GUID order.
///
/// \par Threads and exceptions
/// Any thread on which the host's objects may be called may use both, at once:
/// addToGenerateList touches no cache of the library, and bulkGenerateObjects
/// finds the dependency manager through the service cache (ServiceHelper),
/// which serves several threads. Nothing is caught: host exceptions pass to the
/// caller, the objects marked before the failure staying marked, and
/// bulkGenerateObjects throws Zol::ZolSystemException_24 when the service is
/// not a dependency manager.
///
/// \code
///   GenerativeHelper::bulkGenerateObjects({part, sketch, part});  // sketch and part once each, by GUID
/// \endcode
///
/// Static only, keeping no state; nothing is logged.
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "zol/eom/IEOMObjectFactory.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT GenerativeHelper {
 public:
  ///@{

  /// Assignment copies nothing: the class has no state. Never throws.
  GenerativeHelper& operator=(GenerativeHelper const& other);
  GenerativeHelper& operator=(GenerativeHelper&& other) noexcept;
  ///@}

  /// Marks every non-empty object, then hands the sequence as given
  /// (duplicates and order kept) to the command processor's generate list.
  /// The processor is the host service cache's. Nothing without a command
  /// processor or for no objects.
  static void addToGenerateList(Zol::EOM::IEOMObjectSequence const& objects);
  /// Keeps the first object of each GUID, orders them by GUID (as
  /// GUIDCompare and EOMCompare do), leaves out empty and excluded objects,
  /// marks the rest and hands them to the EOM dependency manager
  /// ("Zol.EOM.EOMCore") to generate; the manager is not called when none is
  /// left. Each object's GUID is asked for once. No host call for no objects. Throws
  /// Zol::ZolSystemException_24, after marking, when the service is not a
  /// dependency manager.
  static void bulkGenerateObjects(Zol::EOM::IEOMObjectSequence const& objects);

 private:
  // Static only: nothing makes one.
  GenerativeHelper() = default;
};

}  // namespace kyr::orla::plugin::wyrdan
