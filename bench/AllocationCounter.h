// Counts the program's heap allocations at the C allocator: this file's
// source interposes malloc, calloc, realloc and the aligned allocations, so
// operator new and libraries that call malloc themselves are counted alike.
// Every call made on any thread while a CountedAllocations is alive counts.
// Linked into the benchmark executables only.
//
//   bench::CountedAllocations counted;
//   workload.run();
//   if (counted.allocations() != 0) ...  // the run allocated
#pragma once

#include <cstdint>

namespace bench {

/// Counts the calls of malloc, calloc, realloc and the aligned allocations
/// from construction to destruction. One at a time: scopes do not nest.
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
