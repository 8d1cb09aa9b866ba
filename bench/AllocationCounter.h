// Counts the program's heap allocations: this file's source replaces the
// global operator new, and every call made on any thread while a
// CountedAllocations is alive is counted. Linked into the benchmark
// executables only.
//
//   bench::CountedAllocations counted;
//   workload.run();
//   if (counted.allocations() != 0) ...  // the run allocated
#pragma once

#include <cstdint>

namespace bench {

/// Counts the calls of global operator new (every form) from construction to
/// destruction. One at a time: scopes do not nest.
class CountedAllocations {
 public:
  CountedAllocations();
  ~CountedAllocations();
  CountedAllocations(const CountedAllocations&) = delete;
  CountedAllocations& operator=(const CountedAllocations&) = delete;

  /// The allocations counted so far, on every thread.
  std::uint64_t allocations() const noexcept;
};

}  // namespace bench
