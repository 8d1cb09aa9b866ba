// ZolSequence<T>: the kernel's copy-on-write sequence. Copies share one
// storage block until one of them is changed; every default-constructed
// sequence of one element type shares a single process-wide empty block.
// Storage comes from the kernel's sequence allocator (allocSeqData_24_8).
//
//   ZolSequence<unsigned int> ids{7, 9};
//   ZolSequence<unsigned int> copy = ids;   // shares storage
//   copy.push_back(11);                     // copy detaches; ids unchanged
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <new>
#include <stdexcept>
#include <typeinfo>
#include <utility>
#include <vector>

#include "zol/kernel/ZolKernelExport.h"

/// Sequence storage of the kernel. Never returns null; throws std::bad_alloc.
ZOL_KERNEL_EXPORT void* allocSeqData_24_8(std::size_t bytes);
ZOL_KERNEL_EXPORT void freeSeqData_24_8(void* data) noexcept;

namespace Zol {

namespace detail {
/// The kernel's one empty block for sequences of `storageType`, made by
/// `make` on first request. Shared by every module of the process.
ZOL_KERNEL_EXPORT std::shared_ptr<void> sharedEmptySequenceBlock(const std::type_info& storageType,
                                                                 std::shared_ptr<void> (*make)());
}  // namespace detail

/// Standard allocator over allocSeqData_24_8 / freeSeqData_24_8.
template <class T>
struct ZolSeqAllocator {
  using value_type = T;
  static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "over-aligned sequence element");

  ZolSeqAllocator() noexcept = default;
  template <class U>
  ZolSeqAllocator(const ZolSeqAllocator<U>&) noexcept {}  // NOLINT: rebinding

  T* allocate(std::size_t n) { return static_cast<T*>(allocSeqData_24_8(n * sizeof(T))); }
  void deallocate(T* p, std::size_t) noexcept { freeSeqData_24_8(p); }

  template <class U>
  friend bool operator==(const ZolSeqAllocator&, const ZolSeqAllocator<U>&) noexcept {
    return true;
  }
  template <class U>
  friend bool operator!=(const ZolSeqAllocator&, const ZolSeqAllocator<U>&) noexcept {
    return false;
  }
};

}  // namespace Zol

template <class T>
class ZolSequence {
  using Storage = std::vector<T, Zol::ZolSeqAllocator<T>>;

 public:
  using value_type = T;
  using size_type = std::size_t;
  using const_iterator = typename Storage::const_iterator;
  using iterator = const_iterator;

  /// Empty; shares the process-wide empty block of T.
  ZolSequence() : block_(emptyBlock()) {}
  ZolSequence(std::initializer_list<T> items) : block_(makeBlock(items.begin(), items.end())) {}
  template <class It>
  ZolSequence(It first, It last) : block_(makeBlock(first, last)) {}

  ZolSequence(const ZolSequence&) noexcept = default;
  ZolSequence& operator=(const ZolSequence&) noexcept = default;
  /// The moved-from sequence is empty again.
  ZolSequence(ZolSequence&& other) noexcept : block_(std::exchange(other.block_, emptyBlock())) {}
  ZolSequence& operator=(ZolSequence&& other) noexcept {
    if (this != &other) block_ = std::exchange(other.block_, emptyBlock());
    return *this;
  }
  ~ZolSequence() = default;

  size_type size() const noexcept { return block_->size(); }
  bool empty() const noexcept { return block_->empty(); }
  const T& operator[](size_type i) const noexcept { return (*block_)[i]; }
  /// Throws std::out_of_range past the end.
  const T& at(size_type i) const { return block_->at(i); }
  const T& front() const noexcept { return block_->front(); }
  const T& back() const noexcept { return block_->back(); }
  const_iterator begin() const noexcept { return block_->cbegin(); }
  const_iterator end() const noexcept { return block_->cend(); }

  /// Writable element; detaches shared storage first.
  T& mutableAt(size_type i) { return detach().at(i); }
  void push_back(const T& value) { detach().push_back(value); }
  void push_back(T&& value) { detach().push_back(std::move(value)); }
  template <class... Args>
  T& emplace_back(Args&&... args) {
    return detach().emplace_back(std::forward<Args>(args)...);
  }
  void reserve(size_type n) { detach().reserve(n); }
  void resize(size_type n) { detach().resize(n); }
  void clear() { block_ = emptyBlock(); }

  /// True when both sequences use the same storage block.
  bool sharesStorageWith(const ZolSequence& other) const noexcept { return block_ == other.block_; }

  friend bool operator==(const ZolSequence& a, const ZolSequence& b) {
    return a.block_ == b.block_ || *a.block_ == *b.block_;
  }
  friend bool operator!=(const ZolSequence& a, const ZolSequence& b) { return !(a == b); }

 private:
  template <class It>
  static std::shared_ptr<Storage> makeBlock(It first, It last) {
    return std::allocate_shared<Storage>(Zol::ZolSeqAllocator<Storage>(), first, last);
  }

  // The kernel owns the block, so it is one per process, not one per module.
  static const std::shared_ptr<Storage>& emptyBlock() {
    static const std::shared_ptr<Storage> empty =
        std::static_pointer_cast<Storage>(Zol::detail::sharedEmptySequenceBlock(typeid(Storage), [] {
          return std::shared_ptr<void>(std::allocate_shared<Storage>(Zol::ZolSeqAllocator<Storage>()));
        }));
    return empty;
  }

  Storage& detach() {
    if (block_.use_count() > 1) block_ = makeBlock(block_->cbegin(), block_->cend());
    return *block_;
  }

  std::shared_ptr<Storage> block_;
};
