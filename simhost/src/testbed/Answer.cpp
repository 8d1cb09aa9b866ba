#include "simhost/testbed/Answer.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>

namespace simhost {

std::string typeLabel(const std::type_info& type) {
  struct Known {
    const std::type_info& type;
    const char* label;
  };
  static const Known known[] = {
      {typeid(bool), "bool"},
      {typeid(int), "std::int32_t"},
      {typeid(unsigned int), "std::uint32_t"},
      {typeid(long), "std::int64_t"},
      {typeid(long long), "std::int64_t"},
      {typeid(unsigned long), "std::uint64_t"},
      {typeid(unsigned long long), "std::uint64_t"},
      {typeid(double), "double"},
      {typeid(std::string), "std::string"},
      {typeid(const char*), "std::string"},
      {typeid(icu::UnicodeString), "icu::UnicodeString"},
      {typeid(Zol::ZolIService), "Zol::ZolIService"},
  };
  for (const Known& entry : known) {
    if (entry.type == type) return entry.label;
  }
  int status = 0;
  const std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                         std::free);
  return status == 0 && demangled ? std::string(demangled.get()) : std::string(type.name());
}

Answer& Answer::output(std::size_t index, AnswerValue value) {
  if (outputs_.size() <= index) outputs_.resize(index + 1);
  outputs_[index] = std::move(value);
  return *this;
}

std::string Answer::text() const {
  std::string text = "code " + std::to_string(code_);
  if (!outputs_.empty()) {
    text += ", writes (";
    for (std::size_t index = 0; index < outputs_.size(); ++index) {
      text += (index == 0 ? "" : ", ") + (outputs_[index] ? outputs_[index]->typeLabel() : std::string("-"));
    }
    text += ")";
  }
  if (returned_) text += ", returns " + returned_->typeLabel();
  return text;
}

}  // namespace simhost
