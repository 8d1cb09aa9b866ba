// Prints a readable transcript of a plug-in session: headings, what the
// plug-in saw, and every host call recorded since the previous step.
#pragma once

#include <cstddef>
#include <string>

#include "simhost/CallJournal.h"

namespace demo {

class Transcript {
 public:
  explicit Transcript(const simhost::CallJournal& journal) : journal_(journal) {}

  /// Starts a new step; host calls of the previous step are printed first.
  void step(const std::string& title);
  /// A line of what the plug-in observed.
  void note(const std::string& text);
  /// Prints the host calls recorded since the last flush, or "(no host call)".
  void flushHostCalls();

 private:
  const simhost::CallJournal& journal_;
  std::size_t printed_ = 0;
  bool open_ = false;
};

}  // namespace demo
