// Host transactions and the factory of their brokers. A broker stands for one
// transaction of the host: edits made between its begin and its end are one
// step of the host's history.
//
//   ZolSmartPointer<ZolITransactionBrokerInterface> broker;
//   factory->createTransactionBroker(broker);
//   if (broker) broker->beginTransaction();
//   ... edits ...
//   broker->endTransaction();
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace kyr::orla::appfw {

/// One host transaction ("kyr.orla.appfw.ZolITransactionBroker").
class ZolITransactionBrokerInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.ZolITransactionBroker"};
  virtual Zol::ZolResult_24_8 beginTransaction() = 0;
  /// Fails when the transaction is not open.
  virtual Zol::ZolResult_24_8 endTransaction() = 0;
};

/// ("kyr.orla.appfw.ZolITransactionBrokerFactory")
class ZolITransactionBrokerFactoryInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.ZolITransactionBrokerFactory"};
  /// Writes a new broker, its transaction not yet begun.
  virtual Zol::ZolResult_24_8 createTransactionBroker(ZolSmartPointer<ZolITransactionBrokerInterface>& broker) = 0;
};

}  // namespace kyr::orla::appfw
