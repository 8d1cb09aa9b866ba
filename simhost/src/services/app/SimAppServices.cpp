#include "simhost/services/app/SimAppServices.h"

#include <string>

namespace simhost {

Zol::ZolResult_24_8 SimTrashBin::flush() {
  if (auto answered = call("flush")) return *answered;
  flushes_.fetch_add(1, std::memory_order_acq_rel);
  return {};
}

void SimTrashBinService::setTrashBin(ZolSmartPointer<SimTrashBin> trashBin) { trashBin_.set(std::move(trashBin)); }

Zol::ZolResult_24_8 SimTrashBinService::getTrashBin(
    ZolSmartPointer<kyr::orla::appfw::ZolITrashBinInterface>& trashBin) {
  if (auto answered = call("getTrashBin", out(trashBin))) return *answered;
  trashBin = trashBin_.get();
  return {};
}

void SimViewportManager::setCurrentViewport(ZolSmartPointer<SimViewport> viewport) {
  viewport_.set(std::move(viewport));
}

Zol::ZolResult_24_8 SimViewportManager::getCurrentViewport(
    ZolSmartPointer<kyr::orla::plugin::shell::IViewportInterface>& viewport) {
  if (auto answered = call("getCurrentViewport", out(viewport))) return *answered;
  viewport = viewport_.get();
  return {};
}

void SimShellEntities::setViewportManager(ZolSmartPointer<SimViewportManager> manager) {
  manager_.set(std::move(manager));
}

Zol::ZolResult_24_8 SimShellEntities::getViewportManager(
    ZolSmartPointer<kyr::orla::plugin::shell::IViewportManagerInterface>& manager) {
  if (auto answered = call("getViewportManager", out(manager))) return *answered;
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
  if (auto answered = call("beginTransaction")) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  ++begins_;
  return {};
}

Zol::ZolResult_24_8 SimTransactionBroker::endTransaction() {
  if (auto answered = call("endTransaction")) return *answered;
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
  if (auto answered = call("createTransactionBroker", out(broker))) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  auto made =
      makeSimObject<SimTransactionBroker>(context(), "transaction broker " + std::to_string(brokers_.size() + 1));
  brokers_.push_back(made);
  broker = made;
  return {};
}

}  // namespace simhost
