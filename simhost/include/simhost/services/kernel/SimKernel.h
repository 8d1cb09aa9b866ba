/// \file
/// The simulated kernel access and kernel logger. SimHost installs its kernel
/// access in the kernel for its lifetime (Zol::setKernelAccessInterface_24_8),
/// so a plug-in asking the kernel for its logger reaches this host's logger,
/// journaled and fault-injectable like any other host call. The logger keeps
/// every line with its severity.
///
/// \code
///   ... plug-in code logs ...
///   EXPECT_EQ(host.kernelLogger().lines().back().text, "meshing done");
///   host.kernelAccess().setLogger({});  // a host without a kernel logger
/// \endcode
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "simhost/testbed/SimObject.h"
#include "simhost/testbed/Synchronized.h"
#include "zol/kernel/ZolKernel.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

/// The kernel's logger: keeps every line.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimKernelLogger final : public SimObject<Zol::Framework::Logger::ZolILoggerInterface> {
 public:
  /// One line logged.
  /// \ingroup simhost_host
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
  struct Line {
    /// The text as logged.
    std::string text;
    /// The severity the caller gave.
    std::int32_t severity;
  };

  using SimObject::SimObject;

  /// Every line logged, oldest first.
  std::vector<Line> lines() const;
  /// Forgets every line.
  void clear();

  /// Keeps the line; an injected fault keeps nothing.
  Zol::ZolResult_24_8 log(const std::string& text, std::int32_t severity) override;

 private:
  mutable std::mutex mutex_;
  std::vector<Line> lines_;
};

/// The kernel access: hands out the kernel logger installed.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimKernelAccess final : public SimObject<Zol::ZolIKernelAccessInterface> {
 public:
  using SimObject::SimObject;

  /// Writes the installed logger; fails, writing nothing, when there is none
  /// or a fault is injected.
  Zol::ZolResult_24_8 getLogger(ZolSmartPointer<Zol::Framework::Logger::ZolILoggerInterface>& logger) override;
  /// Installs `logger`; empty uninstalls it. The host's side: not journaled.
  void setLogger(const ZolSmartPointer<Zol::Framework::Logger::ZolILoggerInterface>& logger) override;

 private:
  Synchronized<ZolSmartPointer<Zol::Framework::Logger::ZolILoggerInterface>> logger_;
};

/// @}

}  // namespace simhost
