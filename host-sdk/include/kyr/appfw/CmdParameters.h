// The command-parameter list: the named values a host command runs with, as
// a copy-on-write sequence, and its any-value form.
//
//   kyr::orla::appfw::CmdParameters params{{"count", Zol::ZolAny_24_8(3)}};
//   Zol::ZolAny_24_8 any = kyr::orla::appfw::cmdParametersToAny(params);
//
// Any-value layout: type code kyr.orla.appfw.CmdParameters; stream: 32-bit
// element count, then per element the kyr.orla.appfw.CmdParameter struct type
// code, the name (narrow string) and the value (any-value).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "zol/kernel/ZolAny.h"
#include "zol/kernel/ZolKernelExport.h"
#include "zol/kernel/ZolSequence.h"

namespace kyr::orla::appfw {

struct CmdParameter {
  std::string name;
  Zol::ZolAny_24_8 value;
};

inline bool operator==(const CmdParameter& a, const CmdParameter& b) { return a.name == b.name && a.value == b.value; }
inline bool operator!=(const CmdParameter& a, const CmdParameter& b) { return !(a == b); }

using CmdParameters = ZolSequence<CmdParameter>;

/// Type ids fixed by the host.
inline constexpr Zol::ZolTypeId kCmdParametersTypeId{0x842f14211789310fULL, 0x8a6ccefe5e88ae62ULL};
inline constexpr Zol::ZolTypeId kCmdParameterTypeId{0xee56baa6e40d342fULL, 0x9253c3a24fa6d0d6ULL};

/// The list's type code ("kyr.orla.appfw.CmdParameters").
ZOL_KERNEL_EXPORT Zol::ZolTypeCode_24_8 getTC_CmdParameters() noexcept;
/// The element struct's type code ("kyr.orla.appfw.CmdParameter").
ZOL_KERNEL_EXPORT Zol::ZolTypeCode_24_8 getTC_CmdParameter() noexcept;

/// The bytes of an element before its name: the element's type id and the
/// name's length.
inline constexpr std::size_t kCmdParameterHeaderBytes = 2 * sizeof(std::uint64_t) + sizeof(std::uint32_t);
/// The stream bytes marshalCmdParameter writes for one element.
ZOL_KERNEL_EXPORT std::size_t marshalledCmdParameterSize(const std::string& name, const Zol::ZolAny_24_8& value);
/// Writes one element: struct type code, name, value.
ZOL_KERNEL_EXPORT void marshalCmdParameter(Zol::ZolOutStream_24_8& out, const std::string& name,
                                           const Zol::ZolAny_24_8& value);
/// Writes one element, the same bytes as marshalCmdParameter, by plain copies
/// into `to`, a stretch of out's stream from out.grow() with room for
/// marshalledCmdParameterSize(name, value) bytes: the element header (type id
/// and name length), the name, the value's header, its bytes and its object
/// indices. Adds the value's objects to out's object table; returns the byte
/// after the element. marshalCmdParameterList sizes the stretch for a list.
ZOL_KERNEL_EXPORT char* marshalCmdParameterInto(Zol::ZolOutStream_24_8& out, char* to, std::string_view name,
                                                const Zol::ZolAny_24_8& value);
/// Writes a list's stream from `elements`, pairs of name and value in the
/// order they are listed (a std::map of name to value, say): the count, then
/// each element, the bytes cmdParametersToAny writes for the same list. The
/// stream grows once; each element goes in a few plain copies.
template <class Elements>
void marshalCmdParameterList(Zol::ZolOutStream_24_8& out, const Elements& elements) {
  std::size_t size = sizeof(std::uint32_t);
  for (const auto& [name, value] : elements)
    size += kCmdParameterHeaderBytes + name.size() + Zol::marshalledSize(value);
  char* to = out.grow(size);
  const auto count = static_cast<std::uint32_t>(elements.size());
  std::memcpy(to, &count, sizeof count);
  to += sizeof count;
  for (const auto& [name, value] : elements) to = marshalCmdParameterInto(out, to, name, value);
}
/// Reads one element. Throws Zol::ZolSystemException_24 for a truncated stream
/// or an element that is not a kyr.orla.appfw.CmdParameter.
ZOL_KERNEL_EXPORT void unmarshalCmdParameter(Zol::ZolInStream_24_8& in, std::string& name, Zol::ZolAny_24_8& value);
/// Reads the first part of one element, its type id and name, leaving the
/// stream at its value (marshaller_extract reads it): for a reader that
/// stores the value under its name without a copy. The name is a view of the
/// stream's bytes. Throws as unmarshalCmdParameter does.
ZOL_KERNEL_EXPORT std::string_view unmarshalCmdParameterName(Zol::ZolInStream_24_8& in);

/// True when `any` carries a list: it has the list's type code and a
/// stream. An any of another type, or one with an empty stream, carries none.
ZOL_KERNEL_EXPORT bool holdsCmdParameters(const Zol::ZolAny_24_8& any) noexcept;

/// The list in its any-value form.
ZOL_KERNEL_EXPORT Zol::ZolAny_24_8 cmdParametersToAny(const CmdParameters& params);
/// The list carried by `any`; an empty list when holdsCmdParameters(any) is
/// false. Throws Zol::ZolSystemException_24 for a malformed stream: a
/// truncated one, or one with bytes after the last of its counted elements.
ZOL_KERNEL_EXPORT CmdParameters cmdParametersFromAny(const Zol::ZolAny_24_8& any);

}  // namespace kyr::orla::appfw
