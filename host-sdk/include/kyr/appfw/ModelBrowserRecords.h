// The payloads of the model browser's events: typed any-values whose streams
// hold the fields below, in order. Announcers write them and the browser
// reads them, each with the kernel marshaller; the type codes are registered
// when the SDK loads.
//
//   Zol::ZolAny_24_8 payload;
//   Zol::ZolOutStream_24_8 out = payload.initializeStream();
//   ... the record's fields ...
//   payload.setData(kyr::orla::appfw::getTC_NodesUpdate());
//
// Field layouts ("named values" is a command-parameter list written as its
// element count, unsigned 32-bit, then each element as the any-form of
// CmdParameters writes it: element type code, name, value):
//   entity reference ("Zol.PersistenceFW.CAEData.EntityReference", see
//     EntityReference.h): container (object), first, second, third (uint32)
//   insertion record: entity reference fields, named values
//   addition record: reference list (object), named values
//   update record: reference list (object; empty for none), named values,
//     second reference list (object; empty for none)
//   removal record: entity count (uint32), each entity (object), named
//     values, then 0 (int32)
// A single entity travels as an any typed with the entity interface.
#pragma once

#include "zol/kernel/ZolKernelExport.h"
#include "zol/kernel/ZolTypeCode.h"

namespace kyr::orla::appfw {

/// Type ids fixed by the host.
inline constexpr Zol::ZolTypeId kNodeInsertionTypeId{0x9e16b49d0b4f3b43ULL, 0x918401f85d6d2181ULL};
inline constexpr Zol::ZolTypeId kNodesAdditionTypeId{0x624236d5991433b5ULL, 0x9058f45bb1312b74ULL};
inline constexpr Zol::ZolTypeId kNodesUpdateTypeId{0x15378eb49a553f95ULL, 0x93b1653700b6739bULL};
inline constexpr Zol::ZolTypeId kNodesRemovalTypeId{0x4e36e2872d3a346aULL, 0x8b6ca2445de32f87ULL};
/// The context of a command announced with created parts; its value 0 is
/// written as a signed 32-bit integer.
inline constexpr Zol::ZolTypeId kCmdContextTypeId{0xa5df006d400e3609ULL, 0xa7a193f945de9ab3ULL};

/// "kyr.orla.appfw.NodeInsertion"
ZOL_KERNEL_EXPORT Zol::ZolTypeCode_24_8 getTC_NodeInsertion() noexcept;
/// "kyr.orla.appfw.NodesAddition"
ZOL_KERNEL_EXPORT Zol::ZolTypeCode_24_8 getTC_NodesAddition() noexcept;
/// "kyr.orla.appfw.NodesUpdate"
ZOL_KERNEL_EXPORT Zol::ZolTypeCode_24_8 getTC_NodesUpdate() noexcept;
/// "kyr.orla.appfw.NodesRemoval"
ZOL_KERNEL_EXPORT Zol::ZolTypeCode_24_8 getTC_NodesRemoval() noexcept;
/// "kyr.orla.appfw.CmdContext"
ZOL_KERNEL_EXPORT Zol::ZolTypeCode_24_8 getTC_CmdContext() noexcept;

}  // namespace kyr::orla::appfw
