// Prints a readable transcript of a plug-in session: headings, what the
// plug-in saw, and every host call recorded since the previous step, marked
// when plug-in code made it on the host's work thread.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "simhost/testbed/CallJournal.h"

namespace demo {

class Transcript {
 public:
  explicit Transcript(const simhost::CallJournal& journal) : journal_(&journal) {}

  /// Starts a new step; host calls of the previous step are printed first.
  void step(const std::string& title);
  /// A line of what the plug-in observed.
  void note(const std::string& text);
  /// Prints the host calls recorded since the last flush, or "(no host call)".
  void flushHostCalls();
  /// Marks the calls recorded from the journal's record `from` until now as
  /// made on the host's work thread. The journal does not record threads:
  /// plug-in code running there calls this at its end, while the plug-in's
  /// own thread waits for it, so that no call of another thread is marked.
  void markWorkThreadCalls(std::size_t from);
  /// Prints the host calls not yet printed and stops reading the journal,
  /// whose host is about to go; steps and notes go on.
  void detach();

 private:
  bool onWorkThread(std::size_t record) const;

  const simhost::CallJournal* journal_;
  std::size_t printed_ = 0;
  bool open_ = false;
  std::vector<std::pair<std::size_t, std::size_t>> workThreadCalls_;  // [from, to) ranges of records
};

}  // namespace demo
