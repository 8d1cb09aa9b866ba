#include "kyr/appfw/ModelPersistenceRecords.h"

namespace kyr::orla::appfw {

namespace {
const Zol::ZolTypeRegistration kModelPersistenceEvent{"kyr.orla.appfw.ModelPersistenceEvent",
                                                      kModelPersistenceEventTypeId};
}  // namespace

Zol::ZolTypeCode_24_8 getTC_ModelPersistenceEvent() noexcept { return kModelPersistenceEvent.typeCode(); }

}  // namespace kyr::orla::appfw
