#include "zol/kernel/ZolResult.h"

namespace Zol {

// Defined here as well, so that the DLL exports them: on Windows gcc exports
// no inline static data member of an exported class, yet a program that
// binds one to a reference imports it.
constexpr std::int32_t ZolResult_24_8::kSuccess;
constexpr std::int32_t ZolResult_24_8::kFailure;

void ZolResult_24_8::addParam(const char* text) {
  auto params =
      params_ ? std::make_shared<std::vector<std::string>>(*params_) : std::make_shared<std::vector<std::string>>();
  params->emplace_back(text ? text : "");
  params_ = std::move(params);
}

const std::string& ZolResult_24_8::getParam(std::size_t index) const {
  if (!params_ || index >= params_->size()) throw std::out_of_range("ZolResult_24_8::getParam");
  return (*params_)[index];
}

}  // namespace Zol
