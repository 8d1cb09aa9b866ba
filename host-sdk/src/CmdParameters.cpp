#include "kyr/appfw/CmdParameters.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "zol/kernel/ZolException.h"

namespace kyr::orla::appfw {

namespace {
constexpr std::size_t kTypeCodeBytes = 16;
constexpr std::size_t kLengthBytes = 4;
// The smallest element: type code, empty name, value holding nothing.
constexpr std::size_t kMinimalElementBytes = kCmdParameterHeaderBytes + kTypeCodeBytes + 2 * kLengthBytes;

const Zol::ZolTypeRegistration kListType{"kyr.orla.appfw.CmdParameters", kCmdParametersTypeId};
const Zol::ZolTypeRegistration kElementType{"kyr.orla.appfw.CmdParameter", kCmdParameterTypeId};
}  // namespace

Zol::ZolTypeCode_24_8 getTC_CmdParameters() noexcept { return kListType.typeCode(); }

Zol::ZolTypeCode_24_8 getTC_CmdParameter() noexcept { return kElementType.typeCode(); }

std::size_t marshalledCmdParameterSize(const std::string& name, const Zol::ZolAny_24_8& value) {
  return kCmdParameterHeaderBytes + name.size() + Zol::marshalledSize(value);
}

void marshalCmdParameter(Zol::ZolOutStream_24_8& out, const std::string& name, const Zol::ZolAny_24_8& value) {
  marshalCmdParameterInto(out, out.grow(marshalledCmdParameterSize(name, value)), name, value);
}

char* marshalCmdParameterInto(Zol::ZolOutStream_24_8& out, char* to, std::string_view name,
                              const Zol::ZolAny_24_8& value) {
  if (name.size() > std::numeric_limits<std::uint32_t>::max()) {
    Zol::ZolSystemException_24(Zol::kStreamMalformed, "Any stream: value too long").throwit("ZolException");
  }
  const auto nameLength = static_cast<std::uint32_t>(name.size());
  std::memcpy(to, &kCmdParameterTypeId.high, sizeof kCmdParameterTypeId.high);
  std::memcpy(to + sizeof kCmdParameterTypeId.high, &kCmdParameterTypeId.low, sizeof kCmdParameterTypeId.low);
  std::memcpy(to + kTypeCodeBytes, &nameLength, kLengthBytes);
  to += kCmdParameterHeaderBytes;
  if (!name.empty()) std::memcpy(to, name.data(), name.size());
  return Zol::marshalInto(out, to + name.size(), value);
}

void unmarshalCmdParameter(Zol::ZolInStream_24_8& in, std::string& name, Zol::ZolAny_24_8& value) {
  name.assign(unmarshalCmdParameterName(in));
  Zol::marshaller_extract(in, value);
}

std::string_view unmarshalCmdParameterName(Zol::ZolInStream_24_8& in) {
  // Compared by id: the element type is known, no registry look-up needed.
  Zol::ZolTypeId element;
  in.readBytes(&element.high, sizeof element.high);
  in.readBytes(&element.low, sizeof element.low);
  if (element != kCmdParameterTypeId) {
    Zol::ZolSystemException_24(Zol::kStreamMalformed, "Any stream: element is not a kyr.orla.appfw.CmdParameter")
        .throwit("ZolException");
  }
  std::uint32_t length = 0;
  in.readBytes(&length, sizeof length);
  return in.readView(length);
}

bool holdsCmdParameters(const Zol::ZolAny_24_8& any) noexcept {
  return any.getTypeCode() == getTC_CmdParameters() && any.streamSize() != 0;
}

Zol::ZolAny_24_8 cmdParametersToAny(const CmdParameters& params) {
  Zol::ZolAny_24_8 any;
  Zol::ZolOutStream_24_8 out = any.initializeStream();
  marshalCmdParameterList(out, params);
  any.setData(getTC_CmdParameters());
  return any;
}

CmdParameters cmdParametersFromAny(const Zol::ZolAny_24_8& any) {
  CmdParameters params;
  if (!holdsCmdParameters(any)) return params;
  Zol::ZolInStream_24_8 in = any.openStream();
  std::uint32_t count = 0;
  Zol::marshaller_extract(in, count);
  params.reserve(std::min<std::size_t>(count, in.remaining() / kMinimalElementBytes));
  for (std::uint32_t i = 0; i < count; ++i) {
    CmdParameter& param = params.emplace_back();
    unmarshalCmdParameter(in, param.name, param.value);
  }
  in.expectEnd();
  return params;
}

}  // namespace kyr::orla::appfw
