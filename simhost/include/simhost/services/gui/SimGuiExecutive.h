/// \file
/// The simulated GUI executive: named GUI actions run registered handlers,
/// it answers the channel on which the GUI publishes its events, and it
/// records the message boxes it shows, each closed at once with the answer the
/// test chose. The host's work thread runs what the handlers post to it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "kyr/appfw/ZolIGuiExecutive.h"
#include "simhost/testbed/SimObject.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

/// One thread running posted tasks in order. A task that throws does not end
/// the process: the thread reports the exception's text, as a host logs a
/// failed request, and goes on with the next task. Not a host object:
/// nothing here is journaled.
///
/// \par Threads and exceptions
/// Any thread may call its members, but not waitIdle from a task: it would
/// wait for itself. A task's exception does not leave the work thread
/// (failures() has its text); post() throws nothing but std::bad_alloc, and
/// the constructor std::system_error when the thread cannot start.
class SIMHOST_EXPORT SimWorkThread {
 public:
  /// Hears the text of a task's exception, on the work thread.
  using FailureReporter = std::function<void(const std::string& what)>;

  /// `onFailure`, when given, hears of each failed task on the work thread.
  explicit SimWorkThread(FailureReporter onFailure = {});
  /// Runs what is queued, then stops.
  ~SimWorkThread();
  /// Not copyable: it owns its thread.
  SimWorkThread(const SimWorkThread&) = delete;
  /// Not assignable, for the same reason.
  SimWorkThread& operator=(const SimWorkThread&) = delete;

  /// Queues `task`; it runs on the work thread after the tasks posted before.
  void post(std::function<void()> task);
  /// Blocks until every task posted so far has run.
  void waitIdle();
  /// The work thread's id.
  std::thread::id id() const noexcept { return thread_.get_id(); }
  /// The texts of the exceptions tasks threw, oldest first.
  std::vector<std::string> failures() const;

 private:
  void loop();
  void reportFailure(const std::string& what);

  const FailureReporter onFailure_;
  mutable std::mutex mutex_;
  std::vector<std::string> failures_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<std::function<void()>> tasks_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

/// The "kyr.orla.appfw.GuiExecutive" service. Its host operations are
/// journaled and fault-injectable; the setters and readers are the host's own
/// access.
///
/// \par Threads and exceptions
/// Thread-safe; handlers run outside its lock, on the caller's thread. Its
/// host operations throw what a fault armed for them throws (an injected
/// exception, or its callback's); its other members throw nothing but
/// std::bad_alloc. runGuiAction also passes on its handler's exception.
class SIMHOST_EXPORT SimGuiExecutive final : public SimObject<kyr::orla::appfw::ZolIGuiExecutiveInterface> {
 public:
  /// Answers one GUI action's payload.
  using Handler = std::function<Zol::ZolAny_24_8(const Zol::ZolAny_24_8& payload)>;

  /// One message box shown.
  /// \ingroup simhost_host
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
  struct ShownMessageBox {
    /// The box's caption.
    icu::UnicodeString caption;
    /// Its message.
    icu::UnicodeString message;
    /// Its button's text.
    icu::UnicodeString buttonText;
    /// Its informative text.
    icu::UnicodeString informativeText;
    /// Its detailed text.
    icu::UnicodeString detailedText;
    /// Whether it was asked for as modal.
    bool modal;
  };

  /// `guiChannelId` is the channel the host made for the GUI's events.
  SimGuiExecutive(SimContextPtr context, std::string name, std::int64_t guiChannelId);

  /// The channel getGuiChannelId answers: the one given at construction
  /// until a test chooses another.
  std::int64_t guiChannelId() const noexcept { return guiChannelId_.load(std::memory_order_acquire); }
  /// Makes getGuiChannelId answer `id` (any value) from now on.
  void setGuiChannelId(std::int64_t id) noexcept { guiChannelId_.store(id, std::memory_order_release); }
  /// Makes runGuiAction(`action`, ...) call `handler`, replacing an earlier
  /// one.
  void setHandler(const std::string& action, Handler handler);
  /// Drops every handler and message box, for the host's shut-down.
  void clear();

  /// What showModalMessageBox answers from now on (success at start).
  void setMessageBoxAnswer(Zol::ZolResult_24_8 answer);
  /// The message boxes shown, oldest first.
  std::vector<ShownMessageBox> messageBoxes() const;

  /// Runs the handler of `name` on the calling thread and answers what it
  /// answers; an unknown action answers nothing, and so does an injected
  /// error result (the handler is not run). The handler's exception passes.
  Zol::ZolAny_24_8 runGuiAction(const std::string& name, const Zol::ZolAny_24_8& payload) override;
  /// Writes guiChannelId(); an injected fault leaves `id` unwritten.
  Zol::ZolResult_24_8 getGuiChannelId(std::int64_t& id) override;
  /// Records the box and answers as set; an injected fault shows nothing.
  Zol::ZolResult_24_8 showModalMessageBox(const icu::UnicodeString& caption, const icu::UnicodeString& message,
                                          const icu::UnicodeString& buttonText,
                                          const icu::UnicodeString& informativeText,
                                          const icu::UnicodeString& detailedText, bool modal) override;

 private:
  std::atomic<std::int64_t> guiChannelId_;
  mutable std::mutex mutex_;
  std::map<std::string, Handler> handlers_;
  std::vector<ShownMessageBox> messageBoxes_;
  Zol::ZolResult_24_8 messageBoxAnswer_;
};

/// @}

}  // namespace simhost
