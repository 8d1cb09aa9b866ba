// Exception types of host subsystems that cross into plug-ins. The kernel
// rebuilds them by dotted type name through the creators a plug-in registers
// (see registerCreator in ZolException.h).
#pragma once

#include "zol/kernel/ZolException.h"

namespace Zol::EOM {
class ZOL_KERNEL_EXPORT DependencyManagerException
    : public ZolExceptionImpl<DependencyManagerException, ZolUserException_24> {
 public:
  static constexpr const char* kTypeName = "Zol.EOM.DependencyManagerException";
  using ZolExceptionImpl::ZolExceptionImpl;
  const char* getTypeName() const noexcept override;
};
}  // namespace Zol::EOM

namespace Zol::Util::SystemUtils {
class ZOL_KERNEL_EXPORT FileNoAccessException : public ZolExceptionImpl<FileNoAccessException, ZolUserException_24> {
 public:
  static constexpr const char* kTypeName = "Zol.Util.SystemUtils.FileNoAccessException";
  using ZolExceptionImpl::ZolExceptionImpl;
  const char* getTypeName() const noexcept override;
};

class ZOL_KERNEL_EXPORT IncompatiblePathsException
    : public ZolExceptionImpl<IncompatiblePathsException, ZolUserException_24> {
 public:
  static constexpr const char* kTypeName = "Zol.Util.SystemUtils.IncompatiblePathsException";
  using ZolExceptionImpl::ZolExceptionImpl;
  const char* getTypeName() const noexcept override;
};
}  // namespace Zol::Util::SystemUtils

namespace Zol::Framework::Reflection {
/// Raised by the type-code registry (unknown or conflicting type codes).
class ZOL_KERNEL_EXPORT TypeCodeException : public ZolExceptionImpl<TypeCodeException, ZolSystemException_24> {
 public:
  static constexpr const char* kTypeName = "Zol.Framework.Reflection.TypeCodeException";
  using ZolExceptionImpl::ZolExceptionImpl;
  const char* getTypeName() const noexcept override;
};
}  // namespace Zol::Framework::Reflection

namespace Zol::Services::TypeRegistry {
class ZOL_KERNEL_EXPORT TypeRegistryException : public ZolExceptionImpl<TypeRegistryException, ZolUserException_24> {
 public:
  static constexpr const char* kTypeName = "Zol.Services.TypeRegistry.TypeRegistryException";
  using ZolExceptionImpl::ZolExceptionImpl;
  const char* getTypeName() const noexcept override;
};
}  // namespace Zol::Services::TypeRegistry

namespace kyr::orla::appfw {
class ZOL_KERNEL_EXPORT UndoRedoFWException
    : public Zol::ZolExceptionImpl<UndoRedoFWException, Zol::ZolUserException_24> {
 public:
  static constexpr const char* kTypeName = "kyr.orla.appfw.UndoRedoFWException";
  using ZolExceptionImpl::ZolExceptionImpl;
  const char* getTypeName() const noexcept override;
};
}  // namespace kyr::orla::appfw
