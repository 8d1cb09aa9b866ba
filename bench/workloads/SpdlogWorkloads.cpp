#include "workloads/SpdlogWorkloads.h"

#include <spdlog/logger.h>
#include <spdlog/sinks/ostream_sink.h>

namespace bench {

SpdlogFilteredDebug::SpdlogFilteredDebug(long entries)
    : entries_(entries),
      logger_(std::make_shared<spdlog::logger>("bench", std::make_shared<spdlog::sinks::ostream_sink_mt>(out_))) {
  logger_->set_level(spdlog::level::info);
}

SpdlogFilteredDebug::~SpdlogFilteredDebug() = default;

void SpdlogFilteredDebug::run() const {
  for (long i = 0; i < entries_; ++i) logger_->debug("cells meshed: {}", i);
}

bool SpdlogFilteredDebug::verify() const {
  run();
  logger_->info("kept");
  logger_->flush();
  const std::string written = out_.str();
  return written.find("cells meshed") == std::string::npos && written.find("kept") != std::string::npos;
}

}  // namespace bench
