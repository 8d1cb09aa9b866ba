// A minimal plug-in module: the load test reaches the library only through
// these entry points, so the library loads and unloads with this module.
#include "WyrdanPluginUtilities/services/ServiceHelper.h"

using kyr::orla::plugin::wyrdan::ServiceHelper;

extern "C" __attribute__((visibility("default"))) void probeStart(Zol::Framework::ZolIServiceAccess* access) {
  ServiceHelper::setZolServiceAccess(access);
}

extern "C" __attribute__((visibility("default"))) bool probeHasProvider() {
  return static_cast<bool>(ServiceHelper::getServiceProvider());
}

/// Looks up (and so caches) a few services; returns how many were found.
extern "C" __attribute__((visibility("default"))) int probeLookUp() {
  return (ServiceHelper::getGuiExeutive() ? 1 : 0) + (ServiceHelper::getPFW() ? 1 : 0) +
         (ServiceHelper::getEOMUtility() ? 1 : 0);
}
