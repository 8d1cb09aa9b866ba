// What a test needs to show that memory stays flat or is never read: the
// bytes the program has allocated and not freed, a thread whose stack is
// deep enough for thousands of nested calls, and an address range that
// faults on any access.
//
//   const std::size_t before = testing_support::heapInUse();
//   ...  // work that must leave nothing behind
//   EXPECT_LE(testing_support::heapGrowthSince(before), 1024);
#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>

#if defined(_WIN32)
#include <malloc.h>
#include <process.h>
#include <windows.h>
#else
#include <malloc.h>
#include <pthread.h>

#include <sys/mman.h>
#endif

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizers' allocators count for themselves; gcc installs no header
// that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace testing_support {

/// Bytes allocated and not yet freed, on every thread.
inline std::size_t heapInUse();

/// Runs `body` on a new thread with a stack of `bytes` and waits for it;
/// throws std::runtime_error when the system makes no such thread. The stack
/// is reserved, not touched: only what the calls use is mapped.
inline void runOnStackOf(std::size_t bytes, const std::function<void()>& body);

/// `size` bytes of address space that fault on any access, released at the
/// end of its scope: a buffer a test passes where only its size may be used.
class InaccessibleBytes {
 public:
  explicit InaccessibleBytes(std::size_t size);
  ~InaccessibleBytes();
  InaccessibleBytes(const InaccessibleBytes&) = delete;
  InaccessibleBytes& operator=(const InaccessibleBytes&) = delete;

  /// The first byte; null when the address space could not be reserved.
  const char* data() const { return static_cast<const char*>(bytes_); }
  std::size_t size() const { return size_; }

 private:
  void* bytes_;
  std::size_t size_;
};

/// How much more is in use now than `before` (negative when less).
inline long long heapGrowthSince(std::size_t before) {
  return static_cast<long long>(heapInUse()) - static_cast<long long>(before);
}

namespace detail {
[[noreturn]] inline void noThread(std::size_t bytes) {
  throw std::runtime_error("no thread with a stack of " + std::to_string(bytes) + " bytes");
}
}  // namespace detail

#if defined(_WIN32)

// The blocks the C runtime's heap holds in use: malloc and operator new
// allocate there, every module of the program through the same runtime.
inline std::size_t heapInUse() {
  std::size_t used = 0;
  _HEAPINFO entry{};
  int status;
  while ((status = _heapwalk(&entry)) == _HEAPOK) {
    if (entry._useflag == _USEDENTRY) used += entry._size;
  }
  if (status != _HEAPEND && status != _HEAPEMPTY) throw std::runtime_error("the C runtime's heap walk failed");
  return used;
}

// The system commits a new thread's whole stack unless told that the size
// is a reservation.
inline void runOnStackOf(std::size_t bytes, const std::function<void()>& body) {
  if (bytes > std::numeric_limits<unsigned>::max()) detail::noThread(bytes);
  const auto run = [](void* call) -> unsigned {
    (*static_cast<const std::function<void()>*>(call))();
    return 0;
  };
  const auto thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, static_cast<unsigned>(bytes), run,
                                                              const_cast<std::function<void()>*>(&body),
                                                              STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
  if (thread == nullptr) detail::noThread(bytes);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
}

inline InaccessibleBytes::InaccessibleBytes(std::size_t size)
    : bytes_(VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS)), size_(size) {}

inline InaccessibleBytes::~InaccessibleBytes() {
  if (bytes_ != nullptr) VirtualFree(bytes_, 0, MEM_RELEASE);
}

#else

// In the C library's arenas and in the blocks it maps for large allocations.
inline std::size_t heapInUse() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

inline void runOnStackOf(std::size_t bytes, const std::function<void()>& body) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, bytes);
  pthread_t thread;
  const auto run = [](void* call) -> void* {
    (*static_cast<const std::function<void()>*>(call))();
    return nullptr;
  };
  const int failed = pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&body));
  pthread_attr_destroy(&attributes);
  if (failed != 0) detail::noThread(bytes);
  pthread_join(thread, nullptr);
}

inline InaccessibleBytes::InaccessibleBytes(std::size_t size)
    : bytes_(mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0)), size_(size) {
  if (bytes_ == MAP_FAILED) bytes_ = nullptr;
}

inline InaccessibleBytes::~InaccessibleBytes() {
  if (bytes_ != nullptr) munmap(bytes_, size_);
}

#endif

}  // namespace testing_support
