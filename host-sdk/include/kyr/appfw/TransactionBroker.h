// Host transactions and the factory of their brokers.
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace kyr::orla::appfw {

/// ("kyr.orla.appfw.ZolITransactionBrokerFactory")
class ZolITransactionBrokerFactoryInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.ZolITransactionBrokerFactory"};
};

}  // namespace kyr::orla::appfw
