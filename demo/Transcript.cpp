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

void Transcript::flushHostCalls() {
  const auto calls = journal_.calls();
  if (calls.size() == printed_) {
    if (open_) std::cout << "   (no host call)\n";
  }
  for (std::size_t i = printed_; i < calls.size(); ++i) std::cout << "   host <- " << calls[i].toString() << "\n";
  printed_ = calls.size();
  open_ = false;
}

}  // namespace demo
