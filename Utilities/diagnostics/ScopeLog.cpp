#include "WyrdanPluginUtilities/diagnostics/ScopeLog.h"

#include "WyrdanPluginUtilities/diagnostics/Logger.h"

namespace kyr::orla::plugin::wyrdan {

ScopeLog::ScopeLog(int level) : m_level(level), m_stream(std::ios_base::out) {}

// The text is copied into a stream of its own, which may allocate: the move
// may throw.
// NOLINTNEXTLINE(performance-noexcept-move-constructor)
ScopeLog::ScopeLog(ScopeLog&& other) : m_level(other.m_level), m_stream(std::ios_base::out | std::ios_base::ate) {
  m_stream.str(other.m_stream.str());
  other.m_stream.str(std::string());
}

ScopeLog::~ScopeLog() { Logger::write(m_stream.str(), m_level); }

std::ostringstream& ScopeLog::stream() { return m_stream; }

void ScopeLog::sink() {
  Logger::write(m_stream.str(), m_level);
  m_stream.str(std::string());
  m_stream.clear();
}

}  // namespace kyr::orla::plugin::wyrdan
