#include "simhost/CallJournal.h"

namespace simhost {

std::string HostCall::toString() const { return interfaceName + "." + operation + "(" + arguments + ")"; }

void CallJournal::record(HostCall call) {
  if (!enabled()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back(std::move(call));
}

void CallJournal::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.clear();
}

std::vector<HostCall> CallJournal::calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

std::vector<HostCall> CallJournal::callsTo(std::string_view interfaceName, std::string_view operation) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<HostCall> matching;
  for (const HostCall& call : calls_) {
    if (call.interfaceName == interfaceName && (operation.empty() || call.operation == operation)) {
      matching.push_back(call);
    }
  }
  return matching;
}

std::size_t CallJournal::count(std::string_view interfaceName, std::string_view operation) const {
  return callsTo(interfaceName, operation).size();
}

std::size_t CallJournal::size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_.size();
}

}  // namespace simhost
