// A kernel logger of the benchmarks' own: it counts the lines it is given and
// keeps the last one, so that a measured log call costs the library's work
// and one virtual call, not a simulated host's journal or an ever-growing
// record.
//
//   const auto& logger = bench::kernelCountingLogger();  // installed in the kernel
//   ... plug-in code logs ...
//   if (logger->lines() == 1 && logger->last() == "...") ...
#pragma once

#include <cstdint>
#include <string>

#include "hostobjects/HostObject.h"
#include "zol/kernel/ZolKernel.h"

namespace bench {

class BENCH_HOST_EXPORT CountingLogger final : public HostObject<Zol::Framework::Logger::ZolILoggerInterface> {
 public:
  Zol::ZolResult_24_8 log(const std::string& text, std::int32_t severity) override;

  std::uint64_t lines() const noexcept { return lines_; }
  const std::string& last() const noexcept { return last_; }
  std::int32_t lastSeverity() const noexcept { return lastSeverity_; }

 private:
  std::uint64_t lines_ = 0;
  std::string last_;
  std::int32_t lastSeverity_ = 0;
};

/// The process's counting logger, installed as the kernel's logger on the
/// first call. The library keeps the logger it first fetched for the whole
/// process, so the benchmarks log through this one and no simulated host may
/// be alive when a workload logs for the first time.
BENCH_HOST_EXPORT const ZolSmartPointer<CountingLogger>& kernelCountingLogger();

}  // namespace bench
