// spdlog's filtered debug statement, the peer of the plug-in's: spdlog's
// logger at the info level, which drops debug messages, asked for one in
// every statement, as a user of spdlog writes it. Built only when spdlog is
// found.
//
//   bench::SpdlogFilteredDebug statements(1000);  // 1000 dropped statements per run
//   if (statements.verify()) statements.run();
#pragma once

#include <memory>
#include <sstream>

namespace spdlog {
class logger;
}

namespace bench {

class SpdlogFilteredDebug {
 public:
  explicit SpdlogFilteredDebug(long entries);
  ~SpdlogFilteredDebug();
  SpdlogFilteredDebug(const SpdlogFilteredDebug&) = delete;
  SpdlogFilteredDebug& operator=(const SpdlogFilteredDebug&) = delete;

  void run() const;
  /// A run writes nothing, and an info message still gets through.
  bool verify() const;

 private:
  long entries_;
  std::ostringstream out_;
  std::shared_ptr<spdlog::logger> logger_;
};

}  // namespace bench
