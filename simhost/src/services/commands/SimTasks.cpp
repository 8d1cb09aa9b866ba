#include "simhost/services/commands/SimTasks.h"

#include <future>
#include <memory>
#include <utility>

#include "kyr/appfw/ZolIInvoker.h"
#include "testbed/ParameterPayload.h"

namespace simhost {

// Defined here as well, so that the DLL exports them: on Windows gcc exports
// no inline static data member of an exported class, yet a program that
// binds one to a reference imports it.
constexpr const char* SimWaitCursor::kDomain;
constexpr std::int32_t SimWaitCursor::kPushEvent;
constexpr std::int32_t SimWaitCursor::kPopEvent;
constexpr const char* SimTaskRunner::kAction;
constexpr const char* SimTaskRunner::kInvokeMethod;

using kyr::orla::appfw::ZolIInvokerInterface;

namespace {

// Shows `cursor` (when given) for its own lifetime.
class CursorShown {
 public:
  explicit CursorShown(SimWaitCursor* cursor) : cursor_(cursor) {
    if (cursor_) cursor_->push();
  }
  CursorShown(const CursorShown&) = delete;
  CursorShown& operator=(const CursorShown&) = delete;
  ~CursorShown() {
    if (cursor_) cursor_->pop();
  }

 private:
  SimWaitCursor* cursor_;
};

}  // namespace

void SimWaitCursor::push() {
  std::lock_guard<std::mutex> lock(mutex_);
  history_.push_back(++depth_);
}

void SimWaitCursor::pop() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (depth_ == 0) {
    ++extraPops_;
    return;
  }
  history_.push_back(--depth_);
}

int SimWaitCursor::depth() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return depth_;
}

std::vector<int> SimWaitCursor::history() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return history_;
}

int SimWaitCursor::extraPops() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return extraPops_;
}

Zol::Framework::HandleEventStatus SimWaitCursor::handleEvent(const Zol::Framework::ZolEvent& event) {
  if (event.eventId == kPushEvent) {
    push();
  } else if (event.eventId == kPopEvent) {
    pop();
  } else {
    return Zol::Framework::EventNotHandled;
  }
  return Zol::Framework::EventHandled;
}

SimTaskRunner::SimTaskRunner(SimWorkThread& workThread, ZolSmartPointer<SimWaitCursor> cursor, HostFailures& failures)
    : workThread_(workThread), cursor_(std::move(cursor)), failures_(failures) {}

Zol::ZolAny_24_8 SimTaskRunner::handle(const Zol::ZolAny_24_8& payload) {
  internal::ParameterPayload request(payload);
  const auto invoker = request.take<ZolSmartPointer<ZolIInvokerInterface>>("invoker");
  const auto method = request.take<std::string>("method");
  const bool showWait = request.take<bool>("showWait");
  if (!request.ok() || !invoker || method != kInvokeMethod) {
    std::string reason = request.problems();
    if (request.ok()) reason = invoker ? "no method \"" + method + "\"" : "the \"invoker\" is empty";
    failures_.record(std::string("GUI action ") + kAction, reason);
    std::lock_guard<std::mutex> lock(mutex_);
    refusals_.push_back(Refusal{method, static_cast<bool>(invoker)});
    return {};
  }

  if (std::this_thread::get_id() == workThread_.id()) {
    const CursorShown shown(showWait ? cursor_.get() : nullptr);
    invoke(invoker, showWait, true);
    return {};
  }
  if (!showWait) {
    workThread_.post([this, invoker] { invoke(invoker, false, false); });
    return {};
  }
  // The GUI executive makes the user wait: the cursor shows from the request
  // until the invoke has returned, or thrown (the failure is then the work
  // thread's to report; the wait ends all the same).
  const CursorShown shown(cursor_.get());
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> finished = done->get_future();
  workThread_.post([this, invoker, done] {
    struct Signal {
      std::promise<void>& done;
      ~Signal() { done.set_value(); }
    } signal{*done};
    invoke(invoker, true, false);
  });
  finished.wait();
  return {};
}

void SimTaskRunner::invoke(const ZolSmartPointer<ZolIInvokerInterface>& invoker, bool showWait, bool inPlace) {
  Run run{invoker->getServiceName(), showWait, inPlace, std::this_thread::get_id(), cursor_->depth(), 0};
  run.resultCode = invoker->invoke().getCode();
  std::lock_guard<std::mutex> lock(mutex_);
  runs_.push_back(std::move(run));
}

std::vector<SimTaskRunner::Run> SimTaskRunner::runs() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return runs_;
}

std::vector<SimTaskRunner::Refusal> SimTaskRunner::refusals() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return refusals_;
}

}  // namespace simhost
