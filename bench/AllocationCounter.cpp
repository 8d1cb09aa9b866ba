#include "AllocationCounter.h"

#include <atomic>
#include <cassert>
#include <cerrno>
#include <cstddef>

// glibc's own allocator, under the names it exports for programs that
// interpose malloc, as this file does.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* memory, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* memory);
}

namespace bench {

namespace {

// Relaxed: the counting scope is opened and closed on one thread, and the
// threads it counts are started and joined inside it, which orders them.
std::atomic<bool> counting{false};
std::atomic<std::uint64_t> counted{0};

void countOne() noexcept {
  if (counting.load(std::memory_order_relaxed)) counted.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

CountedAllocations::CountedAllocations() {
  assert(!counting.load(std::memory_order_relaxed) && "allocation counting scopes do not nest");
  counted.store(0, std::memory_order_relaxed);
  counting.store(true, std::memory_order_relaxed);
}

CountedAllocations::~CountedAllocations() { counting.store(false, std::memory_order_relaxed); }

std::uint64_t CountedAllocations::allocations() const noexcept { return counted.load(std::memory_order_relaxed); }

}  // namespace bench

// The C allocator's entry points, each counted and passed on to glibc's: every
// operator new, and every library that calls malloc itself (Qt, msgpack-c),
// comes through them. A realloc counts as an allocation; free does not.
extern "C" {

void* malloc(std::size_t size) {
  bench::countOne();
  return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) {
  bench::countOne();
  return __libc_calloc(count, size);
}

void* realloc(void* memory, std::size_t size) {
  bench::countOne();
  return __libc_realloc(memory, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) {
  bench::countOne();
  return __libc_memalign(alignment, size);
}

void* memalign(std::size_t alignment, std::size_t size) {
  bench::countOne();
  return __libc_memalign(alignment, size);
}

int posix_memalign(void** memory, std::size_t alignment, std::size_t size) {
  bench::countOne();
  void* allocated = __libc_memalign(alignment, size);
  if (allocated == nullptr) return ENOMEM;
  *memory = allocated;
  return 0;
}

void free(void* memory) { __libc_free(memory); }

}  // extern "C"
