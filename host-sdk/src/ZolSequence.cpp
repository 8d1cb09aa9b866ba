#include "zol/kernel/ZolSequence.h"

#include <map>
#include <mutex>
#include <typeindex>

void* allocSeqData_24_8(std::size_t bytes) { return ::operator new(bytes); }

void freeSeqData_24_8(void* data) noexcept { ::operator delete(data); }

namespace Zol::detail {

std::shared_ptr<void> sharedEmptySequenceBlock(const std::type_info& storageType, std::shared_ptr<void> (*make)()) {
  // Lives as long as the process: blocks are handed to every module.
  static auto* blocks = new std::map<std::type_index, std::shared_ptr<void>>();
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  auto [it, inserted] = blocks->try_emplace(std::type_index(storageType));
  if (inserted) it->second = make();
  return it->second;
}

}  // namespace Zol::detail
