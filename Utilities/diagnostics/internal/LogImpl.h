// Where LogHelper's stamped lines go: LogImpl is the sink, ZolLogImpl the one
// that hands each line to the host kernel's logger.
#pragma once

#include <string>

#include "zol/kernel/ZolKernel.h"

namespace kyr::orla::plugin::wyrdan {

class LogImpl {
 public:
  virtual ~LogImpl() = default;
  /// Writes one line at `level`.
  virtual void write(const std::string& line, int level) = 0;
};

class ZolLogImpl final : public LogImpl {
 public:
  /// Keeps a reference to `logger`; an empty one writes nothing.
  explicit ZolLogImpl(ZolSmartPointer<Zol::Framework::Logger::ZolILoggerInterface> logger);
  /// Releases the logger.
  ~ZolLogImpl() override;

  /// Passes the line and the level unchanged to the logger, if any. Neither its
  /// result nor an exception it raises reaches the caller.
  void write(const std::string& line, int level) override;

  const ZolSmartPointer<Zol::Framework::Logger::ZolILoggerInterface>& logger() const noexcept { return m_logger; }

 private:
  ZolSmartPointer<Zol::Framework::Logger::ZolILoggerInterface> m_logger;
};

}  // namespace kyr::orla::plugin::wyrdan
