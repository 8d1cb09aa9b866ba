#include "simhost/SimAppServices.h"

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

}  // namespace simhost
