#include "WyrdanPluginUtilities/host/ServiceProviderHelper.h"

#include "zol/kernel/ZolDebug.h"

namespace kyr::orla::plugin::wyrdan {

ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface> ServiceProviderHelper::m_zolServiceProvider;

const Zol::ZolHoldingsRegistration ServiceProviderHelper::m_holdings(
    "ServiceProviderHelper", [](Zol::ZolHeldReferences& held) { held.add("service provider", m_zolServiceProvider); });

Zol::ZolResult_24_8 ServiceProviderHelper::initialize(Zol::Framework::ZolIServiceAccess* access) {
  ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface> provider;
  Zol::ZolResult_24_8 result = access->getServiceProvider(provider);
  m_zolServiceProvider.swap(provider);
  return result;
}

Zol::ZolResult_24_8 ServiceProviderHelper::getService(const std::string& name, const std::string& version,
                                                      Zol::ZolIService& service) {
  ZOL_ASSERT(m_zolServiceProvider != NULLSP);
  if (!m_zolServiceProvider) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  return m_zolServiceProvider->getService(name, version, service);
}

ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface> ServiceProviderHelper::getServiceProvider() {
  return m_zolServiceProvider;
}

}  // namespace kyr::orla::plugin::wyrdan
