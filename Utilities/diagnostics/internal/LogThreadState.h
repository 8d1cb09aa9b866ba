// What LogHelper keeps for each thread that logs: its format buffer, the
// strings a message and its stamped line are built in, and its last stamp,
// so that threads format apart and a warm thread allocates nothing. Each
// thread's state is made on its first message and freed when the thread
// ends. Its SinkReads mark when the thread reads a sink, so that a sink taken
// away from the threads is deleted only once none still reads it.
//
//   internal::LogThreadUse use;  // the calling thread's state, for one message
//   { const internal::SinkReads::Reading reading((*use).reads); sink->write(line, level); }
//   ...
//   internal::SinkReads::awaitReaders();  // before deleting a sink no helper offers any more
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

namespace kyr::orla::plugin::wyrdan::internal {

/// One thread's reads of sinks, counted where awaitReaders sees them: every
/// SinkReads alive is in one list.
class SinkReads {
 public:
  /// Enters the list. Never throws.
  SinkReads() noexcept;
  /// Leaves the list.
  ~SinkReads();
  SinkReads(const SinkReads&) = delete;
  SinkReads& operator=(const SinkReads&) = delete;

  /// Returns once every sink read that other threads had begun when it was
  /// called has ended. A helper publishes the change of its sink first, so
  /// the sink it dropped is then read by no thread. Reads of the calling
  /// thread are not awaited (a sink that changes its helper while it writes
  /// keeps its own object alive). Takes short locks; never throws.
  static void awaitReaders() noexcept;

  /// Marks the thread as reading a sink while it lives; reads nested on one
  /// thread (a message written from within the sink) count as the outermost.
  class Reading {
   public:
    explicit Reading(SinkReads& reads) noexcept : reads_(reads) {
      if (reads_.depth_++ == 0) reads_.count_.store(reads_.count_.load(std::memory_order_relaxed) + 1);
    }
    ~Reading() {
      if (--reads_.depth_ == 0) {
        reads_.count_.store(reads_.count_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
      }
    }
    Reading(const Reading&) = delete;
    Reading& operator=(const Reading&) = delete;

   private:
    SinkReads& reads_;
  };

 private:
  // Odd while the thread reads a sink: counts the starts and ends of its
  // outermost reads. Written by the thread alone, read by awaitReaders.
  std::atomic<std::uint64_t> count_{0};
  int depth_ = 0;
  // The odd count awaitReaders waits to see change; 0 when it waits for
  // nothing. Under the list's lock.
  std::uint64_t awaited_ = 0;
  SinkReads* previous_ = nullptr;
  SinkReads* next_ = nullptr;
};

/// The format buffer's size until a message needs more.
inline constexpr std::int32_t kInitialLogBufferSize = 1024;

/// One thread's state; making it throws only std::bad_alloc.
struct LogThreadState {
  /// The last stamp the thread made, and the second it stands for.
  struct Stamp {
    std::time_t second = -1;
    std::size_t length = 0;
    char text[64] = {};
  };

  // The format buffer: bufferSize bytes, zeroed at first, grown by
  // LogHelper::logMessage.
  std::unique_ptr<char[]> buffer{new char[kInitialLogBufferSize]()};
  std::int32_t bufferSize = kInitialLogBufferSize;
  // Room kept between messages for the message and the stamped line, each
  // marked while a message uses it.
  std::string message;
  std::string line;
  bool messageInUse = false;
  bool lineInUse = false;
  Stamp stamp;
  SinkReads reads;
};

/// The calling thread's state, made on its first call (throws only
/// std::bad_alloc) and freed when the thread ends; null once it was freed
/// (from a thread-local or static destructor that runs after it).
LogThreadState* callingThreadLogState();

/// The calling thread's state for one message: the thread's own or, once
/// that was freed (at exit), a temporary one of this use's own. Throws only
/// std::bad_alloc.
class LogThreadUse {
 public:
  LogThreadUse() : state_(callingThreadLogState()) {
    if (state_ == nullptr) state_ = &temporary_.emplace();
  }
  LogThreadUse(const LogThreadUse&) = delete;
  LogThreadUse& operator=(const LogThreadUse&) = delete;

  LogThreadState& operator*() const noexcept { return *state_; }

 private:
  std::optional<LogThreadState> temporary_;
  LogThreadState* state_;
};

}  // namespace kyr::orla::plugin::wyrdan::internal
