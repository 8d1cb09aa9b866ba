// The host kernel's exception family, and the registry of exception creators
// by which the kernel rebuilds a typed exception from its dotted type name.
//
//   try { host->call(); }
//   catch (const Zol::ZolException_24& e) { show(e.getText()); }
//
//   Zol::ZolSystemException_24(code, text).throwit("ZolException");
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "zol/kernel/ZolKernelExport.h"

namespace Zol {

/// Base of every exception the host kernel raises ("Zol.ZolException").
class ZOL_KERNEL_EXPORT ZolException_24 : public std::exception {
 public:
  ZolException_24(std::int32_t code, std::string text);
  ~ZolException_24() override;

  std::int32_t getCode() const noexcept { return code_; }
  const std::string& getText() const noexcept { return text_; }
  const char* what() const noexcept override { return text_.c_str(); }

  /// The dotted type name under which creators are registered.
  virtual const char* getTypeName() const noexcept;
  /// A copy of the same dynamic type.
  virtual std::unique_ptr<ZolException_24> clone() const;

  /// Records the error policy under which the exception is raised.
  void applyErrorPolicy(const char* policy);
  /// The policy of the last applyErrorPolicy(), empty if none.
  const std::string& getErrorPolicy() const noexcept { return policy_; }

  /// Applies `policy`, then throws a copy of this exception's dynamic type.
  [[noreturn]] void throwit(const char* policy);

 protected:
  /// A copy of *this with its dynamic type, ready to be thrown.
  virtual std::exception_ptr copyForThrow() const;

 private:
  std::int32_t code_;
  std::string text_;
  std::string policy_;
};

/// Implements clone() and copyForThrow() for an exception type `Derived`.
template <class Derived, class Base>
class ZOL_KERNEL_EXPORT ZolExceptionImpl : public Base {
 public:
  using Base::Base;
  std::unique_ptr<ZolException_24> clone() const override {
    return std::make_unique<Derived>(static_cast<const Derived&>(*this));
  }

 protected:
  std::exception_ptr copyForThrow() const override {
    return std::make_exception_ptr(static_cast<const Derived&>(*this));
  }
};

/// An error raised by a host operation on behalf of its caller ("Zol.ZolUserException").
class ZOL_KERNEL_EXPORT ZolUserException_24 : public ZolExceptionImpl<ZolUserException_24, ZolException_24> {
 public:
  using ZolExceptionImpl::ZolExceptionImpl;
  const char* getTypeName() const noexcept override;
};

/// An error of the kernel itself: casts, streams, type codes ("Zol.ZolSystemException").
class ZOL_KERNEL_EXPORT ZolSystemException_24 : public ZolExceptionImpl<ZolSystemException_24, ZolException_24> {
 public:
  using ZolExceptionImpl::ZolExceptionImpl;
  const char* getTypeName() const noexcept override;
};

/// Makes an exception of a registered type from a code and a text.
using ZolExceptionCreator = std::unique_ptr<ZolException_24> (*)(std::int32_t code, const std::string& text);

/// Registers `creator` for `typeName`. Registrations nest: a name registered
/// twice stays registered until unregistered twice; the latest creator wins.
ZOL_KERNEL_EXPORT void registerCreator(const char* typeName, ZolExceptionCreator creator);
/// Drops the latest registration of `typeName`; an unknown name is ignored.
ZOL_KERNEL_EXPORT void unregisterCreator(const char* typeName);
/// True while a creator is registered for `typeName`.
ZOL_KERNEL_EXPORT bool hasCreator(const char* typeName);

/// The exception registered for `typeName`, or a ZolUserException_24 when no
/// creator is registered.
ZOL_KERNEL_EXPORT std::unique_ptr<ZolException_24> createException(const char* typeName, std::int32_t code,
                                                                   const std::string& text);

/// Kernel error codes for malformed data.
inline constexpr std::int32_t kStreamTruncated = 2020000001;
inline constexpr std::int32_t kStreamMalformed = 2020000002;
inline constexpr std::int32_t kTypeCodeUnknown = 2020000003;
inline constexpr std::int32_t kTypeCodeConflict = 2020000004;
/// A text longer than a conversion can carry (2^31 code units or bytes).
inline constexpr std::int32_t kTextTooLong = 2020000005;

}  // namespace Zol
