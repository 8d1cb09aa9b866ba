#include "simhost/testbed/CallJournal.h"

#include <stdexcept>

namespace simhost {

std::string HostCall::argumentList() const {
  std::string text;
  for (const std::string& argument : arguments) text += (text.empty() ? "" : ", ") + argument;
  return text;
}

std::string HostCall::toString() const {
  std::string text = interfaceName + "." + operation + "(" + argumentList() + ")";
  if (objectId != 0) text += " on " + objectName + " #" + std::to_string(objectId);
  return text;
}

const Payload& HostCall::payload(std::size_t index) const {
  if (index < payloads.size()) return payloads[index];
  throw std::invalid_argument(toString() + " has " + std::to_string(payloads.size()) + " payloads, not " +
                              std::to_string(index + 1));
}

CallPattern::CallPattern(std::string interfaceName, std::string operation)
    : interfaceName_(std::move(interfaceName)), operation_(std::move(operation)) {}

CallPattern& CallPattern::on(std::uint64_t objectId) {
  objectId_ = objectId;
  return *this;
}

CallPattern& CallPattern::containing(std::string text) {
  containing_ = std::move(text);
  return *this;
}

bool CallPattern::matches(const HostCall& call) const {
  if (call.interfaceName != interfaceName_) return false;
  if (!operation_.empty() && call.operation != operation_) return false;
  if (objectId_ && call.objectId != *objectId_) return false;
  if (arguments_ && call.arguments != *arguments_) return false;
  return containing_.empty() || call.argumentList().find(containing_) != std::string::npos;
}

std::string CallPattern::toString() const {
  std::string text = interfaceName_ + "." + (operation_.empty() ? "*" : operation_);
  if (arguments_) {
    text += "(";
    for (std::size_t i = 0; i < arguments_->size(); ++i) text += (i == 0 ? "" : ", ") + (*arguments_)[i];
    text += ")";
  } else {
    text += "(...)";
  }
  if (objectId_) text += " on #" + std::to_string(*objectId_);
  if (!containing_.empty()) text += " containing \"" + containing_ + "\"";
  return text;
}

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

std::vector<HostCall> CallJournal::calls(const CallPattern& pattern) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<HostCall> matching;
  for (const HostCall& call : calls_) {
    if (pattern.matches(call)) matching.push_back(call);
  }
  return matching;
}

std::size_t CallJournal::count(const CallPattern& pattern) const { return calls(pattern).size(); }

std::vector<HostCall> CallJournal::callsTo(std::string_view interfaceName, std::string_view operation) const {
  return calls(CallPattern(std::string(interfaceName), std::string(operation)));
}

std::size_t CallJournal::count(std::string_view interfaceName, std::string_view operation) const {
  return callsTo(interfaceName, operation).size();
}

std::size_t CallJournal::size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_.size();
}

}  // namespace simhost
