// Simulated application-framework services reached by name: the trash bin
// behind "kyr.orla.appfw.TrashBinFW" and the shell's managers behind
// "kyr.orla.plugin.shell.ShellEntities".
#pragma once

#include <atomic>
#include <cstddef>

#include "kyr/appfw/TransactionBroker.h"
#include "kyr/appfw/TrashBin.h"
#include "kyr/shell/ShellManagers.h"
#include "simhost/SimObject.h"
#include "simhost/Synchronized.h"

namespace simhost {

/// Counts its flushes.
class SIMHOST_EXPORT SimTrashBin final : public SimObject<kyr::orla::appfw::ZolITrashBinInterface> {
 public:
  using SimObject::SimObject;
  std::size_t flushes() const noexcept { return flushes_.load(std::memory_order_acquire); }
  Zol::ZolResult_24_8 flush() override;

 private:
  std::atomic<std::size_t> flushes_{0};
};

class SIMHOST_EXPORT SimTrashBinService final : public SimObject<kyr::orla::appfw::ZolITrashBinFactoryInterface> {
 public:
  using SimObject::SimObject;

  /// The bin handed out; empty makes getTrashBin answer nothing.
  void setTrashBin(ZolSmartPointer<SimTrashBin> trashBin);
  ZolSmartPointer<SimTrashBin> trashBin() const { return trashBin_.get(); }

  Zol::ZolResult_24_8 getTrashBin(ZolSmartPointer<kyr::orla::appfw::ZolITrashBinInterface>& trashBin) override;

 private:
  Synchronized<ZolSmartPointer<SimTrashBin>> trashBin_;
};

class SIMHOST_EXPORT SimViewport final : public SimObject<kyr::orla::plugin::shell::IViewportInterface> {
 public:
  using SimObject::SimObject;
};

class SIMHOST_EXPORT SimViewportManager final
    : public SimObject<kyr::orla::plugin::shell::IViewportManagerInterface> {
 public:
  using SimObject::SimObject;

  void setCurrentViewport(ZolSmartPointer<SimViewport> viewport);
  ZolSmartPointer<SimViewport> currentViewport() const { return viewport_.get(); }

  Zol::ZolResult_24_8 getCurrentViewport(
      ZolSmartPointer<kyr::orla::plugin::shell::IViewportInterface>& viewport) override;

 private:
  Synchronized<ZolSmartPointer<SimViewport>> viewport_;
};

class SIMHOST_EXPORT SimShellEntities final : public SimObject<kyr::orla::plugin::shell::IGetManagersInterface> {
 public:
  using SimObject::SimObject;

  void setViewportManager(ZolSmartPointer<SimViewportManager> manager);
  ZolSmartPointer<SimViewportManager> viewportManager() const { return manager_.get(); }

  Zol::ZolResult_24_8 getViewportManager(
      ZolSmartPointer<kyr::orla::plugin::shell::IViewportManagerInterface>& manager) override;

 private:
  Synchronized<ZolSmartPointer<SimViewportManager>> manager_;
};

class SIMHOST_EXPORT SimTransactionBrokerFactory final
    : public SimObject<kyr::orla::appfw::ZolITransactionBrokerFactoryInterface> {
 public:
  using SimObject::SimObject;
};

}  // namespace simhost
