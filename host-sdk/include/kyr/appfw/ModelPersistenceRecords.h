// The payload of the events of the host domain
// "kyr.orla.appfw.ModelPersistence", which tell that the open model is about
// to be, or has been, written: an any typed with getTC_ModelPersistenceEvent()
// whose stream holds, in order, that type code again, the model's name
// (Unicode) and a flag (bool; true once the model is written).
//
//   Zol::ZolAny_24_8 payload;
//   Zol::ZolOutStream_24_8 out = payload.initializeStream();
//   Zol::marshaller_insert(out, kyr::orla::appfw::getTC_ModelPersistenceEvent());
//   Zol::marshaller_insert(out, modelName);
//   Zol::marshaller_insert(out, written);
//   payload.setData(kyr::orla::appfw::getTC_ModelPersistenceEvent());
#pragma once

#include "zol/kernel/ZolKernelExport.h"
#include "zol/kernel/ZolTypeCode.h"

namespace kyr::orla::appfw {

/// Type id fixed by the host.
inline constexpr Zol::ZolTypeId kModelPersistenceEventTypeId{0x4a1d83e28b8d3cffULL, 0xa321a5212b78dcefULL};

/// "kyr.orla.appfw.ModelPersistenceEvent"
ZOL_KERNEL_EXPORT Zol::ZolTypeCode_24_8 getTC_ModelPersistenceEvent() noexcept;

}  // namespace kyr::orla::appfw
