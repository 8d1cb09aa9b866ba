// The call journal: one record per host operation the plug-in side called,
// in call order, so tests can assert which host calls were made and with what.
//
//   EXPECT_EQ(host.journal().count("Zol.Framework.ZolIServiceProvider", "getService"), 1u);
#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "simhost/SimHostExport.h"

namespace simhost {

struct SIMHOST_EXPORT HostCall {
  std::string interfaceName;  // dotted type name of the interface called
  std::string operation;
  std::string arguments;      // rendered as text, comma separated

  /// "interface.operation(arguments)"
  std::string toString() const;
};

/// Thread-safe: the host's work thread records too.
class SIMHOST_EXPORT CallJournal {
 public:
  void record(HostCall call);
  void clear();

  /// A disabled journal records nothing (benchmarks switch it off).
  void setEnabled(bool enabled) noexcept { enabled_.store(enabled, std::memory_order_relaxed); }
  bool enabled() const noexcept { return enabled_.load(std::memory_order_relaxed); }

  /// A snapshot of every record, oldest first.
  std::vector<HostCall> calls() const;
  /// Records of one interface (and one operation, unless empty), oldest first.
  std::vector<HostCall> callsTo(std::string_view interfaceName, std::string_view operation = {}) const;
  std::size_t count(std::string_view interfaceName, std::string_view operation = {}) const;
  std::size_t size() const;

 private:
  mutable std::mutex mutex_;
  std::vector<HostCall> calls_;
  std::atomic<bool> enabled_{true};
};

}  // namespace simhost
