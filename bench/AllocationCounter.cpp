#include "AllocationCounter.h"

#include <atomic>
#include <cassert>
#include <cstdlib>
#include <new>

namespace bench {

namespace {

// Relaxed: the counting scope is opened and closed on one thread, and the
// threads it counts are started and joined inside it, which orders them.
std::atomic<bool> counting{false};
std::atomic<std::uint64_t> counted{0};

void countOne() noexcept {
  if (counting.load(std::memory_order_relaxed)) counted.fetch_add(1, std::memory_order_relaxed);
}

// Calls `allocate` until it gives memory, calling the new-handler between
// attempts as the default operator new does; std::bad_alloc without one.
template <class Allocate>
void* allocateOrThrow(Allocate allocate) {
  for (;;) {
    if (void* memory = allocate()) return memory;
    const std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
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

// The two replaceable forms of operator new that every other form calls by
// default (the array and nothrow ones included), and the plain, sized and
// aligned deletes that free what they return.

void* operator new(std::size_t size) {
  bench::countOne();
  return bench::allocateOrThrow([size] { return std::malloc(size == 0 ? 1 : size); });
}

void* operator new(std::size_t size, std::align_val_t alignment) {
  bench::countOne();
  const auto align = static_cast<std::size_t>(alignment);
  // aligned_alloc wants a whole number of alignments.
  const std::size_t rounded = size == 0 ? align : (size + align - 1) / align * align;
  return bench::allocateOrThrow([align, rounded] { return std::aligned_alloc(align, rounded); });
}

void operator delete(void* memory) noexcept { std::free(memory); }

void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

void operator delete(void* memory, std::align_val_t) noexcept { std::free(memory); }

void operator delete(void* memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }
