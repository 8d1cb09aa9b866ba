// The result every host operation returns: a 32-bit code plus optional,
// reference-counted text parameters shared between copies.
//
//   Zol::ZolResult_24_8 r(Zol::ZolResult_24_8::kFailure);
//   r.addParam("Command not exist.");
//   if (!r.isOk()) report(r.getParam(0));
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "zol/kernel/ZolKernelExport.h"

namespace Zol {

class ZOL_KERNEL_EXPORT ZolResult_24_8 {
 public:
  static constexpr std::int32_t kSuccess = 0;
  static constexpr std::int32_t kFailure = 2147483647;

  /// Success (code 0) without data.
  ZolResult_24_8() noexcept = default;
  explicit ZolResult_24_8(std::int32_t code) noexcept : code_(code) {}

  std::int32_t getCode() const noexcept { return code_; }
  /// Returns true if getCode() == kSuccess.
  bool isOk() const noexcept { return code_ == kSuccess; }

  /// Appends a text parameter. Copies sharing the data are not affected.
  void addParam(const char* text);

  /// True when at least one parameter was added.
  bool hasData() const noexcept { return params_ != nullptr; }
  std::size_t getParamCount() const noexcept { return params_ ? params_->size() : 0; }
  /// The parameter at `index`; throws std::out_of_range past the end.
  const std::string& getParam(std::size_t index) const;

 private:
  std::int32_t code_ = kSuccess;
  std::shared_ptr<const std::vector<std::string>> params_;
};

}  // namespace Zol
