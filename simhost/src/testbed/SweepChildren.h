// The fault sweep's child processes: how a run gets a process of its own, is
// held to the time limit and is seen to end. FaultSweep.cpp describes the
// runs and reads their reports; only this seam knows the platform's
// processes, in one form per platform (posix/SweepChildren.inc and
// windows/SweepChildren.inc, which FaultSweep.cpp includes).
//
// A run is handed to its child as a request, a text the sweep writes and
// reads back. On POSIX the child is forked and given the request directly;
// on Windows it is the same program started again with the request in its
// environment, where the sweep's run() finds it (requestOfThisProcess).
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace simhost::sweep {

// How a child ended.
struct ChildEnd {
  enum class How {
    Exited,    // on its own, with exitCode: its report, if any, says the rest
    Crashed,   // killed by a signal or an exception that detail names
    OverTime,  // stopped at the time limit
  };
  std::size_t run = 0;  // the number start() was given
  How how = How::Exited;
  int exitCode = 0;
  std::string detail;
};

// What a forked child does with its request: the run, its report, and the
// end of the process (see endChild).
using ChildWork = std::function<void(const std::string& request)>;

// The children running at one time, each with a time limit.
class Children {
 public:
  // `work` serves the request in a forked child; a child started anew finds
  // its request itself. A child holds itself to `timeLimit` (prepareChild);
  // the parent stops one that has not ended well after it.
  Children(unsigned timeLimit, ChildWork work);
  // Stops and reaps the children still running (when the sweep throws).
  ~Children();
  Children(const Children&) = delete;
  Children& operator=(const Children&) = delete;

  // The most children the platform can watch at once.
  static std::size_t mostAtOnce() noexcept;

  // Starts a child for run number `run`; throws std::runtime_error when the
  // system cannot.
  void start(std::size_t run, const std::string& request);
  // How many have been started and not yet reported by waitForOne().
  std::size_t running() const noexcept;
  // Waits for the next child to end; one must be running.
  ChildEnd waitForOne();

 private:
  struct State;  // the platform's: the children running, and what it needs to start one
  std::unique_ptr<State> state_;
};

// The request this process was started again to serve; none in a process the
// sweep did not start (and always none on POSIX, where a child is forked).
std::optional<std::string> requestOfThisProcess();

// Readies a child for its run: the time limit, and a crash that ends the
// process at once with its signal or exception code.
void prepareChild(unsigned timeLimit);

// Ends a child at once with `code`, its streams flushed: no exit handlers,
// static destructors or further tests of the program run there.
[[noreturn]] void endChild(int code);

// A new folder of this process's own in the system's temporary folder, for
// the children's reports; throws std::runtime_error when none can be made.
std::filesystem::path makeScratchFolder();

}  // namespace simhost::sweep
