#include "simhost/SimStatusBar.h"

#include <exception>
#include <optional>

#include "kyr/appfw/CmdParameters.h"
#include "simhost/ArgumentText.h"

namespace simhost {

namespace {

// The message a payload carries, or the reason it carries none.
std::optional<SimStatusBar::Message> decode(const Zol::ZolAny_24_8& payload, std::string& error) {
  if (!kyr::orla::appfw::holdsCmdParameters(payload)) {
    error = "not a parameter list: " + argumentText(payload);
    return std::nullopt;
  }
  std::optional<std::int32_t> severity;
  std::optional<icu::UnicodeString> text;
  try {
    for (const kyr::orla::appfw::CmdParameter& entry : kyr::orla::appfw::cmdParametersFromAny(payload)) {
      if (std::int32_t value = 0; entry.name == "severity" && Zol::extractZolAny(entry.value, value)) severity = value;
      if (icu::UnicodeString value; entry.name == "message" && Zol::extractZolAny(entry.value, value)) text = value;
    }
  } catch (const std::exception& e) {
    error = std::string("malformed payload: ") + e.what();
    return std::nullopt;
  }
  if (!severity || !text) {
    error = "no 32-bit \"severity\" and Unicode \"message\" in " + argumentText(payload);
    return std::nullopt;
  }
  return SimStatusBar::Message{*text, *severity};
}

}  // namespace

void SimStatusBar::post(const Zol::ZolAny_24_8& payload) {
  std::string error;
  std::optional<Message> message = decode(payload, error);
  std::lock_guard<std::mutex> lock(mutex_);
  if (message) {
    messages_.push_back(std::move(*message));
  } else {
    errors_.push_back(std::move(error));
  }
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
