/// \class kyr::orla::plugin::wyrdan::ModelHelper
/// \ingroup wyrdan_commands
/// Flushes the open model through the base plug-in's model management
/// service, and tells the host's "kyr.orla.appfw.ModelPersistence" domain
/// before and after, as the host's own saving does.
///
/// \par Threads and exceptions
/// May be called on several threads at once: the framework access and the trash
/// bin come through the service cache (ServiceHelper), which serves several
/// threads, and the model management and event manager kept are taken once by
/// thread-safe static initialisation. Host exceptions pass to the caller; flush
/// and publishPersistenceEvent throw Zol::ZolSystemException_24 when a service
/// lacks its interface.
///
/// \code
///   ModelHelper::flush(true, true);  // event 21, the flush, event 3 once it succeeded
/// \endcode
///
/// The model management service and the host's event manager are found on
/// first use and kept for the rest of the process (until unload), whatever
/// the first look-up found: a host that lacks them then leaves them missing
/// for good. Both are found with thread-safe one-time initialisation; every
/// other host object is fetched per call. Static only. Nothing is logged.
#pragma once

#include <unicode/unistr.h>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "zol/kernel/ZolResult.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT ModelHelper {
 public:
  ///@{

  /// Assignment copies nothing: the class has no state. Never throws.
  ModelHelper& operator=(ModelHelper const& other);
  ModelHelper& operator=(ModelHelper&& other) noexcept;
  ///@}

  /// With `openModelOnly`, does nothing unless a model is open (its name,
  /// read from the framework access, is not "none"). Otherwise, once the
  /// model management service is known: tells the framework's flush target
  /// and the trash bin to flush; then, with `save`, flushes the model through
  /// the model management service, announcing it with `openModelOnly` by
  /// persistence event 21 (flag false) before and, when the flush succeeded,
  /// event 3 (flag true) after. Does nothing without a framework access or a
  /// model management service. Throws Zol::ZolSystemException_24 when the
  /// framework access, the model management or the trash bin lacks its
  /// interface; other host exceptions pass too. A look-up of the model
  /// management service that throws keeps nothing: the next call looks up
  /// again.
  static void flush(bool save, bool openModelOnly);

  /// Publishes persistence event `code` of the model `modelName` with
  /// `flag` through the framework access, in the name of
  /// "KYR.ModelingPlugin", into the domain "kyr.orla.appfw.ModelPersistence"
  /// (its id 0 when the host does not know it). The payload carries the
  /// event record's type code, `modelName` and `flag`. Returns the host's
  /// result, or failure (2147483647) without a framework access or event
  /// manager. Throws Zol::ZolSystemException_24 when the framework access
  /// lacks its interface; host exceptions pass to the caller.
  static Zol::ZolResult_24_8 publishPersistenceEvent(int code, icu::UnicodeString modelName, bool flag);

 private:
  // Static only: nothing makes one.
  ModelHelper() = default;
};

}  // namespace kyr::orla::plugin::wyrdan
