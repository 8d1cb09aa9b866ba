/// \file
/// Simulated application-framework services reached by name: the trash bin
/// behind "kyr.orla.appfw.TrashBinFW" and the shell's managers behind
/// "kyr.orla.plugin.shell.ShellEntities"; and the transaction brokers of the
/// host service cache's factory.
///
/// Host operations are journaled and fault-injectable (an injected error
/// result is returned before the operation does anything); the setters and
/// readers are the host's own access, not journaled. Every class is
/// thread-safe.
#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <vector>

#include "kyr/appfw/TransactionBroker.h"
#include "kyr/appfw/TrashBin.h"
#include "kyr/shell/ShellManagers.h"
#include "simhost/testbed/SimObject.h"
#include "simhost/testbed/Synchronized.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

/// The host's trash bin: counts its flushes.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimTrashBin final : public SimObject<kyr::orla::appfw::ZolITrashBinInterface> {
 public:
  using SimObject::SimObject;
  /// How often flush succeeded.
  std::size_t flushes() const noexcept { return flushes_.load(std::memory_order_acquire); }
  /// Counts a flush.
  Zol::ZolResult_24_8 flush() override;

 private:
  std::atomic<std::size_t> flushes_{0};
};

/// The "kyr.orla.appfw.TrashBinFW" service: hands out the trash bin set.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimTrashBinService final : public SimObject<kyr::orla::appfw::ZolITrashBinFactoryInterface> {
 public:
  using SimObject::SimObject;

  /// The bin handed out; empty makes getTrashBin answer nothing.
  void setTrashBin(ZolSmartPointer<SimTrashBin> trashBin);
  /// The bin set; empty when none is.
  ZolSmartPointer<SimTrashBin> trashBin() const { return trashBin_.get(); }

  /// trashBin(), empty included.
  Zol::ZolResult_24_8 getTrashBin(ZolSmartPointer<kyr::orla::appfw::ZolITrashBinInterface>& trashBin) override;

 private:
  Synchronized<ZolSmartPointer<SimTrashBin>> trashBin_;
};

/// A 3-D viewport of the shell; it has no operation of its own.
///
/// \par Threads and exceptions
/// Thread-safe; it has no operation of its own, and reference counting and
/// interface queries never throw.
class SIMHOST_EXPORT SimViewport final : public SimObject<kyr::orla::plugin::shell::IViewportInterface> {
 public:
  using SimObject::SimObject;
};

/// The shell's viewport manager: hands out the current viewport set.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimViewportManager final : public SimObject<kyr::orla::plugin::shell::IViewportManagerInterface> {
 public:
  using SimObject::SimObject;

  /// Sets the current viewport; empty means none.
  void setCurrentViewport(ZolSmartPointer<SimViewport> viewport);
  /// The current viewport; empty when none is set.
  ZolSmartPointer<SimViewport> currentViewport() const { return viewport_.get(); }

  /// currentViewport(), empty included.
  Zol::ZolResult_24_8 getCurrentViewport(
      ZolSmartPointer<kyr::orla::plugin::shell::IViewportInterface>& viewport) override;

 private:
  Synchronized<ZolSmartPointer<SimViewport>> viewport_;
};

/// The "kyr.orla.plugin.shell.ShellEntities" service: hands out the
/// viewport manager set.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimShellEntities final : public SimObject<kyr::orla::plugin::shell::IGetManagersInterface> {
 public:
  using SimObject::SimObject;

  /// Sets the viewport manager; empty means none.
  void setViewportManager(ZolSmartPointer<SimViewportManager> manager);
  /// The viewport manager; empty when none is set.
  ZolSmartPointer<SimViewportManager> viewportManager() const { return manager_.get(); }

  /// viewportManager(), empty included.
  Zol::ZolResult_24_8 getViewportManager(
      ZolSmartPointer<kyr::orla::plugin::shell::IViewportManagerInterface>& manager) override;

 private:
  Synchronized<ZolSmartPointer<SimViewportManager>> manager_;
};

/// One host transaction. A begin opens it one level deeper, an end closes
/// one level; an end while it is not open fails (kFailure) and is counted
/// apart.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimTransactionBroker final : public SimObject<kyr::orla::appfw::ZolITransactionBrokerInterface> {
 public:
  using SimObject::SimObject;

  /// Successful begins so far.
  int begins() const;
  /// Successful ends so far.
  int ends() const;
  /// Ends asked while the transaction was not open.
  int failedEnds() const;
  /// True while more begins than ends succeeded.
  bool isOpen() const;

  /// Opens the transaction one level deeper.
  Zol::ZolResult_24_8 beginTransaction() override;
  /// Closes one level; fails (kFailure) when the transaction is not open.
  Zol::ZolResult_24_8 endTransaction() override;

 private:
  mutable std::mutex mutex_;
  int begins_ = 0;
  int ends_ = 0;
  int failedEnds_ = 0;
};

/// ServiceCacheAppFrame::transactionBrokerFactory_: makes a new broker for
/// every request and keeps each (until clear()) so tests can read it back.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimTransactionBrokerFactory final
    : public SimObject<kyr::orla::appfw::ZolITransactionBrokerFactoryInterface> {
 public:
  using SimObject::SimObject;

  /// Every broker made so far, oldest first.
  std::vector<ZolSmartPointer<SimTransactionBroker>> brokers() const;
  /// Drops the brokers kept, for the host's shut-down.
  void clear();

  /// A new SimTransactionBroker, named "transaction broker n" (n counting
  /// from 1), and kept.
  Zol::ZolResult_24_8 createTransactionBroker(
      ZolSmartPointer<kyr::orla::appfw::ZolITransactionBrokerInterface>& broker) override;

 private:
  mutable std::mutex mutex_;
  std::vector<ZolSmartPointer<SimTransactionBroker>> brokers_;
};

/// @}

}  // namespace simhost
