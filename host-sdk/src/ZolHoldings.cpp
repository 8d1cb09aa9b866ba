#include "zol/kernel/ZolHoldings.h"

#include <map>
#include <mutex>
#include <utility>

namespace Zol {

namespace {

struct Reporter {
  std::string module;
  ZolHoldingsReporter report;
};

class Reporters {
 public:
  static Reporters& instance() {
    static auto* reporters = new Reporters();  // modules unregister during static destruction
    return *reporters;
  }

  std::uint64_t add(std::string module, ZolHoldingsReporter report) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::uint64_t id = nextId_++;
    reporters_.emplace(id, Reporter{std::move(module), report});
    return id;
  }

  void remove(std::uint64_t id) {
    std::lock_guard<std::mutex> lock(mutex_);
    reporters_.erase(id);
  }

  std::vector<Reporter> snapshot() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Reporter> all;
    for (const auto& entry : reporters_) all.push_back(entry.second);
    return all;
  }

 private:
  mutable std::mutex mutex_;
  std::uint64_t nextId_ = 1;
  std::map<std::uint64_t, Reporter> reporters_;
};

}  // namespace

void ZolHeldReferences::addObject(std::string_view what, ZolIServiceInterface* object) {
  entries_.push_back(ZolHeldReference{module_ + ": " + std::string(what), object});
}

ZolHoldingsRegistration::ZolHoldingsRegistration(std::string module, ZolHoldingsReporter reporter)
    : id_(Reporters::instance().add(std::move(module), reporter)) {}

ZolHoldingsRegistration::~ZolHoldingsRegistration() { Reporters::instance().remove(id_); }

std::vector<ZolHeldReference> currentHeldReferences_24_8() {
  std::vector<ZolHeldReference> all;
  for (const Reporter& reporter : Reporters::instance().snapshot()) {
    ZolHeldReferences held(reporter.module);
    reporter.report(held);
    for (ZolHeldReference& reference : held.entries()) all.push_back(std::move(reference));
  }
  return all;
}

}  // namespace Zol
