#include "WyrdanPluginUtilities/commands/TaskInvoker.h"

#include <utility>

namespace kyr::orla::plugin::wyrdan {

TaskInvoker::TaskInvoker(std::function<void()>&& function) : m_function(std::move(function)) {}

TaskInvoker::~TaskInvoker() = default;

// The flag, not the function, decides who runs: the function is only touched
// by the one caller that claimed it.
Zol::ZolResult_24_8 TaskInvoker::invoke() {
  if (m_used.exchange(true, std::memory_order_acq_rel) || !m_function) {
    return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  }
  const std::function<void()> function = std::exchange(m_function, nullptr);
  function();
  return Zol::ZolResult_24_8();
}

}  // namespace kyr::orla::plugin::wyrdan
