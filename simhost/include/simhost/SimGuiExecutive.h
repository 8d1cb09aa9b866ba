// The simulated GUI executive: named GUI actions run registered handlers,
// it answers the channel on which the GUI publishes its events, and it
// records the message boxes it shows, each closed at once with the answer the
// test chose. The host's work thread runs what the handlers post to it.
#pragma once

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
#include "simhost/SimObject.h"

namespace simhost {

/// One thread running posted tasks in order. A task that throws does not end
/// the process: the thread reports the exception's text, as a host logs a
/// failed request, and goes on with the next task.
class SIMHOST_EXPORT SimWorkThread {
 public:
  using FailureReporter = std::function<void(const std::string& what)>;

  /// `onFailure`, when given, hears of each failed task on the work thread.
  explicit SimWorkThread(FailureReporter onFailure = {});
  /// Runs what is queued, then stops.
  ~SimWorkThread();
  SimWorkThread(const SimWorkThread&) = delete;
  SimWorkThread& operator=(const SimWorkThread&) = delete;

  void post(std::function<void()> task);
  /// Blocks until every task posted so far has run.
  void waitIdle();
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

class SIMHOST_EXPORT SimGuiExecutive final : public SimObject<kyr::orla::appfw::ZolIGuiExecutiveInterface> {
 public:
  /// Answers one GUI action's payload.
  using Handler = std::function<Zol::ZolAny_24_8(const Zol::ZolAny_24_8& payload)>;

  /// One message box shown.
  struct ShownMessageBox {
    icu::UnicodeString caption;
    icu::UnicodeString message;
    icu::UnicodeString buttonText;
    icu::UnicodeString informativeText;
    icu::UnicodeString detailedText;
    bool modal;
  };

  /// `guiChannelId` is the channel the host made for the GUI's events.
  SimGuiExecutive(SimContextPtr context, std::string name, std::int64_t guiChannelId);

  std::int64_t guiChannelId() const noexcept { return guiChannelId_; }
  void setHandler(const std::string& action, Handler handler);
  /// Drops every handler and message box, for the host's shut-down.
  void clear();

  /// What showModalMessageBox answers from now on (success at start).
  void setMessageBoxAnswer(Zol::ZolResult_24_8 answer);
  /// The message boxes shown, oldest first.
  std::vector<ShownMessageBox> messageBoxes() const;

  /// Runs the handler of `name`; an unknown action answers nothing.
  Zol::ZolAny_24_8 runGuiAction(const std::string& name, const Zol::ZolAny_24_8& payload) override;
  /// Writes guiChannelId(); an injected fault leaves `id` unwritten.
  Zol::ZolResult_24_8 getGuiChannelId(std::int64_t& id) override;
  /// Records the box and answers as set; an injected fault shows nothing.
  Zol::ZolResult_24_8 showModalMessageBox(const icu::UnicodeString& caption, const icu::UnicodeString& message,
                                          const icu::UnicodeString& buttonText,
                                          const icu::UnicodeString& informativeText,
                                          const icu::UnicodeString& detailedText, bool modal) override;

 private:
  const std::int64_t guiChannelId_;
  mutable std::mutex mutex_;
  std::map<std::string, Handler> handlers_;
  std::vector<ShownMessageBox> messageBoxes_;
  Zol::ZolResult_24_8 messageBoxAnswer_;
};

}  // namespace simhost
