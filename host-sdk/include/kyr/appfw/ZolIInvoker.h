// The host's generic invoker: an object the host runs, on a thread of its
// choosing, when a GUI action hands it over.
//
//   ZolSmartPointer<kyr::orla::appfw::ZolIInvokerInterface> invoker;
//   Zol::extractZolAny(payloadEntry, invoker);
//   if (invoker) invoker->invoke();
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace kyr::orla::appfw {

/// ("kyr.orla.appfw.ZolIInvoker")
class ZolIInvokerInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.ZolIInvoker"};
  /// Runs what the invoker stands for; what the result means is the invoker's.
  virtual Zol::ZolResult_24_8 invoke() = 0;
};

}  // namespace kyr::orla::appfw
