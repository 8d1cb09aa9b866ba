#include "simhost/services/gui/SimStatusBar.h"

#include "testbed/ParameterPayload.h"

namespace simhost {

// Defined here as well, so that the DLL exports it: on Windows gcc exports
// no inline static data member of an exported class, yet a program that
// binds one to a reference imports it.
constexpr const char* SimStatusBar::kAction;

SimStatusBar::SimStatusBar(HostFailures& failures) : failures_(failures) {}

void SimStatusBar::post(const Zol::ZolAny_24_8& payload) {
  internal::ParameterPayload request(payload);
  const auto severity = request.take<std::int32_t>("severity");
  const auto text = request.take<icu::UnicodeString>("message");
  if (!request.ok()) {
    failures_.record(std::string("GUI action ") + kAction, request.problems());
    std::lock_guard<std::mutex> lock(mutex_);
    errors_.push_back(request.problems());
    return;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  messages_.push_back(Message{text, severity});
}

std::vector<SimStatusBar::Message> SimStatusBar::messages() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return messages_;
}

std::vector<std::string> SimStatusBar::errors() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return errors_;
}

void SimStatusBar::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  messages_.clear();
  errors_.clear();
}

}  // namespace simhost
