#include "Transcript.h"

#include <iostream>

namespace demo {

void Transcript::step(const std::string& title) {
  if (open_) flushHostCalls();
  std::cout << "\n== " << title << "\n";
  open_ = true;
}

void Transcript::note(const std::string& text) {
  flushHostCalls();
  std::cout << "   " << text << "\n";
}

namespace {

constexpr std::size_t kFoldFrom = 4;

bool sameOperation(const simhost::HostCall& a, const simhost::HostCall& b) {
  return a.interfaceName == b.interfaceName && a.operation == b.operation && a.objectId == b.objectId;
}

}  // namespace

// A run of kFoldFrom or more calls of one operation on one object prints as
// one line with each call's arguments, so that a burst of look-ups reads at
// a glance.
void Transcript::flushHostCalls() {
  const auto calls = journal_.calls();
  if (calls.size() == printed_) {
    if (open_) std::cout << "   (no host call)\n";
  }
  for (std::size_t i = printed_; i < calls.size();) {
    std::size_t end = i + 1;
    while (end < calls.size() && sameOperation(calls[i], calls[end])) ++end;
    if (end - i < kFoldFrom) {
      for (; i < end; ++i) std::cout << "   host <- " << calls[i].toString() << "\n";
      continue;
    }
    const simhost::HostCall& first = calls[i];
    std::cout << "   host <- " << first.interfaceName << "." << first.operation << " x" << (end - i) << " on "
              << first.objectName << " #" << first.objectId << ":";
    const char* separator = " ";
    for (; i < end; ++i, separator = ", ") std::cout << separator << "(" << calls[i].argumentList() << ")";
    std::cout << "\n";
  }
  printed_ = calls.size();
  open_ = false;
}

}  // namespace demo
