#include "simhost/testbed/HostFailures.h"

#include <algorithm>

namespace simhost {

std::string HostFailures::Failure::text() const { return source + ": " + reason; }

void HostFailures::record(std::string source, std::string reason) {
  std::lock_guard<std::mutex> lock(mutex_);
  failures_.push_back(Failure{std::move(source), std::move(reason)});
}

void HostFailures::expect(std::string text) {
  std::lock_guard<std::mutex> lock(mutex_);
  expected_.push_back(std::move(text));
}

void HostFailures::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  failures_.clear();
  expected_.clear();
}

std::vector<HostFailures::Failure> HostFailures::all() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return failures_;
}

bool HostFailures::isExpected(const Failure& failure) const {
  const std::string text = failure.text();
  return std::any_of(expected_.begin(), expected_.end(),
                     [&text](const std::string& part) { return text.find(part) != std::string::npos; });
}

std::vector<HostFailures::Failure> HostFailures::unexpected() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<Failure> left;
  for (const Failure& failure : failures_) {
    if (!isExpected(failure)) left.push_back(failure);
  }
  return left;
}

std::string HostFailures::report() const {
  std::string text;
  for (const Failure& failure : unexpected()) text += failure.text() + "\n";
  return text;
}

}  // namespace simhost
