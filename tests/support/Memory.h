// What a test needs to show that memory stays flat: the bytes the program
// has allocated and not freed, and a thread whose stack is deep enough for
// thousands of nested calls.
//
//   const std::size_t before = testing_support::heapInUse();
//   ...  // work that must leave nothing behind
//   EXPECT_LE(testing_support::heapGrowthSince(before), 1024);
#pragma once

#include <malloc.h>
#include <pthread.h>

#include <cstddef>
#include <functional>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizers' allocators count for themselves; gcc installs no header
// that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace testing_support {

/// Bytes allocated and not yet freed, on every thread: in the C library's
/// arenas and in the blocks it maps for large allocations.
inline std::size_t heapInUse() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

/// How much more is in use now than `before` (negative when less).
inline long long heapGrowthSince(std::size_t before) {
  return static_cast<long long>(heapInUse()) - static_cast<long long>(before);
}

/// Runs `body` on a new thread with a stack of `bytes` and waits for it.
/// The stack is reserved, not touched: only what the calls use is mapped.
inline void runOnStackOf(std::size_t bytes, const std::function<void()>& body) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, bytes);
  pthread_t thread;
  const auto run = [](void* call) -> void* {
    (*static_cast<const std::function<void()>*>(call))();
    return nullptr;
  };
  if (pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&body)) == 0) {
    pthread_join(thread, nullptr);
  }
  pthread_attr_destroy(&attributes);
}

}  // namespace testing_support
