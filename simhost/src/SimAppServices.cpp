#include "simhost/SimAppServices.h"

#include <string>

namespace simhost {

Zol::ZolResult_24_8 SimTrashBin::flush() {
  if (Zol::ZolResult_24_8 fault = call("flush"); !fault.isOk()) return fault;
  flushes_.fetch_add(1, std::memory_order_acq_rel);
  return {};
}

void SimTrashBinService::setTrashBin(ZolSmartPointer<SimTrashBin> trashBin) { trashBin_.set(std::move(trashBin)); }

Zol::ZolResult_24_8 SimTrashBinService::getTrashBin(
    ZolSmartPointer<kyr::orla::appfw::ZolITrashBinInterface>& trashBin) {
  if (Zol::ZolResult_24_8 fault = call("getTrashBin"); !fault.isOk()) return fault;
  trashBin = trashBin_.get();
  return {};
}

void SimViewportManager::setCurrentViewport(ZolSmartPointer<SimViewport> viewport) {
  viewport_.set(std::move(viewport));
}

Zol::ZolResult_24_8 SimViewportManager::getCurrentViewport(
    ZolSmartPointer<kyr::orla::plugin::shell::IViewportInterface>& viewport) {
  if (Zol::ZolResult_24_8 fault = call("getCurrentViewport"); !fault.isOk()) return fault;
  viewport = viewport_.get();
  return {};
}

void SimShellEntities::setViewportManager(ZolSmartPointer<SimViewportManager> manager) {
  manager_.set(std::move(manager));
}

Zol::ZolResult_24_8 SimShellEntities::getViewportManager(
    ZolSmartPointer<kyr::orla::plugin::shell::IViewportManagerInterface>& manager) {
  if (Zol::ZolResult_24_8 fault = call("getViewportManager"); !fault.isOk()) return fault;
  manager = manager_.get();
  return {};
}

int SimTransactionBroker::begins() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return begins_;
}

int SimTransactionBroker::ends() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ends_;
}

int SimTransactionBroker::failedEnds() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return failedEnds_;
}

bool SimTransactionBroker::isOpen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return begins_ > ends_;
}

Zol::ZolResult_24_8 SimTransactionBroker::beginTransaction() {
  if (Zol::ZolResult_24_8 fault = call("beginTransaction"); !fault.isOk()) return fault;
  std::lock_guard<std::mutex> lock(mutex_);
  ++begins_;
  return {};
}

Zol::ZolResult_24_8 SimTransactionBroker::endTransaction() {
  if (Zol::ZolResult_24_8 fault = call("endTransaction"); !fault.isOk()) return fault;
  std::lock_guard<std::mutex> lock(mutex_);
  if (begins_ == ends_) {
    ++failedEnds_;
    return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  }
  ++ends_;
  return {};
}

std::vector<ZolSmartPointer<SimTransactionBroker>> SimTransactionBrokerFactory::brokers() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return brokers_;
}

void SimTransactionBrokerFactory::clear() {
  std::vector<ZolSmartPointer<SimTransactionBroker>> brokers;
  std::lock_guard<std::mutex> lock(mutex_);
  brokers.swap(brokers_);
}

Zol::ZolResult_24_8 SimTransactionBrokerFactory::createTransactionBroker(
    ZolSmartPointer<kyr::orla::appfw::ZolITransactionBrokerInterface>& broker) {
  if (Zol::ZolResult_24_8 fault = call("createTransactionBroker"); !fault.isOk()) return fault;
  std::lock_guard<std::mutex> lock(mutex_);
  auto made =
      makeSimObject<SimTransactionBroker>(context(), "transaction broker " + std::to_string(brokers_.size() + 1));
  brokers_.push_back(made);
  broker = made;
  return {};
}

}  // namespace simhost
