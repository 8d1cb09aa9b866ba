#include "WyrdanPluginUtilities/diagnostics/internal/LogImpl.h"

#include <utility>

namespace kyr::orla::plugin::wyrdan {

ZolLogImpl::ZolLogImpl(ZolSmartPointer<Zol::Framework::Logger::ZolILoggerInterface> logger)
    : m_logger(std::move(logger)) {}

ZolLogImpl::~ZolLogImpl() = default;

// A log line must never fail the code that writes it.
void ZolLogImpl::write(const std::string& line, int level) {
  if (!m_logger) return;
  try {
    m_logger->log(line, level);
  } catch (...) {
  }
}

}  // namespace kyr::orla::plugin::wyrdan
