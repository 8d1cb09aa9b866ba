#include "simhost/services/gui/SimGuiExecutive.h"

#include <exception>

namespace simhost {

SimWorkThread::SimWorkThread(FailureReporter onFailure)
    : onFailure_(std::move(onFailure)), thread_([this] { loop(); }) {}

SimWorkThread::~SimWorkThread() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void SimWorkThread::post(std::function<void()> task) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  wake_.notify_one();
}

void SimWorkThread::waitIdle() {
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait(lock, [this] { return tasks_.empty() && !busy_; });
}

std::vector<std::string> SimWorkThread::failures() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return failures_;
}

void SimWorkThread::reportFailure(const std::string& what) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    failures_.push_back(what);
  }
  if (onFailure_) onFailure_(what);
}

void SimWorkThread::loop() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
    if (tasks_.empty()) return;  // stopping, nothing left to run
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    busy_ = true;
    lock.unlock();
    try {
      task();
    } catch (const std::exception& e) {
      reportFailure(e.what());
    } catch (...) {
      reportFailure("an exception of unknown type");
    }
    task = nullptr;  // whatever the task held goes on this thread, before idle is announced
    lock.lock();
    busy_ = false;
    idle_.notify_all();
  }
}

SimGuiExecutive::SimGuiExecutive(SimContextPtr context, std::string name, std::int64_t guiChannelId)
    : SimObject(std::move(context), std::move(name)), guiChannelId_(guiChannelId) {}

void SimGuiExecutive::setHandler(const std::string& action, Handler handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  handlers_[action] = std::move(handler);
}

void SimGuiExecutive::clear() {
  std::map<std::string, Handler> released;
  std::lock_guard<std::mutex> lock(mutex_);
  released.swap(handlers_);
  messageBoxes_.clear();
}

void SimGuiExecutive::setMessageBoxAnswer(Zol::ZolResult_24_8 answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  messageBoxAnswer_ = std::move(answer);
}

std::vector<SimGuiExecutive::ShownMessageBox> SimGuiExecutive::messageBoxes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return messageBoxes_;
}

Zol::ZolAny_24_8 SimGuiExecutive::runGuiAction(const std::string& name, const Zol::ZolAny_24_8& payload) {
  // An error result runs no handler and answers nothing; an answer answers
  // the any it returns.
  if (auto answered = callAnswered("runGuiAction", name, payload)) {
    Zol::ZolAny_24_8 reply;
    if (answered->returned && !answered->returned->writeTo(reply)) {
      recordUnfitReturn(kyr::orla::appfw::ZolIGuiExecutiveInterface::descriptor.typeName, "runGuiAction",
                        *answered->returned, "Zol::ZolAny_24_8");
    }
    return reply;
  }
  Handler handler;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = handlers_.find(name);
    if (it == handlers_.end()) return {};
    handler = it->second;
  }
  return handler(payload);
}

Zol::ZolResult_24_8 SimGuiExecutive::getGuiChannelId(std::int64_t& id) {
  if (auto answered = call("getGuiChannelId", out(id))) return *answered;
  id = guiChannelId();
  return {};
}

Zol::ZolResult_24_8 SimGuiExecutive::showModalMessageBox(const icu::UnicodeString& caption,
                                                         const icu::UnicodeString& message,
                                                         const icu::UnicodeString& buttonText,
                                                         const icu::UnicodeString& informativeText,
                                                         const icu::UnicodeString& detailedText, bool modal) {
  if (auto answered = call("showModalMessageBox", caption, message, buttonText, informativeText, detailedText, modal))
    return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  messageBoxes_.push_back(ShownMessageBox{caption, message, buttonText, informativeText, detailedText, modal});
  return messageBoxAnswer_;
}

}  // namespace simhost
