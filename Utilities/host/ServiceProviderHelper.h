/// \class kyr::orla::plugin::wyrdan::ServiceProviderHelper
/// \ingroup wyrdan_services
/// The process-wide holder of the host's service provider, through which the
/// library looks host services up by name. ServiceHelper fills it; a few
/// operations use it directly to bypass the service cache. The provider is
/// held until unload and named to the kernel's held-reference report.
///
/// \par Threads and exceptions
/// Not synchronised: the provider is replaced by initialize() without a
/// lock, so it runs before other threads look services up. Host exceptions
/// pass to the caller; getServiceProvider never throws.
///
/// \code
///   Zol::ZolIService shell;
///   ServiceProviderHelper::getService("kyr.orla.plugin.shell.ShellEntities", "", shell);
/// \endcode
///
/// Static only.
#pragma once

#include <string>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "zol/framework/ZolIServiceProvider.h"
#include "zol/kernel/ZolHoldings.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT ServiceProviderHelper {
 public:
  /// Asks `access` for its service provider and swaps it in, whatever the
  /// host answered (an empty provider included); the previous provider is
  /// released. Returns the host's result. `access` must not be null. A host
  /// exception passes to the caller and leaves the previous provider held.
  static Zol::ZolResult_24_8 initialize(Zol::Framework::ZolIServiceAccess* access);

  /// Looks `name` up at the held provider, filling `service`, and returns the
  /// host's result; host exceptions pass to the caller. Before initialize()
  /// this is a programming error: it reports the assertion
  /// "m_zolServiceProvider != NULLSP" on the debug sink and fails (code
  /// 2147483647), leaving `service` as it was.
  static Zol::ZolResult_24_8 getService(const std::string& name, const std::string& version, Zol::ZolIService& service);

  /// A new reference to the held provider; empty before initialize(). Never
  /// throws.
  static ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface> getServiceProvider();

 private:
  // Static only: nothing makes one.
  ServiceProviderHelper() = default;
  static ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface> m_zolServiceProvider;
  static const Zol::ZolHoldingsRegistration m_holdings;
};

}  // namespace kyr::orla::plugin::wyrdan
