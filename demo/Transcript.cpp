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

void Transcript::markWorkThreadCalls(std::size_t from) {
  if (journal_) workThreadCalls_.emplace_back(from, journal_->size());
}

void Transcript::detach() {
  flushHostCalls();
  journal_ = nullptr;
}

bool Transcript::onWorkThread(std::size_t record) const {
  for (const auto& [from, to] : workThreadCalls_) {
    if (record >= from && record < to) return true;
  }
  return false;
}

namespace {

constexpr std::size_t kFoldFrom = 4;

bool sameOperation(const simhost::HostCall& a, const simhost::HostCall& b) {
  return a.interfaceName == b.interfaceName && a.operation == b.operation && a.objectId == b.objectId;
}

}  // namespace

// A run of kFoldFrom or more calls of one operation on one object, all from
// one thread, prints as one line with each call's arguments, so that a burst
// of look-ups reads at a glance.
void Transcript::flushHostCalls() {
  if (!journal_) return;
  const auto calls = journal_->calls();
  if (calls.size() == printed_) {
    if (open_) std::cout << "   (no host call)\n";
  }
  for (std::size_t i = printed_; i < calls.size();) {
    const bool workThread = onWorkThread(i);
    const char* const where = workThread ? " [work thread]\n" : "\n";
    std::size_t end = i + 1;
    while (end < calls.size() && sameOperation(calls[i], calls[end]) && onWorkThread(end) == workThread) ++end;
    if (end - i < kFoldFrom) {
      for (; i < end; ++i) std::cout << "   host <- " << calls[i].toString() << where;
      continue;
    }
    const simhost::HostCall& first = calls[i];
    std::cout << "   host <- " << first.interfaceName << "." << first.operation << " x" << (end - i) << " on "
              << first.objectName << " #" << first.objectId << ":";
    const char* separator = " ";
    for (; i < end; ++i, separator = ", ") std::cout << separator << "(" << calls[i].argumentList() << ")";
    std::cout << where;
  }
  printed_ = calls.size();
  open_ = false;
}

}  // namespace demo
