#include "zol/kernel/ZolCast.h"

#include "zol/kernel/ZolException.h"

namespace Zol {

std::string castErrorText(const char* targetTypeName, std::int32_t status) {
  std::string text = "Cast from interface Zol.ZolIService to ";
  text += targetTypeName ? targetTypeName : "";
  switch (status) {
    case kQueryNoInterface:
      return text + " failed. Object does not implement the desired interface.";
    case kQueryNoTypeCode:
      return text + " failed. The typecode for the interface could not be loaded";
    case kQueryNoProxyV1:
      return text + " failed. Cannot allocate a version 1 proxy.";
    case kQueryNoProxyV2:
      return text + " failed. Cannot allocate a version 2 proxy.";
    default:
      break;
  }
  static const char* const kBridges[] = {
      " failed. Internal CORBA bridge error=",  " failed. Internal C++ bridge error=",
      " failed. Internal Java bridge error=",   " failed. Internal .NET bridge error=",
      " failed. Internal Python bridge error=",
  };
  const std::int32_t bridge = status / 10000;
  if (bridge >= 1 && bridge <= 5) return text + kBridges[bridge - 1] + std::to_string(status);
  return text + " failed (error=" + std::to_string(status) + ")";
}

// Wraps instead of overflowing for statuses the table never expects.
std::int32_t castErrorCode(std::int32_t status) {
  return static_cast<std::int32_t>(2010000000u + static_cast<std::uint32_t>(status));
}

void throwCastError(const char* targetTypeName, std::int32_t status) {
  ZolSystemException_24(castErrorCode(status), castErrorText(targetTypeName, status)).throwit("ZolException");
}

}  // namespace Zol
